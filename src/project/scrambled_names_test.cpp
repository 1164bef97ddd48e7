#include "project/scrambled_names.h"

#include <gtest/gtest.h>

namespace taviro::project {
namespace {

TEST(ScrambledFileName, WithoutNameOnlyTheExtensionCodeCounts) {
    EXPECT_EQ(ScrambledFileName("/game/Icons/arrow.cur", true, false), "/game/Icons/arrow.003");
    EXPECT_EQ(ScrambledFileName("C:\\Game\\Icons\\arrow.cur", true, false), "C:\\Game\\Icons\\arrow.003");
}

TEST(ScrambledFileName, FirstThreeLettersOfTheTitleMixIntoTheCode) {
    // |97 x 2 - 98 + 99 x 1| + 4 = 199
    EXPECT_EQ(ScrambledFileName("/game/Frames/abc.bmp", false, false), "/game/Frames/abc.199");
    // Letters are lowered first.
    EXPECT_EQ(ScrambledFileName("/game/Frames/ABC.BMP", false, false), "/game/Frames/ABC.199");
}

TEST(ScrambledFileName, CodeIsWrittenWithAtLeastThreeDigits) {
    // ".gif" is 6: |122 x 1 - 122 + 122 x 1| + 6 = 128 for "zzz"; ".wmf" alone is 7.
    EXPECT_EQ(ScrambledFileName("zzzzz.gif", false, false), "zzzzz.128");
    EXPECT_EQ(ScrambledFileName("hello.wmf", true, false), "hello.007");
    // ".wav" is 10: |104 x 2 - 101 + 108 x 1| + 10 = 225 for "hello".
    EXPECT_EQ(ScrambledFileName("hello.wav", false, true), "hello.225");
}

TEST(ScrambledFileName, MediaCodesNeedTheMediaFlag) {
    EXPECT_EQ(ScrambledFileName("/game/Areas/music.wav", false, false), "/game/Areas/music.wav");
    EXPECT_EQ(ScrambledFileName("/game/Areas/music.mid", true, true), "/game/Areas/music.011");
}

TEST(ScrambledFileName, ShortTitlesAndUnknownExtensionsKeepTheirNames) {
    EXPECT_EQ(ScrambledFileName("/game/Frames/.gif", false, false), "/game/Frames/.gif");
    // Five characters are enough: |97 x 1 - 46 + 103 x 1| + 6 = 160.
    EXPECT_EQ(ScrambledFileName("/game/Frames/a.gif", false, false), "/game/Frames/a.160");
    EXPECT_EQ(ScrambledFileName("/game/Areas/song.midi", false, true), "/game/Areas/song.midi");
    EXPECT_EQ(ScrambledFileName("/game/Areas/noise.au", false, true), "/game/Areas/noise.au");
    EXPECT_EQ(ScrambledFileName("", false, true), "");
}

TEST(UnscrambleText, HeaderIsNeverPartOfTheOutput) {
    EXPECT_EQ(UnscrambleText("", 0), "");
    EXPECT_EQ(UnscrambleText("A", 12345), "");
    EXPECT_EQ(UnscrambleTextQuoted("A", 100), "");
}

TEST(UnscrambleText, BodyIsShiftedAndReversed) {
    // Header " " gives h = 0; with p = 0 the first body character read (the last one) is shifted
    // by 0 x factor(0) = 0, the next by 1 x factor(1) = 'm' - 32 = 77.
    std::string line = " ";
    line += static_cast<char>(32 + (('b' - 32 + 77) % 94));  // read second: i = 1
    line += 'a';                                             // read first: i = 0, no shift
    EXPECT_EQ(UnscrambleText(line, 0), "ab");
}

TEST(UnscrambleText, CharactersOutsideTheRangePassThroughReversed) {
    std::string line = " \t\x7f";
    EXPECT_EQ(UnscrambleText(line, 0), "\x7f\t");
}

TEST(UnscrambleTextQuoted, BlankAndQuoteAreExchangedAroundTheShift) {
    // Header "#" gives h = 0; with p = 0 and i = 0 there is no shift, so a blank stays a blank
    // and a quote stays a quote after the double exchange.
    EXPECT_EQ(UnscrambleTextQuoted("#\"", 0), "\"");
    EXPECT_EQ(UnscrambleTextQuoted("# ", 0), " ");
    // With p = 93 the shift is a whole turn of the 93-character range: unchanged.
    EXPECT_EQ(UnscrambleTextQuoted("#x", 93), "x");
}

TEST(NameSum, AddsCharacterCodesAndSkipsOverflow) {
    EXPECT_EQ(NameSum("AB"), 65 + 66);
    EXPECT_EQ(NameSum(""), 0);
    EXPECT_EQ(NameSum("\xff"), 255);
}

}  // namespace
}  // namespace taviro::project
