// Compilation and run-time errors: numbers, positions, On Error Resume Next, limits.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(CompileErrors, ReportNumberLineAndColumn) {
    ScriptRun run;
    EXPECT_EQ(run.Run("x = 1\ny = 2 3"), "error 1025 (2, 7): Expected end of statement");
    EXPECT_EQ(run.Run("x = (1 + 2"), "error 1006 (1, 11): Expected ')'");
    EXPECT_EQ(run.Run("If x Then\nx = 1"), "error 1014 (2, 6): Expected 'End'");
    EXPECT_EQ(run.Run("x = \"open"), "error 1033 (1, 10): Unterminated string constant");
    EXPECT_EQ(run.Run("x = 1 $ 2"), "error 1032 (1, 7): Invalid character");
    EXPECT_EQ(run.Run("For i = 1 To 2\nLoop"), "error 1020 (2, 1): Expected 'Next'");
    EXPECT_EQ(run.Run("Exit Do"), "error 1039 (1, 1): Invalid 'exit' statement");
    EXPECT_EQ(run.Run("Dim A\nSub A: End Sub"), "error 1041 (2, 1): Name redefined");
    EXPECT_EQ(run.Run("Sub S\nIf x Then\nSub T: End Sub\nEnd If\nEnd Sub"),
              "error 1002 (3, 1): Syntax error");
    EXPECT_EQ(run.Run("x = 1 +"), "error 1023 (1, 8): Expected expression");
}

TEST(CompileErrors, NothingOfAFailedTextRuns) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print \"first\"\nx = )"), "error 1023 (2, 5): Expected expression");
}

TEST(RuntimeErrors, StopAtTheFailingStatementWithItsPosition) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print 1\n  x = 1 / 0\nPrint 2"), "1|error 11 (2, 3): Division by zero");
    EXPECT_EQ(run.Run("Dim a(1)\nx = a(\"z\")"), "error 13 (2, 1): Type mismatch");
    EXPECT_EQ(run.Run("Sub Deep: y = CInt(\"x\"): End Sub\nDeep"), "error 13 (1, 11): Type mismatch");
}

TEST(OnError, ResumeNextContinuesWithTheNextStatementAndFillsErr) {
    ScriptRun run;
    EXPECT_EQ(run.Run("On Error Resume Next\nx = 1 / 0\nPrint Err.Number, Err.Description\nErr.Clear\nPrint "
                      "Err.Number"),
              "11 Division by zero|0");
    EXPECT_EQ(run.Run("On Error Resume Next\nx = CInt(\"a\"): Print \"same line\"\nPrint \"next\""),
              "same line|next");
}

TEST(OnError, ErrorInACalledProcedureResumesInTheCaller) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Fails: Print \"in\": Err.Raise 5: Print \"not here\": End Sub\n"
                      "On Error Resume Next\nFails\nPrint \"back\", Err.Number"),
              "in|back 5");
}

TEST(OnError, ErrorInAnIfConditionEntersTheThenBlock) {
    ScriptRun run;
    EXPECT_EQ(run.Run("On Error Resume Next\nIf 1 / 0 Then\nPrint \"then\"\nElse\nPrint \"else\"\nEnd "
                      "If\nPrint \"end\""),
              "then|end");
}

TEST(OnError, LoopWhoseHeaderFailsIsSkipped) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("On Error Resume Next\nFor Each v In 5\nPrint \"body\"\nNext\nPrint \"after\", Err.Number"),
        "after 451");
    EXPECT_EQ(run.Run("On Error Resume Next\nFor i = 1 To \"x\"\nn = n + 1\nIf n > 5 Then Exit For\nNext\n"
                      "Print \"done\""),
              "done");
}

TEST(OnError, GoToZeroMakesErrorsStopTheScriptAgain) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\nPrint Err.Number\ny = 1 / 0\nPrint \"no\""),
        "0|error 11 (5, 1): Division by zero");
}

TEST(OnError, RaiseUsesTheGivenNumberAndDescription) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Err.Raise vbObjectError + 1, \"Game\", \"Custom failure\""),
              "error -2147221503 (1, 1): Custom failure");
    EXPECT_EQ(run.Run("On Error Resume Next\nErr.Raise 9\nPrint Err.Description, Err.Source"),
              "Subscript out of range Taviro VBScript runtime error");
}

TEST(ErrObject, RaiseFillsEveryPropertyAndClearEmptiesThem) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("On Error Resume Next\nErr.Raise 1000, \"Src\", \"Desc\", \"help.chm\", 42\n"
                "Print Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext, Err\n"
                "Err.Clear\nPrint Err.Number, \"[\" & Err.Source & Err.Description & Err.HelpFile & \"]\", "
                "Err.HelpContext"),
        "1000 Src Desc help.chm 42 1000|0 [] 0");
    EXPECT_EQ(run.Run("On Error Resume Next\nErr.Raise vbObjectError + 7\nPrint Err.Number, Err.Description"),
              "-2147221497 Unknown runtime error");
    EXPECT_EQ(run.Run("Err.Raise 0"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Err.Raise"),
              "error 450 (1, 1): Wrong number of arguments or invalid property assignment");
}

