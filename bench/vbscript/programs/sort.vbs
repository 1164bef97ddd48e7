' Sorting an array: quicksort of pseudo-random numbers, array element reads and writes.
Dim data()
Sub QuickSort(lo, hi)
    Dim i, j, pivot, t
    i = lo: j = hi
    pivot = data((lo + hi) \ 2)
    Do While i <= j
        Do While data(i) < pivot: i = i + 1: Loop
        Do While data(j) > pivot: j = j - 1: Loop
        If i <= j Then
            t = data(i): data(i) = data(j): data(j) = t
            i = i + 1: j = j - 1
        End If
    Loop
    If lo < j Then QuickSort lo, j
    If i < hi Then QuickSort i, hi
End Sub
Function Check(n)
    Dim k
    Check = True
    For k = 1 To n - 1
        If data(k - 1) > data(k) Then Check = False
    Next
End Function
Dim n, k, seed
n = 200000
ReDim data(n - 1)
seed = 12345
For k = 0 To n - 1
    seed = (seed * 1103 + 12345) Mod 1000003
    data(k) = seed
Next
QuickSort 0, n - 1
WScript.Echo Check(n)
