' Demo.Lantern: a lantern the player lights and puts out with a click, written in VBScript as a
' component of the Taviro player. AddComponent "Demo.Lantern", name, False, False makes one.
'
' The player makes an instance of the class Component for each lantern. The object Host is the
' lantern's area on the screen: Left, Top, Width and Height (twips), Visible, BackColor, Cls,
' FillRect x, y, width, height, colour (pixels of the area) and RaiseEvent name, [name, value]...
' The player calls Click, DblClick, MouseDown, MouseMove and MouseUp (Button, Shift, X, Y in pixels)
' when the player uses the area; the game's scripts reach the public members below through
' Component(name), and hear the events raised in their procedures named name_event.

Class Component
    Private isLit

    Private Sub Class_Initialize()
        isLit = False
    End Sub

    ' Whether the lantern burns; setting it draws the lantern again.
    Public Property Get Lit()
        Lit = isLit
    End Property

    Public Property Let Lit(value)
        isLit = CBool(value)
        Draw
    End Property

    ' Draws the lantern over its whole area: a dark frame round a glass that glows when lit.
    Public Sub Draw()
        Dim width, height
        width = Host.Width \ 15
        height = Host.Height \ 15
        Host.Cls
        Host.FillRect 0, 0, width, height, &H202020
        If isLit Then
            Host.FillRect 6, 6, width - 12, height - 12, &H40D0FF
        Else
            Host.FillRect 6, 6, width - 12, height - 12, &H404040
        End If
    End Sub

    Public Sub Click()
        isLit = Not isLit
        Draw
        Host.RaiseEvent "Switched", "Lit", isLit
    End Sub
End Class
