' The error number and description VBScript sets for each kind of run-time failure, seen through
' On Error Resume Next, and the results of built-ins at the edges of their arguments.
On Error Resume Next
Sub Report(label)
    WScript.Echo label & ":", Err.Number, Err.Description
    Err.Clear
End Sub

Class Holder
    Private stored
    Public Property Let Value(v)
        stored = TypeName(v)
    End Property
    Public Property Get Value()
        Value = stored
    End Property
    Public Property Let LetOnly(v)
    End Property
End Class
Set dictionary = CreateObject("Scripting.Dictionary")
Set box = New Holder

' Loops whose bounds or collection are wrong are skipped after the error.
For i = 1 To "x"
    WScript.Echo "For body must not run"
Next
Report "For to a text"
For i = Null To 3
Next
Report "For from Null"
For Each item In 5
    WScript.Echo "For Each body must not run"
Next
Report "For Each over a number"

' Constants, indexes and With.
Const Limit = 3
Execute "Limit = 4"
Report "assigning a constant"
number = 5
x = number(0)
Report "indexing a number"
With 5
    .Size = 1
End With
Report "With a number"
Set nothingHere = Nothing
With nothingHere
    .Size = 1
End With
Report "With Nothing"
nothingHere.Size = 1
Report "member of Nothing"

' Properties: Let receives an object as it is; Set of a property with only Let fails.
box.Value = dictionary
WScript.Echo "Property Let received:", box.Value
Set box.LetOnly = dictionary
Report "Set of a Let-only property"

' GetRef, Execute and ExecuteGlobal need text.
Set r = GetRef(5)
Report "GetRef of a number"
Set r = GetRef(Null)
Report "GetRef of Null"
Execute 5
Report "Execute of a number"
ExecuteGlobal Null
Report "ExecuteGlobal of Null"

' Built-ins at their edges.
WScript.Echo CByte(True), TypeName(CByte(True)), CByte(False), TypeName(CSng("1.25")), TypeName(Round(2.5)), _
    Round(2.5), Round(3.5), Round(-2.5)
x = CSng(1E+39)
Report "CSng too large"
x = UBound(dictionary)
Report "UBound of an object"
x = Join(5)
Report "Join of a number"
WScript.Echo TypeName(Mid(Null, 1)), "[" & Mid("abc", 5) & "]", "[" & Mid("abc", 1, 0) & "]"
x = Mid("abc", 0)
Report "Mid from 0"
x = Mid("abc", 1, -1)
Report "Mid of negative length"
WScript.Echo LenB("abc"), RightB("abcd", 2), AscB("A"), LenB(ChrB(65)), MidB("abcd", 3, 2), TypeName(LenB(Null))
x = ChrB(256)
Report "ChrB of 256"
WScript.Echo TypeName(Escape(Null)), TypeName(Unescape(Null)), TypeName(DateValue(Null)), TypeName(TimeValue(Null))
x = Filter(Array("a"), "a", True, 5)
Report "Filter with a bad compare mode"
x = Filter("abc", "a")
Report "Filter of a text"

' Dim and ReDim in text run by Execute inside a procedure declare variables of that call.
Sub DeclareThroughExecute
    Execute "Dim count : count = 5 : ReDim cells(2) : cells(1) = 7"
    WScript.Echo "Execute in a procedure:", count, cells(1), UBound(cells)
End Sub
DeclareThroughExecute
