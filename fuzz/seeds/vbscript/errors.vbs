On Error Resume Next
x = 1 / 0
y = CInt("abc")
Err.Raise 5
ReDim z(2): z(5) = 1
On Error GoTo 0
Function F(ByRef v, ByVal w): v = v + w: F = v: End Function
q = 1: r = F(q, 2)
Execute "t = q + r"
u = Eval("t * 2")
Set g = GetRef("F")
