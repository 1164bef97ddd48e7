// Conversion built-ins and the rules behind them.
#include "vbscript/conversions.h"

#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(Conversions, IntegersRoundHalfToEven) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "Print CInt(2.5), CInt(3.5), CInt(-2.5), CLng(1.5), CLng(\"4.5\"), Round(2.5), Round(0.125, 2)"),
        "2 4 -2 2 4 2 0.12");
    EXPECT_EQ(run.Run("Print Int(-2.5), Fix(-2.5), Int(2.7), TypeName(Int(2.7)), TypeName(Int(\"3.2\"))"),
              "-3 -2 2 Double Double");
}

TEST(Conversions, OutOfRangeValuesOverflow) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print CInt(32768)"), "error 6 (1, 1): Overflow");
    EXPECT_EQ(run.Run("Print CByte(-1)"), "error 6 (1, 1): Overflow");
    EXPECT_EQ(run.Run("x = CLng(2147483648)"), "error 6 (1, 1): Overflow");
}

TEST(Conversions, TextThatIsNotANumberIsATypeMismatch) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print CDbl(\" 12 \") + 1, CLng(\"&H10\"), CDbl(\"1e3\")"), "13 16 1000");
    EXPECT_EQ(run.Run("Print CDbl(\"$5\")"), "error 13 (1, 1): Type mismatch");
    EXPECT_EQ(run.Run("Print CLng(Null)"), "error 94 (1, 1): Invalid use of Null");
}

TEST(Conversions, BooleansReadTrueAndFalseTextAndNumbers) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print CBool(\"true\"), CBool(\"False\"), CBool(5), CBool(0), CStr(True)"),
              "True False True False True");
    EXPECT_EQ(run.Run("Print CBool(\"maybe\")"), "error 13 (1, 1): Type mismatch");
}

TEST(Conversions, TextOfEachSubtype) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "Print CStr(1E+20), CStr(0.00001), CStr(-0.5), CStr(CSng(1/3)), CStr(CCur(2.5)), CStr(Empty)"),
        "1E+20 1E-05 -0.5 0.3333333 2.5 ");
    EXPECT_EQ(run.Run("Print CStr(#1/2/2020#), CStr(#3:04:05 PM#), CStr(#2020-01-02 13:30#)"),
              "1/2/2020 3:04:05 PM 1/2/2020 1:30:00 PM");
}

TEST(Conversions, TypeNameAndVarTypeNameEverySubtype) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print TypeName(Empty), TypeName(Null), TypeName(1), TypeName(100000), TypeName(1.5), "
                "TypeName(CSng(1)), TypeName(CCur(1)), TypeName(Now), TypeName(\"\"), TypeName(Nothing), "
                "TypeName(True), TypeName(CByte(1)), TypeName(Array())"),
        "Empty Null Integer Long Double Single Currency Date String Nothing Boolean Byte Variant()");
    EXPECT_EQ(run.Run("Print VarType(Empty), VarType(\"a\"), VarType(Array(1)), VarType(CByte(1))"),
              "0 8 8204 17");
}

}  // namespace
}  // namespace taviro::vbscript
