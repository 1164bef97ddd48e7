' What each locale SetLocale accepts gives: numbers written and read with its separators, the number
' formats, and month and day names. Names and separators come from ICU's data for the locale.
For Each lcid In Array(1033, 2057, 1031, 1036, 3082, 1040, 1043, 1046, 1045, 1049, 1053)
    previous = SetLocale(lcid)
    WScript.Echo GetLocale() & ":", CStr(1234.5), 0.25 & "|", CStr(CSng(2.5)), CStr(CCur(7.25)), _
        FormatNumber(1234567.891), FormatCurrency(-42.5), FormatPercent(0.256, 1)
    WScript.Echo "   ", MonthName(1), MonthName(5, True), WeekdayName(1), WeekdayName(2, True)
Next

' Negative money where Windows puts the minus, unless the parentheses argument says otherwise.
For Each lcid In Array(1033, 1043, 1031, 1046)
    SetLocale lcid
    WScript.Echo GetLocale() & ":", FormatCurrency(-3), FormatCurrency(-3, 0, , vbFalse), _
        FormatCurrency(-3, 0, , vbTrue), FormatCurrency(-0.001)
Next

' Text read as a number: the locale's decimal separator, its grouping, and a separator it does not use.
SetLocale 1031
WScript.Echo CDbl("1,75"), CDbl("1.234,5"), IsNumeric("2,5"), IsNumeric("1.5.0,5"), CDbl(" 3 ") + 1
SetLocale "fr-FR"
WScript.Echo CDbl("1,75"), IsNumeric("1.5"), "0,5" * 2
SetLocale "en-us"
WScript.Echo CDbl("1,234.5"), IsNumeric("1,5"), "0.5" * 2

' An unknown LCID or tag fails with 5 and keeps the locale.
On Error Resume Next
SetLocale 9999
WScript.Echo "SetLocale 9999:", Err.Number, GetLocale()
Err.Clear
SetLocale "xx-YY"
WScript.Echo "SetLocale xx-YY:", Err.Number, GetLocale()