TEST(ErrObject, RaiseTakesWhatErrStillHoldsForArgumentsLeftOut) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("On Error Resume Next\nErr.Source = \"Mine\": Err.Description = \"Kept\"\nErr.Raise 17\n"
                "Print Err.Number, Err.Source, Err.Description"),
        "17 Mine Kept");
    EXPECT_EQ(
        run.Run("On Error Resume Next\nx = 1 / 0\nErr.Raise Err.Number\nPrint Err.Number, Err.Description"),
        "11 Division by zero");
}

TEST(ErrObject, PropertiesCanBeSetByTheScript) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Err.Number = 5: Err.Description = \"d\": Err.HelpContext = 3\n"
                "Print Err.Number, Err.Description, Err.HelpContext\nOn Error Resume Next\nPrint Err.Number"),
        "5 d 3|0");
}

TEST(ErrObject, OnErrorStatementsClearErr) {
    ScriptRun run;
    EXPECT_EQ(run.Run("On Error Resume Next\nx = 1 / 0\nOn Error Resume Next\nPrint Err.Number\n"
                      "y = CInt(\"z\")\nOn Error GoTo 0\nPrint Err.Number"),
              "0|0");
    // A procedure that handles its own error leaves Err set for its caller to see.
    EXPECT_EQ(run.Run("Sub Quiet: On Error Resume Next: x = 1 / 0: End Sub\nQuiet\nPrint Err.Number"), "11");
}

TEST(Limits, EndlessRecursionIsOutOfStackSpace) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Function F(n): F = F(n + 1): End Function\nx = F(1)"),
              "error 28 (1, 16): Out of stack space");
    EXPECT_EQ(run.Run("Print \"engine still works\""), "engine still works");
}

TEST(Limits, RecursionThroughDefaultMembersIsOutOfStackSpace) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class Loop1\nPublic Default Property Get V: V = Me + 1: End Property\nEnd Class\n"
                      "Set o = New Loop1\nx = o + 1")
                  .substr(0, 9),
              "error 28 ");
}

TEST(Limits, DeeplyNestedExpressionsAreRefused) {
    ScriptRun run;
    std::string nested = "x = " + std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(run.Run(nested).substr(0, 9), "error 28 ");
}

TEST(Limits, RunawayAllocationIsOutOfMemory) {
    ScriptRun run;
    EXPECT_EQ(run.Run("ReDim a(100000, 100000)"), "error 7 (1, 1): Out of memory");
    EXPECT_EQ(run.Run("s = \"x\"\nDo: s = s & s: Loop"), "error 7 (2, 5): Out of memory");
    EXPECT_EQ(run.Run("s = Space(2000000000)"), "error 7 (1, 1): Out of memory");
}

TEST(Limits, MemoryHeldByAllStringsAndArraysIsCapped) {
    ScriptRun run;
    SetScriptMemoryLimit(int64_t{64} << 20);
    EXPECT_EQ(run.Run("Dim keep(100)\nFor i = 0 To 100: keep(i) = Space(4000000): Next"),
              "error 7 (2, 19): Out of memory");
    EXPECT_EQ(run.Run("Erase keep\ns = Space(4000000)\nPrint Len(s)"), "4000000");
    EXPECT_EQ(run.Run("ReDim big(5000000)"), "error 7 (1, 1): Out of memory");
    SetScriptMemoryLimit(int64_t{1} << 30);
    EXPECT_EQ(run.Run("s = Replace(Space(100000), \" \", Space(100000))"), "error 7 (1, 1): Out of memory");
    EXPECT_EQ(run.Run("s = String(20000000, \"x\"): t = s & s"), "error 7 (1, 28): Out of memory");
}

TEST(Timeout, AClassTerminateRunOutsideAnyScriptHasATimeOutOfItsOwn) {
    ScriptRun run;
    run.engine.Timeout(100);
    auto slot = MakeRef<testing::ValueObject>();
    run.engine.AddObject(u"Slot", slot, false);
    ASSERT_EQ(run.Run("Class Busy\nPrivate Sub Class_Terminate\nFor i = 1 To 20000: n = n + 1: Next\n"
                      "Print \"finished \" & n\nEnd Sub\nEnd Class\n"
                      "Class Endless\nPrivate Sub Class_Terminate: Do: Loop: End Sub\nEnd Class\n"
                      "Set Slot.Value = New Busy"),
              "");
    // Long after the last script, the host lets go of the object: its Class_Terminate runs to its end.
    run.nowMs += 60000;
    slot->value = Variant();
    EXPECT_EQ(run.Output(), "finished 20000");
    // One that never ends is stopped at the time-out, and scripts run on.
    ASSERT_EQ(run.Run("Set Slot.Value = New Endless"), "");
    run.clockStepMs = 5;
    slot->value = Variant();
    run.clockStepMs = 0;
    EXPECT_EQ(run.Run("Print \"after\""), "after");
}

TEST(Timeout, EndlessLoopIsStoppedAndOnErrorCannotCatchIt) {
    ScriptRun run;
    run.clockStepMs = 5;
    run.engine.Timeout(100);
    std::string result = run.Run("On Error Resume Next\nDo\nn = n + 1\nLoop");
    EXPECT_EQ(result.substr(0, 17), "error -2147467260");
    run.engine.Timeout(-1);
    EXPECT_EQ(run.Run("Print \"runs again\""), "runs again");
}

}  // namespace
}  // namespace taviro::vbscript
