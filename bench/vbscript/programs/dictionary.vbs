' Scripting.Dictionary with string and number keys: adding, reading, testing.
Function Run()
    Dim d, i, pass, total
    Set d = CreateObject("Scripting.Dictionary")
    For i = 1 To 100000
        d("k" & i) = i
        d(i) = i * 2
    Next
    total = 0
    For pass = 1 To 3
        For i = 1 To 100000
            total = total + d("k" & i) + d(i)
            If d.Exists(i + 100000) Then total = total + 1
        Next
    Next
    Run = total & " " & d.Count
End Function
WScript.Echo Run()
