// Compiling author code for the checker, and finding the frames it names.
#include "checker/script_checks.h"

#include <gtest/gtest.h>

namespace taviro::checker {
namespace {

using Names = std::vector<std::string>;

TEST(AuthorCode, CompilesAsTheBodyOfTheEntryProcedure) {
    EXPECT_FALSE(CompileAuthorCode("x = 1\r\nIf x = 1 Then MsgBox \"one\""));
    // A procedure of its own cannot sit inside the entry procedure, as in the player.
    EXPECT_TRUE(CompileAuthorCode("Sub Inner\r\nEnd Sub"));
}

TEST(AuthorCode, FailuresGiveTheLineAndColumnOfTheAuthorsText) {
    auto failure = CompileAuthorCode("x = 1\r\ny = (2 +\r\nz = 3");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_GT(failure->column, 1);
    EXPECT_FALSE(failure->description.empty());

    // An If never closed is found at the end, which stays inside the author's lines.
    failure = CompileAuthorCode("If a Then\r\nb = 1");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
}

TEST(AuthorCode, ProceduresKeepTheirOwnLineNumbers) {
    EXPECT_FALSE(CompileProcedures("Sub A\r\nEnd Sub\r\nFunction B(x)\r\nB = x\r\nEnd Function"));
    auto failure = CompileProcedures("Sub A\r\nEnd Sub\r\nSub B\r\nx = = 1\r\nEnd Sub");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 4);
}

TEST(LiteralFrames, FoundInEveryWayOfCallingGoToFrame) {
    EXPECT_EQ(LiteralFrameNames("GoToFrame \"Hall\", 0, 0"), Names{"Hall"});
    EXPECT_EQ(LiteralFrameNames("Action.GoToFrame(\"Cellar\", 1.5, 2)"), Names{"Cellar"});
    EXPECT_EQ(LiteralFrameNames("gotoframe   \"A\"\r\nIf x Then GOTOFRAME(\"B\")"), (Names{"A", "B"}));
    EXPECT_EQ(LiteralFrameNames("GoToFrame \"Say \"\"hi\"\"\""), Names{"Say \"hi\""});
}

TEST(LiteralFrames, NamesThatAreNotLiteralOrNotCallsAreLeftOut) {
    EXPECT_TRUE(LiteralFrameNames("GoToFrame name, 0, 0").empty());
    EXPECT_TRUE(LiteralFrameNames("MyGoToFrame \"Hall\"").empty());
    EXPECT_TRUE(LiteralFrameNames("GoToFrameSoon \"Hall\"").empty());
    EXPECT_TRUE(LiteralFrameNames("' GoToFrame \"Old\"\r\nRem GoToFrame \"Older\"").empty());
    EXPECT_TRUE(LiteralFrameNames("GoToFrame \"unterminated").empty());
    EXPECT_EQ(LiteralFrameNames("x = \"it's\" : GoToFrame \"Hall\""), Names{"Hall"});
}

TEST(LiteralFrames, TimedEventCodeIsTheSecondArgument) {
    EXPECT_EQ(LiteralTimedEventCode("CreateTimedEvent 5, \"GoToFrame \"\"Hall\"\"\", False"),
              Names{"GoToFrame \"Hall\""});
    EXPECT_EQ(LiteralTimedEventCode("n = Action.CreateTimedEvent(Max(1, 2), \"x = 1\", True)"),
              Names{"x = 1"});
    EXPECT_EQ(LiteralTimedEventCode("CreateTimedEvent \"5\", \"a\" : CreateTimedEvent 1, code"), Names{"a"});
    EXPECT_TRUE(LiteralTimedEventCode("CreateTimedEvent 5, code, False").empty());
}

TEST(LiteralFrames, QuitAndLastVisitedFrameAreDestinations) {
    EXPECT_TRUE(IsSpecialDestination("[quit]"));
    EXPECT_TRUE(IsSpecialDestination("[Last Visited Frame]"));
    EXPECT_TRUE(IsSpecialDestination("last visited frame"));
    EXPECT_FALSE(IsSpecialDestination("quit"));
    EXPECT_FALSE(IsSpecialDestination("Hall"));
}

}  // namespace
}  // namespace taviro::checker
