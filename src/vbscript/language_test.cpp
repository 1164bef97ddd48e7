// Statements and control flow of the language.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(IfStatement, BlockAndSingleLineFormsChooseTheRightBranch) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "x = 5\nIf x > 3 Then\nPrint \"a\"\nElseIf x > 1 Then\nPrint \"b\"\nElse\nPrint \"c\"\nEnd If"),
        "a");
    EXPECT_EQ(run.Run("x = 2\nIf x > 3 Then Print \"a\" Else Print \"b\": Print \"c\""), "b|c");
    EXPECT_EQ(run.Run("x = 5\nIf x > 3 Then Print \"a\": Print \"b\" Else Print \"c\""), "a|b");
    EXPECT_EQ(run.Run("If Null Then Print \"yes\" Else Print \"no\""), "no");
}

TEST(IfStatement, ConditionsCompareVariablesOfNumbersAndText) {
    ScriptRun run;
    // Every comparison between two variables, true and false, as the condition of an If.
    EXPECT_EQ(run.Run("a = 2: b = 3\nFor Each p In Array(Array(a, b), Array(b, a), Array(a, a))\n"
                      "x = p(0): y = p(1): s = \"\"\n"
                      "If x < y Then s = s & \"<\"\nIf x <= y Then s = s & \"l\"\n"
                      "If x > y Then s = s & \">\"\nIf x >= y Then s = s & \"g\"\n"
                      "If x = y Then s = s & \"=\"\nIf x <> y Then s = s & \"n\"\nPrint s\nNext"),
              "<ln|>gn|lg=");
    // Text compares by code unit and is released after the test; loops test before and after the body.
    EXPECT_EQ(run.Run("t = \"b\": u = \"ab\"\nIf t > u Then Print \"after\" Else Print \"before\"\n"
                      "w = \"\"\nDo Until w = \"aaa\": w = w & \"a\": Loop\nPrint w\n"
                      "n = 0: m = 5\nDo: n = n + 1: Loop While n < m\nPrint n"),
              "after|aaa|5");
}

TEST(SelectCase, MatchesValuesListsRangesAndIsComparisons) {
    ScriptRun run;
    const char* select =
        "Function Kind(v)\nSelect Case v\nCase \"x\": Kind = \"letter\"\nCase 1, 2: Kind = \"small\"\nCase 3 "
        "To 5: Kind = \"middle\"\n"
        "Case Is >= 10: Kind = \"large\"\nCase Else: Kind = \"other\"\nEnd Select\n"
        "End Function\nPrint Kind(2), Kind(4), Kind(12), Kind(\"x\"), Kind(7)";
    EXPECT_EQ(run.Run(select), "small middle large letter other");
}

TEST(Loops, ForCountsWithStepsAndLeavesTheCounterPastTheLimit) {
    ScriptRun run;
    EXPECT_EQ(run.Run("s = \"\"\nFor i = 10 To 1 Step -3: s = s & i & \",\": Next\nPrint s, i"),
              "10,7,4,1, -2");
    EXPECT_EQ(run.Run("n = 0\nFor i = 1 To 0: n = n + 1: Next\nPrint n, i"), "0 1");
    EXPECT_EQ(run.Run("For x = 0.5 To 1.5 Step 0.5: Print x: Next"), "0.5|1|1.5");
    EXPECT_EQ(run.Run("lim = 3\nFor i = 1 To lim: lim = 10: Next\nPrint i"), "4");
}

TEST(Loops, DoWhileUntilAndWhileWendTestAtTheRightPlace) {
    ScriptRun run;
    EXPECT_EQ(run.Run("i = 0\nDo While i < 3: i = i + 1: Loop\nPrint i"), "3");
    EXPECT_EQ(run.Run("i = 0\nDo Until i >= 3: i = i + 1: Loop\nPrint i"), "3");
    EXPECT_EQ(run.Run("i = 10\nDo: i = i + 1: Loop While i < 3\nPrint i"), "11");
    EXPECT_EQ(run.Run("i = 10\nDo: i = i + 1: Loop Until True\nPrint i"), "11");
    EXPECT_EQ(run.Run("i = 0\nWhile i < 4\ni = i + 2\nWend\nPrint i"), "4");
}

