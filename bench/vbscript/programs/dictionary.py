# A dict with string and number keys: adding, reading, testing.
def run():
    d = {}
    for i in range(1, 100001):
        d["k" + str(i)] = i
        d[i] = i * 2
    total = 0
    for _ in range(3):
        for i in range(1, 100001):
            total = total + d["k" + str(i)] + d[i]
            if (i + 100000) in d:
                total = total + 1
    return "%d %d" % (total, len(d))
print(run())
