# A list grown one element at a time, then read and written by index.
def run():
    a = [0]
    for i in range(1, 200001):
        a.append(None)
        a[i] = i % 100
    total = 0
    for _ in range(5):
        for i in range(len(a)):
            total = total + a[i]
            a[i] = a[i] + 1
    return total
print(run())
