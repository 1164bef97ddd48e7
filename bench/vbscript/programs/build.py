# String building: appending short pieces to one growing string.
def build():
    s = ""
    for i in range(1, 300001):
        s += str(i % 10) + ","
    return len(s)
print(build())
