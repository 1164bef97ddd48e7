' Arrays grown one element at a time with ReDim Preserve, then read and written by index.
Function Run()
    Dim a(), i, n, total, pass
    n = 0
    ReDim a(0)
    For i = 1 To 200000
        ReDim Preserve a(i)
        a(i) = i Mod 100
    Next
    total = 0
    For pass = 1 To 5
        For i = 0 To UBound(a)
            total = total + a(i)
            a(i) = a(i) + 1
        Next
    Next
    Run = total
End Function
WScript.Echo Run()
