' Counts words with a RegExp and a Scripting.Dictionary, then reports them in order of first use.
Option Explicit
Dim text, re, matches, match, counts, word, keys, i
text = "The cat and the hat. The END, the end!"
Set re = New RegExp
re.Pattern = "[a-z]+"
re.IgnoreCase = True
re.Global = True
Set counts = CreateObject("Scripting.Dictionary")
counts.CompareMode = vbTextCompare
Set matches = re.Execute(text)
WScript.Echo "words:", matches.Count
For Each match In matches
    word = match.Value
    If counts.Exists(word) Then
        counts(word) = counts(word) + 1
    Else
        counts.Add word, 1
    End If
Next
keys = counts.Keys
For i = 0 To UBound(keys)
    WScript.Echo keys(i) & " = " & counts(keys(i))
Next
counts.Remove "cat"
WScript.Echo "distinct:", counts.Count, Join(counts.Keys, "|")
re.Pattern = "(\w+)@(\w+)\.(com|org)"
WScript.Echo re.Replace("mail joe@example.com or ann@test.org", "<$2:$1>")
re.Pattern = "^\s+|\s+$"
WScript.Echo "[" & re.Replace("   padded   ", "") & "]"
re.Pattern = "(\d{4})-(\d{2})-(\d{2})"
Set match = re.Execute("due 2021-03-15.")(0)
WScript.Echo match.FirstIndex, match.Length, match.SubMatches(2) & "/" & match.SubMatches(1) & "/" & match.SubMatches(0)
