' Scripting.Dictionary keys: numbers by value across subtypes, strings apart from numbers, text
' comparison ignoring case, renaming, and many keys added and removed.
Set d = CreateObject("Scripting.Dictionary")
d(1) = "one"
d("1") = "text one"
d(2.5) = "two and a half"
WScript.Echo d.Count, d(CByte(1)), d(1&), d(CDbl(1)), d("1"), d(5 / 2), d.Exists(-0), d.Exists(Empty)
d(Empty) = "empty"
d(Null) = "null"
WScript.Echo d.Count, d(Empty), d(Null), d.Exists("")
On Error Resume Next
d.Add 1, "again"
WScript.Echo "Add of an existing key:", Err.Number, Err.Description
Err.Clear
d.Remove "absent"
WScript.Echo "Remove of a missing key:", Err.Number, Err.Description
Err.Clear
On Error GoTo 0

Set t = CreateObject("Scripting.Dictionary")
t.CompareMode = vbTextCompare
t("Apple") = 1
t("APPLE") = 2
t.Key("apple") = "Pear"
WScript.Echo t.Count, t("pear"), Join(t.Keys, ","), t.Exists("Apple")

' Many keys: every other one removed, then all read back in the order they were added.
Set big = CreateObject("Scripting.Dictionary")
For i = 1 To 5000
    big("key" & i) = i
    big(i) = -i
Next
For i = 1 To 5000 Step 2
    big.Remove "key" & i
    big.Remove i
Next
total = 0
For Each k In big.Keys
    total = total + big(k)
Next
keys = big.Keys
WScript.Echo big.Count, total, keys(0), keys(1), keys(big.Count - 1), big.Exists("key1"), big.Exists("key2")
big.RemoveAll
big("after") = 1
WScript.Echo big.Count, big("after")

' Whole-number keys far apart, negative and fractional keys.
Set strided = CreateObject("Scripting.Dictionary")
For i = 0 To 3000
    strided(i * 4096) = i
    strided(-i - 0.5) = -i
Next
WScript.Echo strided.Count, strided(4096 * 1234), strided(-77.5), strided.Exists(4095), strided.Exists(-0.5)
