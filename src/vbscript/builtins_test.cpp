// The built-in functions the engine provides so far.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(StringBuiltins, SliceAndSearchWithOneBasedPositions) {
    ScriptRun run;
    EXPECT_EQ(run.Run("s = \"Hello World\"\nPrint Len(s), Left(s, 5), Right(s, 5), Mid(s, 7), Mid(s, 7, 3), "
                      "Mid(s, 50)"),
              "11 Hello World World Wor ");
    EXPECT_EQ(run.Run("Print InStr(\"abcabc\", \"c\"), InStr(4, \"abcabc\", \"c\"), InStr(\"abc\", \"z\"), "
                      "InStr(1, \"ABC\", \"b\", 1), InStrRev(\"abcabc\", \"b\")"),
              "3 6 0 2 5");
    EXPECT_EQ(run.Run("Print Mid(\"abc\", 0)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print Left(\"abc\", -1)"), "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(StringBuiltins, ReplaceSplitAndJoin) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Replace(\"a-b-c\", \"-\", \"+\"), Replace(\"aXbxc\", \"x\", \"\", 1, -1, 1), "
                      "Replace(\"abcabc\", \"b\", \"B\", 3)"),
              "a+b+c abc caBc");
    EXPECT_EQ(
        run.Run("p = Split(\"a,,b\", \",\")\nPrint UBound(p), p(2), Join(p, \"/\"), UBound(Split(\"\"))"),
        "2 b a//b -1");
}

TEST(StringBuiltins, TextComparisonMatchesLatinLettersOfEitherCase) {
    ScriptRun run;
    // ChrW(201) is a capital E with acute accent, ChrW(233) its small letter.
    EXPECT_EQ(
        run.Run("t = \"xx\" & ChrW(201) & \"T\" & ChrW(201)\nw = ChrW(233) & \"t\" & ChrW(233)\n"
                "Print InStr(1, t, w, 1), InStr(1, t, w, 0), InStr(4, t, w, 1), InStr(1, t, \"XXX\", 1)"),
        "3 0 0 0");
    EXPECT_EQ(run.Run("Print InStrRev(\"AbAb\", \"ab\", -1, 1), InStrRev(\"AbAb\", \"ab\", 3, 1), "
                      "InStrRev(\"AbAb\", \"ab\"), InStrRev(\"ab\", \"ABC\", -1, 1)"),
              "3 1 0 0");
    EXPECT_EQ(run.Run("Print Replace(\"One one ONE\", \"one\", \"1\", 1, 2, 1), "
                      "Replace(\"One one ONE\", \"ONE\", \"x\", 5, -1, 1), Replace(\"aAa\", \"A\", \"\", 1, "
                      "-1, 1) = \"\""),
              "1 1 ONE x x True");
    EXPECT_EQ(run.Run("p = Split(\"aXbxc\", \"x\", -1, 1)\nq = Split(\"aXbxc\", \"x\")\n"
                      "Print UBound(p), p(2), UBound(q), q(0)"),
              "2 c 1 aXb");
}

TEST(StringBuiltins, SplitLimitsThePartsAndJoinConvertsEachElement) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("p = Split(\"a,b,c,d\", \",\", 2)\nPrint UBound(p), p(1), UBound(Split(\"a,b\", \",\", 0)), "
                "UBound(Split(\"a,b\", \",\", 5)), Split(\"a  b\")(1) = \"\""),
        "1 b,c,d -1 1 True");
    EXPECT_EQ(
        run.Run("Print Join(Array(1, Null, True, \"x\", Empty, 2.5), \"-\"), Join(Array(\"a\", \"b\")), "
                "Join(Array()) = \"\", Join(Split(\"p;q;r\", \";\"), \"\")"),
        "1--True-x--2.5 a b True pqr");
    EXPECT_EQ(run.Run("Print Join(Array(Array(1)))"), "error 13 (1, 1): Type mismatch");
}

TEST(StringBuiltins, CharactersCodesAndCase) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Asc(\"A\"), AscW(ChrW(8364)), Asc(Chr(128)), AscW(Chr(128)), UCase(\"abc\"), "
                      "LCase(\"ABC\")"),
              "65 8364 128 8364 ABC abc");
    EXPECT_EQ(run.Run("Print \"[\" & Trim(\"  x  \") & \"]\", Space(3) = \"   \", String(3, \"ab\"), "
                      "StrReverse(\"abc\")"),
              "[x] True aaa cba");
    EXPECT_EQ(run.Run("Print Len(Null), IsNull(UCase(Null))"), "Null True");
}

TEST(StringBuiltins, HexAndOctWriteTheBitsOfNegativeNumbers) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Hex(255), Hex(-1), Hex(-1&), Oct(8), Hex(65536)"), "FF FFFF FFFFFFFF 10 10000");
}

TEST(MathBuiltins, AbsSqrAndRoundKeepTheirSubtypes) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Abs(-3), TypeName(Abs(-3)), Abs(-2.5), Sqr(16), Round(3.14159, 2), Round(-2.5)"),
              "3 Integer 2.5 4 3.14 -2");
    EXPECT_EQ(run.Run("Print Sqr(-1)"), "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(MathBuiltins, RndRepeatsAfterTheSameNegativeSeed) {
    ScriptRun run;
    EXPECT_EQ(run.Run("x = Rnd(-3): a = Rnd: b = Rnd\nx = Rnd(-3): c = Rnd\nPrint a = c, a <> b, a >= 0 And "
                      "a < 1, Rnd(0) = c"),
              "True True True True");
}

TEST(MathBuiltins, TimerAndNowComeFromTheLocalTimeOfTheHost) {
    ScriptRun run;
    run.localTimeMs = 3600 * 1000 + 500;
    EXPECT_EQ(run.Run("Print Timer, Hour0()\nFunction Hour0(): Hour0 = CStr(Now): End Function"),
              "3600.5 1/1/1970 1:00:00 AM");
}

TEST(ArrayBuiltins, BoundsOfEachDimension) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Dim m(2, 5)\nPrint UBound(m), UBound(m, 2), LBound(m, 2), UBound(Array())"),
              "2 5 0 -1");
    EXPECT_EQ(run.Run("Print UBound(m, 3)"), "error 9 (1, 1): Subscript out of range");
    EXPECT_EQ(run.Run("Print UBound(5)"), "error 13 (1, 1): Type mismatch");
}

TEST(InformationBuiltins, ReportWhatAValueIs) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run(
            "Print IsEmpty(Empty), IsNull(Null), IsObject(Nothing), IsArray(Array()), IsNumeric(\" 1e3 \"), "
            "IsNumeric(\"abc\"), IsDate(\"1/2/2020\")"),
        "True True True True True False True");
}

}  // namespace
}  // namespace taviro::vbscript
