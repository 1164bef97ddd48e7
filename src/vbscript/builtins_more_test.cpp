// Built-ins on bytes and escapes, Filter, number formats, trigonometry, named constants, the engine's
// identity and the host's dialogs.
#include <gtest/gtest.h>

#include <optional>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(ByteBuiltins, CountBytesOfUtf16Text) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print LenB(\"abc\"), LenB(\"\"), IsNull(LenB(Null)), AscB(\"A\"), AscB(ChrW(&H1234)), "
                      "TypeName(AscB(\"A\"))"),
              "6 0 True 65 52 Byte");
    EXPECT_EQ(run.Run("Print LeftB(\"abc\", 4), RightB(\"abc\", 2), MidB(\"abcd\", 3, 4), MidB(\"abc\", 5), "
                      "\"[\" & MidB(\"abc\", 9) & \"]\", LeftB(\"ab\", 100)"),
              "ab c bc c [] ab");
    EXPECT_EQ(run.Run("Print InStrB(\"abc\", \"c\"), InStrB(\"abc\", \"z\"), InStrB(3, \"abab\", \"a\"), "
                      "InStrB(\"abc\", \"\")"),
              "5 0 5 1");
    EXPECT_EQ(run.Run("Print AscB(\"\")"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print MidB(\"abc\", 0)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print LeftB(\"abc\", -1)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print ChrB(256)"), "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(EscapeBuiltins, EscapeAndUnescapeAreInverse) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Escape(\"a b+@*_-./\"), Escape(\"100%\"), Escape(ChrW(233) & ChrW(8364))"),
              "a%20b+@*_-./ 100%25 %E9%u20AC");
    EXPECT_EQ(
        run.Run(
            "s = \"x=1&y=\" & ChrW(8364) & \"?\"\nPrint Unescape(Escape(s)) = s, Unescape(\"%41%u0042\"), "
            "Unescape(\"%zz%4\"), IsNull(Escape(Null))"),
        "True AB %zz%4 True");
}

TEST(FilterBuiltin, KeepsOrDropsStringsContainingTheValue) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("a = Array(\"apple\", \"Banana\", \"cherry\", 42)\nPrint Join(Filter(a, \"an\"), \",\"), "
                "Join(Filter(a, \"AN\", True, vbTextCompare), \",\"), Join(Filter(a, \"an\", False), \",\"), "
                "Join(Filter(a, \"4\"))"),
        "Banana Banana apple,cherry,42 42");
    EXPECT_EQ(run.Run("Print UBound(Filter(Array(\"a\"), \"z\")), UBound(Filter(Array(), \"z\"))"), "-1 -1");
    EXPECT_EQ(run.Run("Print Filter(\"abc\", \"a\")"), "error 13 (1, 1): Type mismatch");
    EXPECT_EQ(run.Run("Print Filter(Null, \"a\")"), "error 94 (1, 1): Invalid use of Null");
    EXPECT_EQ(run.Run("Dim m(1, 1)\nPrint Filter(m, \"a\")"), "error 13 (2, 1): Type mismatch");
}

TEST(NumberFormats, FormatNumberRoundsAndGroups) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print FormatNumber(1234567.891), FormatNumber(0.125), FormatNumber(2.5, 0), "
                      "FormatNumber(-1234.5, 1), FormatNumber(1234, -1), FormatNumber(\"1e3\", 0)"),
              "1,234,567.89 0.13 3 -1,234.5 1,234.00 1,000");
    EXPECT_EQ(
        run.Run("Print FormatNumber(0.5, 2, vbFalse), FormatNumber(-0.5, 2, 0, vbTrue), "
                "FormatNumber(1234.5, 2, vbUseDefault, vbUseDefault, vbFalse), FormatNumber(-0.001, 2)"),
        ".50 (.50) 1234.50 0.00");
    EXPECT_EQ(run.Run("Print FormatNumber(1E+20, 0), FormatNumber(999.999, 2), FormatNumber(0, 3)"),
              "100,000,000,000,000,000,000 1,000.00 0.000");
    EXPECT_EQ(run.Run("Print FormatNumber(\"abc\")"), "error 13 (1, 1): Type mismatch");
    EXPECT_EQ(run.Run("Print FormatNumber(1, -2)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print FormatNumber(Null)"), "error 94 (1, 1): Invalid use of Null");
}

TEST(NumberFormats, CurrencyAndPercent) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print FormatCurrency(1234.567), FormatCurrency(-1234.5), FormatCurrency(-5, 0, , vbFalse), "
                "FormatCurrency(0.5, 2, vbFalse)"),
        "$1,234.57 ($1,234.50) -$5 $.50");
    EXPECT_EQ(run.Run("Print FormatPercent(0.125), FormatPercent(1, 0), FormatPercent(-0.5), "
                      "FormatPercent(12.3456, 1)"),
              "12.50% 100% -50.00% 1,234.6%");
}

TEST(MathBuiltins, TrigonometryExponentsAndLogarithms) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Atn(1) * 4, Cos(0), Sin(0), Tan(0), Exp(0), Log(1), Round(Log(Exp(2)), 10), "
                      "TypeName(Cos(0))"),
              "3.14159265358979 1 0 0 1 0 2 Double");
    EXPECT_EQ(run.Run("Print IsNull(Sin(Null)), Exp(\"1\") > 2.718"), "True True");
    EXPECT_EQ(run.Run("Print Log(0)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print Log(-1)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print Exp(1000)"), "error 6 (1, 1): Overflow");
    EXPECT_EQ(run.Run("Print Cos(\"x\")"), "error 13 (1, 1): Type mismatch");
}