TEST(Loops, ExitLeavesTheInnermostLoopOfItsKind) {
    ScriptRun run;
    EXPECT_EQ(run.Run("For i = 1 To 3\nDo\nExit For\nLoop\nPrint \"not here\"\nNext\nPrint i"), "1");
    EXPECT_EQ(run.Run("Do\nFor i = 1 To 5\nIf i = 2 Then Exit Do\nNext\nLoop\nPrint i"), "2");
}

TEST(Loops, ForEachWalksArraysAndHostCollections) {
    ScriptRun run;
    EXPECT_EQ(run.Run("s = 0\nFor Each v In Array(1, 2, 3): s = s + v: Next\nPrint s"), "6");
    EXPECT_EQ(run.Run("Dim m(1, 1)\nm(0, 0) = 1: m(1, 0) = 2: m(0, 1) = 3: m(1, 1) = 4\n"
                      "For Each v In m: Print v: Next"),
              "1|2|3|4");
    auto host = MakeRef<testing::FakeHostObject>();
    host->items = {Variant(u"a"), Variant(u"b")};
    run.engine.AddObject(u"Items", host, false);
    EXPECT_EQ(run.Run("For Each it In Items: Print it: Next"), "a|b");
    EXPECT_EQ(run.Run("For Each v In 5: Next"), "error 451 (1, 1): Object not a collection");
}

TEST(WithStatement, DotNamesReachTheInnermostWithObject) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class P\nPublic Name, Child\nEnd Class\nSet a = New P: Set a.Child = New P\n"
                      "With a\n.Name = \"outer\"\nWith .Child\n.Name = \"inner\"\nEnd With\n"
                      "Print .Name, .Child.Name\nEnd With"),
              "outer inner");
}

TEST(Arrays, FixedAndDynamicArraysResizeAndKeepValuesWithPreserve) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Dim a()\nReDim a(2)\na(2) = \"x\"\nReDim Preserve a(4)\nPrint UBound(a), a(2)"),
              "4 x");
    EXPECT_EQ(run.Run("ReDim b(1, 2)\nb(1, 2) = 7\nReDim Preserve b(1, 5)\nPrint b(1, 2), UBound(b, 2)"),
              "7 5");
    EXPECT_EQ(run.Run("Dim f(2)\nReDim f(3)"), "error 10 (2, 1): This array is fixed or temporarily locked");
    EXPECT_EQ(run.Run("ReDim c(1, 1)\nReDim Preserve c(2, 1)"), "error 9 (2, 1): Subscript out of range");
    EXPECT_EQ(run.Run("Dim d(2)\nd(3) = 1"), "error 9 (2, 1): Subscript out of range");
}

TEST(Arrays, AssignmentCopiesTheArray) {
    ScriptRun run;
    EXPECT_EQ(run.Run("a = Array(1, 2)\nb = a\nb(0) = 9\nPrint a(0), b(0)"), "1 9");
}

TEST(Arrays, SixtyDimensionsAreAllowedAndSixtyOneAreNot) {
    ScriptRun run;
    std::string bounds60, bounds61;
    for (int i = 0; i < 60; ++i) bounds60 += i ? ",0" : "0";
    bounds61 = bounds60 + ",0";
    EXPECT_EQ(run.Run("ReDim a(" + bounds60 + ")\na(" + bounds60 + ") = 5\nPrint a(" + bounds60 +
                      "), UBound(a, 60)"),
              "5 0");
    EXPECT_EQ(run.Run("ReDim b(" + bounds61 + ")"), "error 9 (1, 1): Subscript out of range");
}

TEST(Arrays, EraseEmptiesFixedArraysAndReleasesDynamicOnes) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Dim a(1)\na(0) = 5\nErase a\nPrint IsEmpty(a(0)), UBound(a)"), "True 1");
    EXPECT_EQ(run.Run("ReDim b(1)\nErase b\nPrint UBound(b)"), "error 9 (3, 1): Subscript out of range");
}

TEST(Constants, ConstNamesCannotBeAssigned) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Const A = 5, B = \"x\"\nConst C = -A\nPrint A, B, C"), "5 x -5");
    EXPECT_EQ(run.Run("Sub S\nConst L = 1\nL = 2\nEnd Sub").substr(0, 9), "error 501");
}

