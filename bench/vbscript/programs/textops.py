# replace, find and split on a long string.
def run():
    s = ""
    for i in range(10000):
        s = s + "alpha,beta,gamma,delta;"
    total = 0
    for _ in range(20):
        t = s.replace("beta", "BETA")
        found = 0
        position = t.find("gamma")
        while position >= 0:
            found = found + 1
            position = t.find("gamma", position + 1)
        parts = t.split(",")
        total = total + found + len(parts) + len(t)
    return total
print(run())