TEST(MathBuiltins, RgbPutsRedInTheLowByte) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print RGB(255, 0, 0), RGB(0, 0, 255) = vbBlue, RGB(300, 128, 0), TypeName(RGB(1, 2, 3))"),
        "255 True 33023 Long");
    EXPECT_EQ(run.Run("Print RGB(-1, 0, 0)"), "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(MathBuiltins, RandomizeRepeatsOnlyAfterANegativeRnd) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("x = Rnd(-1): Randomize 7: a = Rnd: b = Rnd\nx = Rnd(-1): Randomize 7: c = Rnd: d = Rnd\n"
                "Print a = c, b = d, a <> b"),
        "True True True");
    // Without Rnd(-1) the seed keeps bits of the sequence so far: the same number starts elsewhere.
    EXPECT_EQ(run.Run("Randomize 7: e = Rnd: f = Rnd\nRandomize 7: g = Rnd\nPrint e = g"), "False");
}

TEST(RoundingRules, BankersRoundingInConversionsAndRound) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print CInt(2.5), CInt(3.5), CInt(-2.5), CLng(0.5), CLng(1.5), CByte(254.5), Round(0.5), "
                "Round(1.5), Round(2.675, 2), Round(-1.005, 2)"),
        "2 4 -2 0 2 254 0 2 2.68 -1");
    EXPECT_EQ(run.Run("Print CInt(32767.5)"), "error 6 (1, 1): Overflow");
    EXPECT_EQ(run.Run("Print Round(1.5, -1)"), "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(NamedConstants, ValuesAndSubtypes) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print vbOKCancel, vbYesNoCancel, vbCritical + vbDefaultButton2, vbInformation, vbYes, vbNo, "
                "vbSaturday, vbFirstFullWeek, vbShortTime, vbUseDefault, vbTrue"),
        "1 3 272 64 6 7 7 3 4 -2 -1");
    EXPECT_EQ(run.Run("Print vbWhite, vbRed, vbCyan, TypeName(vbWhite), TypeName(vbOK), vbObjectError, "
                      "Len(vbCrLf), Asc(vbFormFeed), Asc(vbVerticalTab)"),
              "16777215 255 16776960 Long Integer -2147221504 2 12 11");
    EXPECT_EQ(run.Run("vbOK = 3"), "error 501 (1, 1): Illegal assignment");
}

TEST(EngineIdentity, ScriptEngineAndLocale) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print ScriptEngine, ScriptEngineMajorVersion, ScriptEngineMinorVersion, "
                      "ScriptEngineBuildVersion > 0, GetLocale"),
              "VBScript 5 8 True 1033");
    EXPECT_EQ(run.Run("Print SetLocale(1031), GetLocale, CStr(1.5), SetLocale(\"en-us\"), GetLocale"),
              "1033 1031 1,5 1031 1033");
    EXPECT_EQ(run.Run("Print SetLocale(\"xx-nowhere\")"),
              "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(EvalBuiltin, EvaluatesTextAsAnExpression) {
    ScriptRun run;
    EXPECT_EQ(run.Run("x = 4\nPrint Eval(\"x * 2 + 1\"), Eval(\"x = 4\"), TypeName(Eval(\"1.5\"))"),
              "9 True Double");
    EXPECT_EQ(run.Run("Function F(n): F = Eval(\"n + 1\"): End Function\nPrint F(41)"), "42");
    EXPECT_EQ(run.Run("Print Eval(\"1 +\")").substr(0, 10), "error 1023");
}

// Answers the script's dialogs from a list and records what was shown.
class ScriptedDialogs final : public DialogService {
public:
    int32_t MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) override {
        shown.push_back(ToText(prompt) + "/" + std::to_string(buttons) + "/" + ToText(title));
        return messageAnswer;
    }
    std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override {
        shown.push_back(ToText(prompt) + "/" + ToText(title) + "/" + ToText(defaultText));
        return inputAnswer;
    }
    static std::string ToText(std::u16string_view text) { return std::string(text.begin(), text.end()); }

    std::vector<std::string> shown;
    int32_t messageAnswer = 1;
    std::optional<std::u16string> inputAnswer;
};

TEST(HostDialogs, MsgBoxAndInputBoxGoThroughTheDialogService) {
    ScriptRun run;
    ScriptedDialogs dialogs;
    run.engine.SetDialogService(&dialogs);
    dialogs.messageAnswer = 7;
    dialogs.inputAnswer = u"Alice";
    EXPECT_EQ(run.Run("r = MsgBox(\"Quit?\", vbYesNo + vbQuestion, \"Game\")\nPrint r = vbNo, TypeName(r)\n"
                      "MsgBox \"Hi\"\nPrint InputBox(\"Name?\", \"Who\", \"Bob\")"),
              "True Integer|Alice");
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0], "Quit?/36/Game");
    EXPECT_EQ(dialogs.shown[1], "Hi/0/");
    EXPECT_EQ(dialogs.shown[2], "Name?/Who/Bob");
    dialogs.inputAnswer.reset();
    EXPECT_EQ(run.Run("s = InputBox(\"Name?\")\nPrint \"[\" & s & \"]\", TypeName(s)"), "[] String");
    run.engine.SetDialogService(nullptr);
    EXPECT_EQ(run.Run("MsgBox \"x\""), "error 70 (1, 1): Permission denied");
}

}  // namespace
}  // namespace taviro::vbscript