TEST(Syntax, ContinuationsCommentsAndColonsSeparateStatements) {
    ScriptRun run;
    EXPECT_EQ(run.Run("x = 1 + _\n  2 ' comment\nRem another\nPrint x: Print \"a\"\"b\""), "3|a\"b");
    EXPECT_EQ(run.Run("PRINT \"case\": print LEN(\"abc\")"), "case|3");
}

TEST(OptionExplicit, UndeclaredNamesFailWhenRequired) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Option Explicit\nDim a\na = 1\nb = 2"), "error 500 (4, 1): Variable is undefined");
    EXPECT_EQ(run.Run("c = 3\nPrint c"), "3");
}

TEST(Execute, ExecuteGlobalAndEvalRunTextAtRunTime) {
    ScriptRun run;
    EXPECT_EQ(run.Run("ExecuteGlobal \"Function Twice(n): Twice = n * 2: End Function\"\nPrint Twice(4)"),
              "8");
    EXPECT_EQ(run.Run("x = 5\nPrint Eval(\"x * 3 + 1\")\nExecute \"x = x + 1\"\nPrint x"), "16|6");
    EXPECT_EQ(run.Run("Execute \"x = \""), "error 1023 (1, 1): Expected expression");
}

TEST(Execute, TextRunInsideAProcedureSeesItsLocals) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Function F(a)\nDim b: b = 10\nExecute \"b = b + a\"\nF = Eval(\"a * b\")\nEnd Function\n"
                "Dim b: b = 1\nPrint F(2), b"),
        "24 1");
    EXPECT_EQ(
        run.Run(
            "Sub G\nDim local: local = 5\nExecuteGlobal \"seen = IsEmpty(local)\"\nEnd Sub\nG\nPrint seen"),
        "True");
}

TEST(Execute, DimInTextRunInsideAProcedureDeclaresALocalOfThatCall) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub S(n)\nExecute \"Dim made: made = n * 2\"\nExecute \"made = made + 1\"\n"
                      "Print Eval(\"made\"), made\nEnd Sub\nS 5\nS 7\nPrint IsEmpty(made)"),
              "11 11|15 15|True");
    // Arrays, ReDim and Const declared by the text belong to the call too; a second Dim of the same
    // name in one text is a redefinition.
    EXPECT_EQ(run.Run("Sub T\nExecute \"Dim a(2): a(2) = 4: ReDim r(1): r(1) = 3: Const c = 9\"\n"
                      "Execute \"Print UBound(a), a(2), UBound(r), r(1), c\"\nEnd Sub\nT\n"
                      "Print IsEmpty(a), IsEmpty(r), IsEmpty(c)"),
              "2 4 1 3 9|True True True");
    EXPECT_EQ(run.Run("Sub U\nExecute \"Dim twice: Dim twice\"\nEnd Sub\nU"),
              "error 1041 (2, 1): Name redefined");
    // At global level, and through ExecuteGlobal anywhere, Dim still declares a global.
    EXPECT_EQ(
        run.Run("Execute \"Dim atTop: atTop = 1\"\nSub V\nExecuteGlobal \"Dim viaGlobal: viaGlobal = 2\"\n"
                "End Sub\nV\nPrint atTop, viaGlobal"),
        "1 2");
}

TEST(Execute, TextRunInsideAMethodReachesTheObjectsMembersAndMe) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "Class Counter\nPrivate count\nPublic Name\n"
            "Private Function Twice(v): Twice = v * 2: End Function\n"
            "Public Sub Bump(by)\nExecute \"count = count + by: Me.Name = \"\"c\"\" & Twice(count)\"\n"
            "End Sub\nPublic Function Report(): Report = Eval(\"Name & \"\":\"\" & count\"): End Function\n"
            "End Class\nSet c = New Counter\nc.Bump 2\nc.Bump 3\nPrint c.Report(), IsEmpty(count)"),
        "c10:5 True");
    // Names the method leaves undeclared read as in its own code: the global when there is one.
    EXPECT_EQ(run.Run("Class Host\nPublic Sub S\nPrint \"own\"\nExecute \"Print \"\"text\"\"\"\nhidden = 4\n"
                      "Execute \"hidden = hidden + 1: shared = shared + 1\"\nPrint hidden, shared\nEnd Sub\n"
                      "End Class\nshared = 10\nSet h = New Host\nh.S\nPrint IsEmpty(hidden), shared"),
              "own|text|5 11|True 11");
    // A local of the method hides a field of the same name, as it does in the method's own code.
    EXPECT_EQ(
        run.Run("Class Box\nPublic v\nPublic Sub S\nDim v: v = 1\nExecute \"v = v + 10\"\n"
                "Print v, Me.v\nExecute \"Print TypeName(Me)\"\nEnd Sub\nEnd Class\nSet b = New Box\nb.S"),
        "11 |Box");
    // Me means nothing to text run at global scope, even when a method runs it.
    EXPECT_EQ(run.Run("Class G\nPublic Sub S: ExecuteGlobal \"x = TypeName(Me)\": End Sub\nEnd Class\n"
                      "Set instance = New G\ninstance.S"),
              "error 1037 (2, 15): Invalid use of 'Me' keyword");
}

