' A compilation error runs nothing.
WScript.Echo "never"
If x Then y = 1 z = 2
