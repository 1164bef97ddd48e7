# Character loops over a 100 KB string with indexing, ord and len.
def run():
    base = "The quick brown fox jumps over the lazy dog. "
    s = ""
    while len(s) < 100000:
        s = s + base
    s = s[:100000]
    n = len(s)
    total = 0
    vowels = 0
    for _ in range(5):
        for i in range(n):
            c = s[i]
            total = total + ord(c)
            if c == "o" or c == "e":
                vowels = vowels + 1
    return "%d %d" % (total, vowels)
print(run())
