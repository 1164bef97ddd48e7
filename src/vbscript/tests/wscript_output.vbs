' The runner's WScript object: Echo joins its arguments with spaces, StdOut writes text as it is.
WScript.Echo "Hello", 1 + 1, True
WScript.StdOut.Write "no newline; "
WScript.StdOut.WriteLine "then a line"
WScript.Echo WScript.ScriptName, WScript.Arguments.Count
For Each argument In WScript.Arguments
    WScript.Echo "argument:", argument
Next
WScript.Echo ChrW(233) & "t" & ChrW(233)
