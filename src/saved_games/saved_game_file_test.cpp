// The ".sav" file: the bytes a known game gives, files of older versions, values of every kind,
// and files that are broken or lie about their counts.
#include "saved_games/saved_game_file.h"

#include <gtest/gtest.h>

#include "vbscript/date_time.h"
#include "vbscript/number_text.h"

namespace taviro::saved_games {
namespace {

using vbscript::Variant;
using vbscript::VarType;

SavedGame KnownGame() {
    SavedGame game;
    game.location = "Hall";
    game.variables = {{"Door", 1}, {"Lamp", -1}};
    game.removedHotspots = {{"Hall", 2}};
    game.items = {"Key", "Lit Candle"};
    game.history = std::vector<std::string>{"Hall", "Garden"};
    game.projectName = "Demo";
    game.projectTitle = "The Demo";
    game.date = SaveDateText(2024, 7, 4);
    double when = vbscript::ToSerialDate({2024, 7, 4, 10, 30, 0});
    game.variants.emplace();
    game.variants->emplace_back("Score", Variant(int16_t{35}));
    game.variants->emplace_back("Greeting", Variant(u"Hi, there"));
    game.variants->emplace_back("When", Variant::Date(when));
    game.variants->emplace_back("Box", Variant::Nothing());
    game.variants->emplace_back("Nothing", Variant());
    game.variants->emplace_back("Flag", Variant(true));
    game.variants->emplace_back("Half", Variant(0.5));
    return game;
}

constexpr char kKnownFile[] =
    "\"Hall\"\r\n"
    "2\r\n\"Door\",1\r\n\"Lamp\",-1\r\n"
    "1\r\n\"Hall\",2\r\n"
    "2\r\n\"Key\"\r\n\"Lit Candle\"\r\n"
    "2\r\n\"Hall\"\r\n\"Garden\"\r\n"
    "\"\"\r\n\"\"\r\n\"\"\r\n\"Demo\"\r\n\"The Demo\"\r\n\"07/04/2024\"\r\n\"Version 4.7.1\"\r\n"
    "7\r\n"
    "\"Score\",35\r\n"
    "\"Greeting\",\"Hi, there\"\r\n"
    "\"When\",#2024-07-04 10:30:00#\r\n"
    "\"Box\",\"INTERNAL-IGNORE-VALUE\"\r\n"
    "\"Nothing\",\r\n"
    "\"Flag\",#TRUE#\r\n"
    "\"Half\",.5\r\n";

TEST(SavedGameFile, KnownGameIsWrittenByteForByte) { EXPECT_EQ(WriteSavedGame(KnownGame()), kKnownFile); }

TEST(SavedGameFile, WrittenGameReadsBackWithEveryKindOfValue) {
    SavedGameReading reading = ReadSavedGame(kKnownFile);
    ASSERT_FALSE(reading.failure);
    const SavedGame& game = reading.game;
    EXPECT_EQ(game.location, "Hall");
    EXPECT_EQ(game.variables, (std::vector<std::pair<std::string, int16_t>>{{"Door", 1}, {"Lamp", -1}}));
    EXPECT_EQ(game.removedHotspots, (std::vector<std::pair<std::string, int16_t>>{{"Hall", 2}}));
    EXPECT_EQ(game.items, (std::vector<std::string>{"Key", "Lit Candle"}));
    EXPECT_EQ(game.history, (std::vector<std::string>{"Hall", "Garden"}));
    ASSERT_TRUE(game.variants);
    const auto& variants = *game.variants;
    ASSERT_EQ(variants.size(), 7u);
    EXPECT_EQ(variants[0].second->type(), VarType::Integer);
    EXPECT_EQ(variants[0].second->integer(), 35);
    EXPECT_EQ(vbscript::ToUtf8(variants[1].second->string()), "Hi, there");
    ASSERT_EQ(variants[2].second->type(), VarType::Date);
    EXPECT_DOUBLE_EQ(variants[2].second->doubleValue(), vbscript::ToSerialDate({2024, 7, 4, 10, 30, 0}));
    EXPECT_FALSE(variants[3].second) << "an object comes back as the marker, not a value";
    EXPECT_TRUE(variants[4].second->IsEmpty());
    EXPECT_EQ(variants[5].second->type(), VarType::Boolean);
    EXPECT_DOUBLE_EQ(variants[6].second->doubleValue(), 0.5);
}

TEST(SavedGameFile, DatesWithoutTimeOrWithoutDayAreWrittenAsWriteDoes) {
    SavedGame game;
    game.variants.emplace();
    game.variants->emplace_back("Day", Variant::Date(vbscript::ToSerialDate({2001, 2, 3, 0, 0, 0})));
    game.variants->emplace_back("Time", Variant::Date(vbscript::ToSerialDate({1899, 12, 30, 8, 5, 9})));
    std::string text = WriteSavedGame(game);
    EXPECT_NE(text.find("\"Day\",#2001-02-03#\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Time\",#08:05:09#\r\n"), std::string::npos);
    SavedGameReading reading = ReadSavedGame(text);
    ASSERT_FALSE(reading.failure);
    EXPECT_EQ((*reading.game.variants)[0].second->type(), VarType::Date);
    EXPECT_EQ((*reading.game.variants)[1].second->type(), VarType::Date);
}

TEST(SavedGameFile, QuotedTextThatLooksLikeADateStaysText) {
    SavedGameReading reading = ReadSavedGame(
        "\"F\"\r\n0\r\n0\r\n0\r\n0\r\n\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n1\r\n\"V\",\"#2001-02-03#\"\r\n");
    ASSERT_FALSE(reading.failure);
    EXPECT_EQ((*reading.game.variants)[0].second->type(), VarType::String);
}

TEST(SavedGameFile, SaveDateHasTwoDigitMonthAndDay) {
    EXPECT_EQ(SaveDateText(2024, 7, 4), "07/04/2024");
    EXPECT_EQ(SaveDateText(1999, 12, 31), "12/31/1999");
}

TEST(SavedGameFile, OlderFilesWithAnyGroupingLoadWithoutTheLaterParts) {
    // Written by a version that ended after the inventory, fields grouped on few lines.
    SavedGameReading afterItems = ReadSavedGame("\"Shop\",2,\"Door\",1,\"Lamp\",0\r\n0\r\n1,\"Key\"\r\n");
    ASSERT_FALSE(afterItems.failure);
    EXPECT_EQ(afterItems.game.location, "Shop");
    EXPECT_EQ(afterItems.game.variables.size(), 2u);
    EXPECT_EQ(afterItems.game.items, std::vector<std::string>{"Key"});
    EXPECT_FALSE(afterItems.game.history);
    EXPECT_FALSE(afterItems.game.variants);

    SavedGameReading afterHistory = ReadSavedGame("\"Hall\"\r\n0\r\n0\r\n0\r\n1\r\n\"Hall\"\r\n");
    ASSERT_FALSE(afterHistory.failure);
    EXPECT_EQ(afterHistory.game.history, std::vector<std::string>{"Hall"});
    EXPECT_FALSE(afterHistory.game.variants);

    SavedGameReading afterVersion =
        ReadSavedGame("\"Hall\",0,0,0,0,\"\",\"\",\"\",\"P\",\"T\",\"01/02/2003\",\"Version 4.0\"\r\n");
    ASSERT_FALSE(afterVersion.failure);
    EXPECT_TRUE(afterVersion.game.history);
    EXPECT_FALSE(afterVersion.game.variants);
}

TEST(SavedGameFile, CountsThatPromiseMoreThanTheFileHoldsFailAfterWhatIsThere) {
    SavedGameReading items = ReadSavedGame("\"Hall\"\r\n0\r\n0\r\n1000000\r\n\"A\"\r\n\"B\"\r\n\"C\"\r\n");
    ASSERT_TRUE(items.failure);
    EXPECT_EQ(items.failure->number(), 62);
    EXPECT_EQ(items.game.items, (std::vector<std::string>{"A", "B", "C"}));

    SavedGameReading variables = ReadSavedGame("\"Hall\"\r\n40000\r\n");
    ASSERT_TRUE(variables.failure);
    EXPECT_EQ(variables.failure->number(), 6) << "the variables' count is an Integer";

    SavedGameReading text = ReadSavedGame("\"Hall\"\r\n0\r\n\"many\"\r\n");
    ASSERT_TRUE(text.failure);
    EXPECT_EQ(text.failure->number(), 13);
}

TEST(SavedGameFile, EmptyAndBinaryFilesFailWithoutHarm) {
    EXPECT_EQ(ReadSavedGame("").failure->number(), 62);
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
    SavedGameReading reading = ReadSavedGame(binary);
    EXPECT_TRUE(reading.failure);
}

}  // namespace
}  // namespace taviro::saved_games
