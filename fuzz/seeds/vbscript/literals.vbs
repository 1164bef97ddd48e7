x = &HFF + &O17 + 1.5E+3 - .5 & "a""b" & #1/2/2020# & Empty & Null
y = Not True Xor False Eqv True Imp False Or 1 And 2 Mod 3 \ 4 ^ 2
z = Array(1, "two", Array(3)): w = Split(Join(Array("a", "b"), ","), ",")
s = Mid("hello", 2, 3) & Left("x", 1) & UCase(Replace("abc", "b", "B")) & _
    Space(2) & String(2, "*")
