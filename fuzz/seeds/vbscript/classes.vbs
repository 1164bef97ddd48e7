Class Node
    Public Value, NextNode
    Private Sub Class_Terminate(): count = count + 1: End Sub
    Public Default Property Get Item(i): Item = Value * i: End Property
End Class
Set head = Nothing
For i = 1 To 10: Set n = New Node: n.Value = i: Set n.NextNode = head: Set head = n: Next
x = head(3) + head.NextNode.Value
