' Method calls on class objects: a counter object called in a loop.
Class Counter
    Private total
    Private Sub Class_Initialize(): total = 0: End Sub
    Public Sub Add(n): total = total + n: End Sub
    Public Property Get Value(): Value = total: End Property
End Class
Function Run()
    Dim c, i
    Set c = New Counter
    For i = 1 To 1000000
        c.Add i Mod 3
    Next
    Run = c.Value
End Function
WScript.Echo Run()
