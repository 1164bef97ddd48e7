// Procedures: arguments by reference and by value, results, recursion and exits.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(ByRef, VariablePassedByReferenceIsUpdated) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Bump(n): n = n + 1: End Sub\nx = 1\nBump x\nCall Bump(x)\nPrint x"), "3");
}

TEST(ByRef, ArrayElementPassedByReferenceIsUpdated) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Bump(n): n = n + 1: End Sub\nDim a(2)\na(1) = 5\nBump a(1)\nPrint a(1)"), "6");
}

TEST(ByRef, ParenthesizedArgumentIsPassedByValue) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Bump(n): n = n + 1: End Sub\nx = 1\nBump (x)\nPrint x"), "1");
    EXPECT_EQ(run.Run("Sub Bump(n): n = n + 1: End Sub\nx = 1\nBump x + 0\nPrint x"), "1");
}

TEST(ByRef, ByValParameterGetsACopy) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Change(ByVal n, ByVal a): n = 0: a(0) = 0: End Sub\nx = 7: b = Array(7)\n"
                      "Change x, b\nPrint x, b(0)"),
              "7 7");
}

TEST(ByRef, ReferencePassedOnThroughTwoCallsReachesTheVariable) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub Inner(v): v = \"set\": End Sub\nSub Outer(w): Inner w: End Sub\nOuter x\nPrint x"),
              "set");
}

TEST(ByRef, ObjectPropertyIsPassedAsACopy) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class C: Public V: End Class\nSub Bump(n): n = n + 1: End Sub\nSet o = New C: o.V = 1\n"
                "Bump o.V\nPrint o.V"),
        "1");
}

TEST(ByRef, ArrayStaysLockedWhileAnElementIsPassedByReference) {
    ScriptRun run;
    EXPECT_EQ(run.Run("ReDim a(2)\nSub Grow(n): ReDim a(10): End Sub\nGrow a(1)"),
              "error 10 (2, 14): This array is fixed or temporarily locked");
    EXPECT_EQ(run.Run("ReDim Preserve a(10)\nPrint UBound(a)"), "10");
}

TEST(Functions, ResultIsTheValueAssignedToTheName) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Function F(a, b)\nF = a * b\nIf a > 0 Then Exit Function\nF = 0\nEnd Function\n"
                      "Print F(2, 3), F(-1, 3), TypeName(F(1, 1))"),
              "6 0 Integer");
    EXPECT_EQ(run.Run("Function G(): End Function\nPrint IsEmpty(G())"), "True");
}

TEST(Functions, RecursionWorksDeeply) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Function Depth(n): If n = 0 Then Depth = 0 Else Depth = 1 + Depth(n - 1)\nEnd Function\n"
                "Print Depth(3000)"),
        "3000");
}

TEST(Functions, WrongArgumentCountIsError450) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub S(a): End Sub\nS 1, 2"),
              "error 450 (2, 1): Wrong number of arguments or invalid property assignment");
    EXPECT_EQ(run.Run("Print Len()"),
              "error 450 (1, 1): Wrong number of arguments or invalid property assignment");
}

TEST(Functions, ImplicitLocalsDoNotLeakIntoGlobals) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub S: temp = 5: End Sub\nS\nPrint IsEmpty(temp)"), "True");
    EXPECT_EQ(run.Run("Dim shared\nSub T: shared = 5: End Sub\nT\nPrint shared"), "5");
}

TEST(Functions, CallingASubWithParenthesesAndSeveralArgumentsIsACompileError) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Sub S(a, b): End Sub\nS(1, 2)"),
              "error 1044 (2, 8): Cannot use parentheses when calling a Sub");
    EXPECT_EQ(run.Run("Sub S2(a, b): Print a + b: End Sub\nS2 (1) + 1, 3\nCall S2(1, 2)"), "5|3");
}

}  // namespace
}  // namespace taviro::vbscript
