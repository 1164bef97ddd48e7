' A run-time error stops the script with its position and message, and status 1.
WScript.Echo "before"
Dim x
x = "text" * 2
WScript.Echo "after"
