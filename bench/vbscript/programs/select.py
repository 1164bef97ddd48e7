# if/elif dispatch on a number and on a string.
def run():
    names = ["open", "close", "look", "take", "use"]
    a = b = c = d = 0
    for i in range(1, 1000001):
        k = i % 7
        if k == 0:
            a = a + 1
        elif k == 1 or k == 2:
            b = b + 1
        elif k == 3:
            c = c + i % 3
        else:
            d = d + 1
        kind = names[i % 5]
        if kind == "open" or kind == "close":
            a = a + 1
        elif kind == "look":
            b = b + 2
        else:
            c = c + 1
    return "%d %d %d %d" % (a, b, c, d)
print(run())
