' String building: appending short pieces to one growing string.
Function Build()
    Dim s, i
    s = ""
    For i = 1 To 300000
        s = s & CStr(i Mod 10) & ","
    Next
    Build = Len(s)
End Function
WScript.Echo Build()
