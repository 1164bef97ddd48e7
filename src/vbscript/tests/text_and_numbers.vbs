' String and number built-ins at their edges.
WScript.Echo CStr(1E+20), CStr(0.00001), CStr(1/3), CStr(123456789012345678), CStr(-0.5)
WScript.Echo CInt(2.5), CInt(3.5), Round(2.5), Round(1.2345, 3), Int(-2.5), Fix(-2.5)
WScript.Echo IsNumeric("&H10"), IsNumeric(" 12 "), IsNumeric("$5"), IsNumeric(""), IsNumeric("1e5")
WScript.Echo FormatNumber(1234567.891), FormatCurrency(-42.5), FormatPercent(0.256, 1)
WScript.Echo Replace("a.b.c.d", ".", "-", 3, 1), InStrRev("a/b/c", "/"), StrComp("abc", "ABC", vbTextCompare)
WScript.Echo Join(Split("one,two,,four", ","), "+"), UBound(Split("a b c", " ", 2)), Join(Filter(Array("red", "green", "blue"), "e"), ",")
WScript.Echo Escape("50% off!"), Unescape("%u263A"), LenB("hello"), Hex(-1), Oct(64)
WScript.Echo String(3, "*") & Space(2) & "|", StrReverse("stressed"), LCase("MiXeD") & UCase("mIxEd")
On Error Resume Next
x = Mid("abc", 0)
WScript.Echo "Mid:", Err.Number
Err.Clear
x = String(-1, "a")
WScript.Echo "String:", Err.Number
Err.Clear
x = CInt("40000")
WScript.Echo "CInt:", Err.Number, Err.Description
