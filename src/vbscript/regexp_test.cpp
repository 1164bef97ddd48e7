// RegExp: its options, Test, Execute with Matches, Match and SubMatches, and Replace's $ forms.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

// Runs code after "Set re = New RegExp".
std::string WithRegExp(ScriptRun& run, const std::string& code) {
    return run.Run("Set re = New RegExp\n" + code);
}

TEST(RegExp, TestHonoursIgnoreCaseAndMultiline) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"^b\"\nPrint re.Test(\"a\" & vbLf & \"B\"), TypeName(re)\n"
                         "re.IgnoreCase = True\nPrint re.Test(\"a\" & vbLf & \"B\")\nre.Multiline = True\n"
                         "Print re.Test(\"a\" & vbLf & \"B\")"),
              "False IRegExp2|False|True");
    // $ without Multiline matches only at the very end, not before a final line break.
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"a$\"\nPrint re.Test(\"a\" & vbLf), re.Test(\"ba\")"),
              "False True");
    EXPECT_EQ(
        WithRegExp(run, "Print re.Pattern = \"\", re.Global, re.IgnoreCase, re.Multiline, re.Test(\"x\")"),
        "True False False False True");
}

TEST(RegExp, AcceptsJavaScriptEscapesAndClasses) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"\\u00e9\\x41[^]\"\nPrint re.Test(ChrW(233) & \"Az\"), "
                         "re.Test(\"eAz\")"),
              "True False");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"(a)|\\1b\"\nPrint re.Test(\"b\")"), "True");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"\\d+\\s\\w\"\nPrint re.Test(\"12 x\"), re.Test(\"12x\")"),
              "True False");
}

TEST(RegExp, ExecuteListsMatchesWithPositionsAndGroups) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"(\\w+)@(\\w+)\\.com\"\nre.Global = True\n"
                         "Set ms = re.Execute(\"joe@x.com, ann@yy.com\")\n"
                         "Print ms.Count, ms(0).Value, ms(0).FirstIndex, ms(1).FirstIndex, ms(1).Length\n"
                         "Print ms(1).SubMatches.Count, ms(1).SubMatches(0), ms.Item(1).SubMatches.Item(1)\n"
                         "For Each m In ms: Print m: Next\nPrint TypeName(ms), TypeName(ms(0))"),
              "2 joe@x.com 0 11 10|2 ann yy|joe@x.com|ann@yy.com|IMatchCollection2 IMatch2");
    // Without Global only the first match is returned.
    EXPECT_EQ(
        WithRegExp(run, "re.Pattern = \"o\"\nPrint re.Execute(\"foo\").Count, re.Execute(\"xyz\").Count"),
        "1 0");
}

TEST(RegExp, GroupsThatTookNoPartAreEmpty) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"(a)|(b)\"\nSet m = re.Execute(\"b\")(0)\n"
                         "Print IsEmpty(m.SubMatches(0)), m.SubMatches(1)"),
              "True b");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"(a)\"\nPrint re.Execute(\"a\")(0).SubMatches(1)"),
              "error 5 (3, 1): Invalid procedure call or argument");
}

TEST(RegExp, EmptyMatchesAdvanceOneCharacter) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"x*\"\nre.Global = True\nPrint re.Execute(\"abc\").Count, "
                         "re.Replace(\"abc\", \"-\")"),
              "4 -a-b-c-");
}

TEST(RegExp, ReplaceExpandsDollarForms) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"(\\w+) (\\w+)\"\n"
                         "Print re.Replace(\"hello world!\", \"$2 $1|$&|$`|$'|$$|$3|$0|$\")"),
              "world hello|hello world||!|$|$3|$0|$!");
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"a\"\nPrint re.Replace(\"banana\", \"o\")\nre.Global = True\n"
                         "Print re.Replace(\"banana\", \"o\")"),
              "bonana|bonono");
    // $10 is group 10 when there are ten groups; otherwise group 1 followed by "0".
    EXPECT_EQ(WithRegExp(run,
                         "re.Pattern = \"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\"\n"
                         "Print re.Replace(\"abcdefghij\", \"$10-$11\")\nre.Pattern = \"(a)\"\n"
                         "Print re.Replace(\"a\", \"$10\")"),
              "j-a1|a0");
}

TEST(RegExp, BadPatternsRaiseWhenUsed) {
    ScriptRun run;
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"(a\"\nPrint \"set\"\nPrint re.Test(\"a\")"),
              "set|error 5020 (4, 1): Expected ')' in regular expression");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"[a\"\nPrint re.Test(\"a\")"),
              "error 5019 (3, 1): Expected ']' in regular expression");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"*a\"\nPrint re.Test(\"a\")"),
              "error 5018 (3, 1): Unexpected quantifier");
    EXPECT_EQ(WithRegExp(run, "re.Pattern = \"[z-a]\"\nPrint re.Test(\"a\")"),
              "error 5021 (3, 1): Invalid range in character set");
    EXPECT_EQ(WithRegExp(run, "Print re.Test(Null)"), "error 94 (2, 1): Invalid use of Null");
}

TEST(RegExp, ClassOfTheSameNameComesFirst) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class RegExp\nPublic Pattern\nEnd Class\nSet r = New RegExp\nPrint TypeName(r)"),
              "RegExp");
}

}  // namespace
}  // namespace taviro::vbscript
