' Statement forms and literals that VBScript accepts: a statement closed by End on its own line,
' declarations inside blocks of global code, keywords that are names elsewhere, and nested element targets.

' A statement followed by End If, End Sub, End Function or End Class on the same line.
Dim z
c = False
If c Then
    x = 1
Else x = 3 End If
If c Then
    y = 1
ElseIf Not c Then y = 4 End If
Sub SetZ() z = 5 End Sub
Function Twice(n) Twice = n * 2 End Function
Class Holder
    Public value End Class
SetZ
Set h = New Holder
h.value = 6
WScript.Echo x, y, z, Twice(7), h.value
Sub Verdict(flag) If flag Then WScript.Echo "yes" Else WScript.Echo "no" End Sub
Verdict True
Verdict False

' Declarations inside a block of global code exist even when the block does not run.
If False Then
    Sub Hidden
        WScript.Echo "hidden sub runs"
    End Sub
    Class HiddenClass
        Public Name
    End Class
End If
Hidden
Set hc = New HiddenClass
hc.Name = "hidden class"
WScript.Echo hc.Name

' A procedure declared twice: the later declaration is the one called.
Sub Greet : WScript.Echo "first" : End Sub
Sub Greet : WScript.Echo "second" : End Sub
Greet

' &H followed by a name that is not a hex number is a concatenation; a trailing & makes a Long.
hi = "there"
WScript.Echo "x" &hi, "y" &hexagon
WScript.Echo TypeName(&HFF), TypeName(&HFF&), &HFFFF, &HFFFF&, TypeName(&O17&), &O17&

' >< is not-equal, and ^ binds tighter than unary minus.
WScript.Echo 1 >< 2, 2 >< 2, -3 ^ 2, -2 ^ 2 * 3, 2 ^ -1

' Property is a name outside property declarations.
Function Scaled(property) Scaled = property * 10 End Function
Class Property
    Public property
End Class
Sub UseProperty
    Dim property
    property = 3
    Set p = New Property
    p.property = Scaled(property)
    WScript.Echo property, p.property, TypeName(p)
End Sub
UseProperty

' An element of an array held in an array element is a target of assignment and of Set.
Dim grid(1)
grid(0) = Array(1, 2, 3)
grid(0)(1) = 20
grid(1) = Array(Nothing, Nothing)
Set grid(1)(1) = h
deep = Array(Array(Array("a", "b")))
deep(0)(0)(1) = "z"
WScript.Echo grid(0)(1), TypeName(grid(1)(1)), grid(1)(1).value, deep(0)(0)(1)

' Me with arguments calls the default member; Stop does nothing without a debugger.
Class Table
    Private cells(2)
    Public Default Property Get Cell(i)
        Cell = cells(i)
    End Property
    Public Property Let Cell(i, v)
        cells(i) = v
    End Property
    Public Function Describe()
        Me(1) = "b"
        Describe = Me(0) & Me(1)
    End Function
    Private Sub Class_Initialize() cells(0) = "a" End Sub
End Class
Set t = New Table
Stop
WScript.Echo t.Describe(), t(1)
