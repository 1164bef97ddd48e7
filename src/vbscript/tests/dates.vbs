' Calendar arithmetic with the date built-ins.
Dim d
d = DateSerial(2024, 1, 31)
WScript.Echo d, TypeName(d), Year(d), Month(d), Day(d)
WScript.Echo DateAdd("m", 1, d), DateAdd("yyyy", 1, DateSerial(2024, 2, 29)), DateAdd("d", -31, d)
WScript.Echo DateDiff("d", d, DateSerial(2024, 12, 25)), DateDiff("m", d, DateSerial(2024, 12, 25))
WScript.Echo WeekdayName(Weekday(d)), MonthName(Month(d), True), DatePart("q", d), DatePart("y", DateSerial(2024, 12, 31))
WScript.Echo TimeSerial(23, 59, 60), DateAdd("n", 90, DateSerial(2024, 1, 1))
WScript.Echo FormatDateTime(DateSerial(2024, 7, 4), vbLongDate)
WScript.Echo FormatDateTime(TimeSerial(9, 5, 0), vbShortTime), FormatDateTime(TimeSerial(21, 5, 7), vbLongTime)
WScript.Echo IsDate("2/29/2024"), CDate("March 5, 2024") = DateSerial(2024, 3, 5), DateValue("12/25/2024 8:00 AM")
On Error Resume Next
d = DateAdd("fortnight", 1, d)
WScript.Echo "bad interval:", Err.Number, Err.Description
