' Replace, InStr and Split on a long string.
Function Run()
    Dim s, t, i, pass, found, position, parts, total
    s = ""
    For i = 1 To 10000
        s = s & "alpha,beta,gamma,delta;"
    Next
    total = 0
    For pass = 1 To 20
        t = Replace(s, "beta", "BETA")
        found = 0
        position = InStr(1, t, "gamma")
        Do While position > 0
            found = found + 1
            position = InStr(position + 1, t, "gamma")
        Loop
        parts = Split(t, ",")
        total = total + found + UBound(parts) + 1 + Len(t)
    Next
    Run = total
End Function
WScript.Echo Run()
