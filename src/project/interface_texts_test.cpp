#include "project/interface_texts.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"

namespace taviro::project {
namespace {

TEST(InterfaceTexts, TwoWordings) {
    InterfaceTexts texts;
    texts.SetDefaultTexts(false);
    EXPECT_EQ(texts[1], "Start");
    EXPECT_EQ(texts[2], "  Load...");
    EXPECT_EQ(texts[29], "Error");
    EXPECT_EQ(texts[37], "CD-Rom drive:");
    texts.SetDefaultTexts(true);
    EXPECT_EQ(texts[1], "Start New Game");
    EXPECT_EQ(
        texts[30],
        "An error has occurred. The game may not work properly. Click OK and then press Ctrl+Q to quit.");
    EXPECT_EQ(texts[37], "CD-ROM Drive:");
    EXPECT_EQ(texts[52], "Toggle Full-Screen / Windowed Mode");
    EXPECT_EQ(texts[0], "");
    EXPECT_EQ(texts[53], "");
    EXPECT_EQ(texts[61], "");
}

TEST(InterfaceTexts, FirstFieldChoosesTheContent) {
    InterfaceTexts program, game, unknown;
    FieldReader zero("0\r\n"), one("1\r\n"), five("5\r\n");
    program.ReadInterfaceTexts(zero);
    game.ReadInterfaceTexts(one);
    unknown.ReadInterfaceTexts(five);
    EXPECT_EQ(program[1], "Start");
    EXPECT_EQ(game[1], "Start New Game");
    for (const std::string& text : unknown.all()) EXPECT_EQ(text, "");
}

TEST(InterfaceTexts, CustomTextsReplaceTheFirstEntriesOnly) {
    InterfaceTexts texts;
    texts.SetDefaultTexts(true);
    FieldReader reader("2\r\n\"a\",\"b\",\"c\",\"d\",\"e\"\r\n3\r\n\"Go\",\"Restore\",\"Leave\"\r\n");
    texts.ReadInterfaceTexts(reader);
    EXPECT_EQ(texts[1], "Go");
    EXPECT_EQ(texts[3], "Leave");
    EXPECT_EQ(texts[8], "  Save...");  // the program wording, not the game wording set before
}

TEST(InterfaceTexts, TooManyCustomTextsStopAfterTheTable) {
    InterfaceTexts texts;
    std::string file = "2,0,0,0,0,0,61";
    for (int i = 1; i <= 61; ++i) file += ",\"t" + std::to_string(i) + "\"";
    FieldReader reader(file);
    EXPECT_THROW(texts.ReadInterfaceTexts(reader), GameError);
    EXPECT_EQ(texts[60], "t60");
}

}  // namespace
}  // namespace taviro::project
