' Select Case dispatch on a number and on a string.
Function Run()
    Dim i, a, b, c, d, names, kind
    names = Array("open", "close", "look", "take", "use")
    a = 0: b = 0: c = 0: d = 0
    For i = 1 To 1000000
        Select Case i Mod 7
            Case 0: a = a + 1
            Case 1, 2: b = b + 1
            Case 3: c = c + i Mod 3
            Case Else: d = d + 1
        End Select
        kind = names(i Mod 5)
        Select Case kind
            Case "open", "close": a = a + 1
            Case "look": b = b + 2
            Case Else: c = c + 1
        End Select
    Next
    Run = a & " " & b & " " & c & " " & d
End Function
WScript.Echo Run()
