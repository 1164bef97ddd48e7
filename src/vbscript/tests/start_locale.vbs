' A script started in German (taviro-vbs --locale 1031) reads and writes numbers and dates in German until
' SetLocale changes it, and SetLocale 0 returns to the locale it started in.
WScript.Echo GetLocale(), CStr(0.5), MonthName(3), CStr(DateSerial(2024, 3, 5)), Month("5/3/2024")
WScript.Echo SetLocale(1033), CStr(0.5), MonthName(3), CStr(DateSerial(2024, 3, 5)), Month("5/3/2024")
WScript.Echo SetLocale(0), GetLocale(), CStr(0.5)
