#include "frames/frame_settings.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "project/field_value.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

string FirstGroup() {
    return FieldsLine({1.0, string("hall.jpg"), false, false, string("theme.mid"), true, string("1500"),
                       string("Garden"), string(""), string("")});
}

FrameSettings Read(const string& text) {
    project::FieldReader reader(text);
    FrameSettings settings;
    ReadFrameSettings(reader, settings);
    return settings;
}

TEST(FrameSettings, FileEndingAfterTheFirstGroupKeepsEveryDefault) {
    FrameSettings settings = Read(FirstGroup());
    EXPECT_EQ(settings.header.backgroundValue, "hall.jpg");
    EXPECT_EQ(settings.music, "theme.mid");
    EXPECT_TRUE(settings.timerOn);
    EXPECT_DOUBLE_EQ(project::NumericValue(settings.timerDelayMs), 1500);
    EXPECT_EQ(settings.timerDestination, "Garden");
    EXPECT_FALSE(settings.stopAllSounds);
    EXPECT_FALSE(settings.videoByPositionOnly);
    EXPECT_TRUE(settings.musicLoops);
    EXPECT_FALSE(settings.TimerTransitionEnabled);
    EXPECT_FALSE(settings.runFrameScript);
    EXPECT_TRUE(settings.channels.empty());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(settings.pluginData));
}

string FullFile(double valuesPerRecord) {
    string file = FirstGroup();
    file += FieldsLine({true, false, string("bird.wav")});
    file += FieldsLine({0.0, 0.0, 0.0, false, true, 10.0, 20.0, 300.0, 200.0});
    file += FieldsLine({false});
    file += FieldsLine({true, 2500.0});
    file += FieldsLine({7.0});
    file += FieldsLine({true, string("MsgBox |Hello|")});
    file += FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, string("2000"), 0.0, valuesPerRecord, 2.0});
    file += FieldsLine({3.0, true, false, 5.0, string("rain.wav")});
    file += FieldsLine({4.0, false, false, 8.0, string("")});
    file += FieldsLine({true});
    file += FieldsLine({string("plugin data")});
    return file;
}

TEST(FrameSettings, EveryGroupIsRead) {
    FrameSettings settings = Read(FullFile(5));
    EXPECT_TRUE(settings.stopAllSounds);
    EXPECT_EQ(settings.frameSound, "bird.wav");
    EXPECT_TRUE(settings.videoByPositionOnly);
    EXPECT_EQ(settings.videoLeft, 10);
    EXPECT_EQ(settings.videoHeight, 200);
    EXPECT_FALSE(settings.musicLoops);
    EXPECT_TRUE(settings.TimerTransitionEnabled);
    EXPECT_EQ(settings.TimerTransitionDuration, 2500);
    EXPECT_EQ(settings.TimerTransitionType, 7);
    EXPECT_EQ(settings.frameScript, "MsgBox \"Hello\"");
    ASSERT_EQ(settings.channels.size(), 2u);
    EXPECT_EQ(project::ToInteger(settings.channels[0].mode), 3);
    EXPECT_EQ(project::ToText(settings.channels[0].file), "rain.wav");
    EXPECT_DOUBLE_EQ(project::ToDouble(settings.channels[1].level), 8);
    EXPECT_TRUE(settings.videoBeforeFrame);
    EXPECT_EQ(project::ToText(settings.pluginData), "plugin data");
}

TEST(FrameSettings, MoreThanFiveValuesPerRecordEndsTheReading) {
    FrameSettings settings = Read(FullFile(6));
    EXPECT_TRUE(settings.channels.empty());
    EXPECT_FALSE(settings.videoBeforeFrame);
    EXPECT_EQ(settings.frameScript, "MsgBox \"Hello\"");
}

TEST(FrameSettings, ShortRecordsLeaveMissingValuesEmpty) {
    project::FieldReader reader(
        FirstGroup() + FieldsLine({false, false, string("")}) +
        FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({true}) +
        FieldsLine({false, 0.0}) + FieldsLine({0.0}) + FieldsLine({false, string("")}) +
        FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, string(""), 0.0, 2.0, 1.0}) + FieldsLine({3.0, true}));
    FrameSettings settings;
    ReadFrameSettings(reader, settings);
    ASSERT_EQ(settings.channels.size(), 1u);
    EXPECT_TRUE(project::ToBoolean(settings.channels[0].fade));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(settings.channels[0].file));
}

TEST(FrameSettings, FileEndingInsideAGroupIsAReadError) {
    project::FieldReader reader(FirstGroup() + FieldsLine({true, false}));
    FrameSettings settings;
    EXPECT_THROW(ReadFrameSettings(reader, settings), GameError);
    EXPECT_TRUE(settings.stopAllSounds);
}

}  // namespace
}  // namespace taviro::frames
