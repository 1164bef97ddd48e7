' A host-object property loop: reading properties of an object the host provides.
Function Run()
    Dim i, total, args
    Set args = WScript.Arguments
    total = 0
    For i = 1 To 1000000
        total = total + args.Count + Len(WScript.ScriptName)
    Next
    Run = total
End Function
WScript.Echo Run()
