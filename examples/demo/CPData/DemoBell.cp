1
0,0,0,0,0,0,0,0
#FALSE#,#FALSE#,"DemoBell","DemoBell"
"","","","","Sub DemoBell_Ring(times)
  BellRings = BellRings + CInt(times)
End Sub

Sub DemoBell_Frame(place)
  Text(1).Caption = ~A bell rings in the ~ & place & ~. ~ & Text(1).Caption
End Sub"
1,"BellRings"
0
0,1,"","","DemoBell_Ring",""
"DemoBell_Frame"
