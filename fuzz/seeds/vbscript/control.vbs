Option Explicit
Dim i, s, a(3)
For i = 0 To 3 Step 1: a(i) = i * 2: Next
Select Case a(2)
    Case 1, 2: s = "a"
    Case Is > 3: s = "b"
    Case Else: s = "c"
End Select
Do While i > 0: i = i - 1: Loop
While i < 2: i = i + 1: Wend
If s = "b" Then s = s & "!" Else s = ""
With New RegExpLike
End With
