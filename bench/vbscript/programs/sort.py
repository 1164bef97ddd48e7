# Sorting an array: quicksort of pseudo-random numbers, array element reads and writes.
import sys
sys.setrecursionlimit(10000)
data = []
def quick_sort(lo, hi):
    i, j = lo, hi
    pivot = data[(lo + hi) // 2]
    while i <= j:
        while data[i] < pivot: i += 1
        while data[j] > pivot: j -= 1
        if i <= j:
            data[i], data[j] = data[j], data[i]
            i += 1; j -= 1
    if lo < j: quick_sort(lo, j)
    if i < hi: quick_sort(i, hi)
def check(n):
    ok = True
    for k in range(1, n):
        if data[k - 1] > data[k]: ok = False
    return ok
n = 200000
seed = 12345
for k in range(n):
    seed = (seed * 1103 + 12345) % 1000003
    data.append(seed)
quick_sort(0, n - 1)
print(check(n))
