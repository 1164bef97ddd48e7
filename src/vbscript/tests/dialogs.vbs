' MsgBox and InputBox on the terminal: answers come from standard input.
answer = MsgBox("Save the game?", vbYesNoCancel + vbQuestion, "Taviro")
If answer = vbNo Then WScript.Echo "not saved"
name = InputBox("Your name?", "Welcome", "Guest")
WScript.Echo "Hello, " & name
name = InputBox("Again?", "", "Guest")
WScript.Echo "Hello, " & name
MsgBox "Bye"
WScript.Echo MsgBox("Retry?", vbRetryCancel) = vbCancel
