' How strings meet numbers in comparisons, and the result subtypes of the logical operators.

' A number written in the code converts the string; a number held in a variable is less than any string.
WScript.Echo "10" > 9, " 5" = 5, 9 < "10", "-2" = -2
n = 9
WScript.Echo "10" > n, "1" < n, n < "abc", n = "9"
On Error Resume Next
x = ("abc" = 5)
WScript.Echo "text against a literal number:", Err.Number, Err.Description
Err.Clear
On Error GoTo 0

' Booleans held in variables compare with strings as numbers do.
t = True
s = "True"
WScript.Echo t = s, s > t, t < "-1"

' Select Case follows the same rules.
For Each subject In Array(5, "5")
    Select Case subject
        Case "5": WScript.Echo TypeName(subject), "matched the string case"
        Case 5: WScript.Echo TypeName(subject), "matched the number case"
    End Select
Next

' And, Or, Xor, Eqv, Imp and Not: Empty counts as an Integer, Bytes stay Bytes, Booleans stay Booleans.
WScript.Echo TypeName(Empty And Empty), TypeName(Empty Or True), TypeName(CByte(1) And CByte(3)), _
    TypeName(True And CByte(3)), TypeName(Not Empty), TypeName(Not CByte(1)), TypeName(Not True)
WScript.Echo TypeName(Empty Xor Empty), TypeName(True Xor CByte(1)), TypeName(CByte(1) Eqv CByte(2)), _
    TypeName(True Imp True), TypeName(Empty Imp Empty), Not CByte(1), CByte(6) Xor CByte(3)
' Null: False And Null is False, True Or Null is True, True Imp Null is Null, Null Imp True is True.
WScript.Echo TypeName(Null And False), TypeName(Null And True), TypeName(Null Or True), TypeName(Null Or False)
WScript.Echo TypeName(Null Imp True), TypeName(False Imp Null), TypeName(True Imp Null), TypeName(Null Imp False)

' Case tests against constants, comparisons and ranges, with Null falling through to Case Else.
For Each subject In Array(3, 12, Null, 7.5, "8")
    Select Case subject
        Case 3, 4: result = "three or four"
        Case Is >= 10: result = "ten or more"
        Case 5 To 8: result = "five to eight"
        Case Else: result = "something else"
    End Select
    WScript.Echo subject & ":", result
Next
For Each subject In Array("look", "Look", "take")
    Select Case subject
        Case "look", "use": result = "look or use"
        Case Is > "s": result = "after s"
        Case Else: result = "something else"
    End Select
    WScript.Echo subject & ":", result
Next
' A text that is not a number, met by a number written in a Case, is a type mismatch.
Sub MatchWord(word)
    Select Case word
        Case 3: WScript.Echo "must not match"
    End Select
End Sub
On Error Resume Next
MatchWord "many"
WScript.Echo "Case 3 against a word:", Err.Number

' Conditions that compare a variable with a constant: Null makes no branch true, a text reads as a
' number against a number written in the code, and loops test before each pass.
Sub Classify(value)
    If value < 2 Then
        WScript.Echo value & ": below two"
    ElseIf value >= 10 Then
        WScript.Echo value & ": ten or more"
    Else
        WScript.Echo value & ": between"
    End If
End Sub
Classify 1
Classify "1"
Classify 7
Classify 12.5
Classify Null
Sub CountDown(n)
    Dim steps
    steps = 0
    Do While n > 0
        n = n - 1
        steps = steps + 1
    Loop
    Do Until n = -3
        n = n - 1
        steps = steps + 1
    Loop
    WScript.Echo "steps:", steps, n
End Sub
start = 4
CountDown start
WScript.Echo "ByRef start after the loops:", start
