' Character loops over a 100 KB string with Mid, Asc and Len.
Function Run()
    Dim s, base, i, pass, total, vowels, c, n
    base = "The quick brown fox jumps over the lazy dog. "
    s = ""
    Do While Len(s) < 100000
        s = s & base
    Loop
    s = Left(s, 100000)
    n = Len(s)
    total = 0
    vowels = 0
    For pass = 1 To 5
        For i = 1 To n
            c = Mid(s, i, 1)
            total = total + Asc(c)
            If c = "o" Or c = "e" Then vowels = vowels + 1
        Next
    Next
    Run = total & " " & vowels
End Function
WScript.Echo Run()