TEST(Syntax, CallResultsCanBeIndexedWhereverAnExpressionMayStand) {
    ScriptRun run;
    run.engine.AllowObjectCreation(true);
    EXPECT_EQ(
        run.Run(
            "Set d = CreateObject(\"Scripting.Dictionary\")\nd.Add \"k\", 7\n"
            "Function Pair(): Pair = Array(Array(1, 2), \"b\"): End Function\n"
            "Sub Show(v): Print TypeName(v) & \":\" & v: End Sub\n"
            "Print TypeName(d.Keys()(0)), TypeName(d.Items()(0)), Pair()(0)(1), UCase(Split(\"a b\")(1))\n"
            "Show d.Keys()(0)\nShow(d.Items()(0))\nCall Show(Pair()(1))\nShow (d.Keys()(0)) & \"!\"\n"
            "x = d.Items()(0) * 2 + Pair()(0)(0): Print x, -d.Items()(0), Not Pair()(0)(1) = 2\n"
            "If TypeName(d.Keys()(0)) = \"String\" Then Print \"if\"\n"
            "Select Case Pair()(1): Case \"b\": Print \"case\": End Select\n"
            "For i = Pair()(0)(0) To d.Items()(0) Step Pair()(0)(1) + 1: s = s & i: Next: Print s\n"
            "Print Eval(\"TypeName(d.Keys()(0))\")"),
        "String Integer 2 B|String:k|Integer:7|String:b|String:k!|15 -7 False|if|case|147|String");
}

TEST(GetRef, CallsTheProcedureItNames) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Function Add1(v): Add1 = v + 1: End Function\nSet f = GetRef(\"add1\")\nPrint f(41)"),
              "42");
}

TEST(Execute, ExecuteGlobalMayDeclareClassesAndVariables) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "ExecuteGlobal \"Class Late: Public V: End Class: Dim made\"\nSet made = New Late\nmade.V = 3\n"
            "Print TypeName(made), made.V"),
        "Late 3");
}

TEST(Execute, RuntimeErrorInsideExecutedTextStopsTheCaller) {
    ScriptRun run;
    EXPECT_EQ(run.Run("On Error Resume Next\nExecute \"x = 1 / 0\"\nPrint Err.Number\nPrint Eval(\"1 +\")\n"
                      "Print Err.Number"),
              "11|1023");
}

TEST(Assignment, LetOfAnObjectStoresItsDefaultValue) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class V: Public Default Property Get Value: Value = 42: End Property: End Class\n"
                      "Set o = New V\ncopy = o\nPrint TypeName(copy), copy"),
              "Integer 42");
    EXPECT_EQ(run.Run("Class NoDefault: End Class\nSet o = New NoDefault\nx = o"),
              "error 438 (3, 1): Object doesn't support this property or method");
    EXPECT_EQ(run.Run("x = Nothing"), "error 91 (1, 1): Object variable not set");
}

TEST(Assignment, ForLoopVariableMayBeAnArrayElementOrField) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class C\nPublic n\nPublic Sub Count(): For n = 1 To 3: Next: End Sub\nEnd Class\n"
                      "Set counter = New C\ncounter.Count\nPrint counter.n"),
              "4");
}

TEST(Syntax, NamesMayUseKeywordsAfterADotAndMixedCase) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class K\nPublic [End], Value\nEnd Class\nSet k1 = New K\nk1.End = \"stop\"\nK1.VALUE = 1\n"
                "Print k1.end, k1.value"),
        "stop 1");
}

}  // namespace
}  // namespace taviro::vbscript
