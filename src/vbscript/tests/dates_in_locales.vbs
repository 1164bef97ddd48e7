' Dates in each locale SetLocale accepts: Windows' short date, long date and long time, with month and
' day names from ICU; text read as a date takes day and month in the locale's order.
Dim d, lcid, text
d = DateSerial(2024, 3, 5) + TimeSerial(14, 7, 9)
For Each lcid In Array(1033, 2057, 1031, 1036, 3082, 1040, 1043, 1046, 1045, 1049, 1053)
    SetLocale lcid
    WScript.Echo GetLocale() & ":", d & "|", CStr(DateSerial(2024, 11, 25)) & "|", CStr(TimeSerial(9, 4, 3)) & "|", CStr(CDate(0))
    WScript.Echo "   ", FormatDateTime(d, vbLongDate), "|", FormatDateTime(d, vbShortDate), "|", _
        FormatDateTime(d, vbLongTime), "|", FormatDateTime(d, vbShortTime), "|", FormatDateTime(d)
    ' "5/3/2024" is 3 May in month-first locales and 5 March elsewhere; 13 can only be the day.
    WScript.Echo "   ", Month(CDate("5/3/2024")), Month(DateValue("13/1/2024")), IsDate("31/4/2024"), _
        IsDate("4/31/2024"), Day(DateValue("2024-03-05")), TimeValue("2:07 PM") = TimeSerial(14, 7, 0)
    ' What a locale writes it reads back: the general date, and the long date where it has no day name.
    text = FormatDateTime(d, vbLongDate)
    WScript.Echo "   ", CDate(CStr(d)) = d, IsDate(text), CDate(FormatDateTime(d, vbShortDate)) = DateValue(d)
Next

' Month names of the locale, whole or short, and English ones are read in any locale.
SetLocale "de-DE"
WScript.Echo CDate("5. März 2024") = DateSerial(2024, 3, 5), CDate("5 Okt 2024") = DateSerial(2024, 10, 5), _
    CDate("October 5, 2024") = DateSerial(2024, 10, 5), IsDate("Dienstag, 5. März 2024")
SetLocale "pl-PL"
WScript.Echo CDate("5 marca 2024") = DateSerial(2024, 3, 5), CDate("styczeń 2, 2024") = DateSerial(2024, 1, 2)
SetLocale "es-ES"
WScript.Echo CDate("5 de marzo de 2024") = DateSerial(2024, 3, 5)
SetLocale "sv-SE"
WScript.Echo CDate("den 5 mars 2024") = DateSerial(2024, 3, 5), Month(CDate("5/3/2024")), Month(CDate("24-03-05"))

' Date literals in the code are month first whatever the locale.
SetLocale "fr-FR"
WScript.Echo #3/5/2024# = DateSerial(2024, 3, 5), #3/5/2024 2:07:09 PM#

' Text that is no date in any order is a type mismatch.
On Error Resume Next
d = CDate("31/13/2024")
WScript.Echo "CDate(""31/13/2024""):", Err.Number
