#include "logic/action_record.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "support/test_project.h"

namespace taviro::logic {
namespace {

using std::string;
using testing::FieldsLine;

// Records the effects in the order they happen.
struct RecordedEffects : ActionEffects {
    void ChangeVariable(const string& name, int16_t value) override {
        log.push_back(name + "=" + std::to_string(value));
    }
    void RemoveAfterUse() override { log.push_back("remove"); }
    void StopMusic() override { log.push_back("stop music"); }
    void StopAllSounds() override { log.push_back("stop sounds"); }
    void SetFadeDuration(double seconds) override { log.push_back("fade " + std::to_string(seconds)); }
    void SetChannel(int entry, const ChannelEntry& channel) override {
        log.push_back("channel " + std::to_string(entry) + " " + channel.file);
    }
    std::vector<string> log;
};

// Fields 1-13 of a record that changes Door with the given flags and goes to Library.
string Start(bool zero, bool one, bool invert, bool remove = false, bool quit = false) {
    return FieldsLine({1.0, string("Door"), zero, one, invert}) +
           FieldsLine({true, string("Hello"), 0.0, string(""), remove, quit}) +
           FieldsLine({1.0, string("Library")});
}

string Separator() { return FieldsLine({string(project::kRecordSeparator)}); }

string Full() {
    return Start(false, true, false) +
           FieldsLine({1.0, 0.0, 1.0, string("intro.avi"), true, true, 10.0, 20.0, 300.0, 200.0}) +
           FieldsLine({true, true, string("theme.mid"), true, string("bell.wav")}) +
           FieldsLine({0.0, 0.0, 0.0, true}) + FieldsLine({0.0, 0.0, 0.0, true}) +
           FieldsLine(
               {0.0, 0.0, 0.0, 1.0, 1.0, string("A"), 2.0, string("B"), string(""), 1.0, string("C")}) +
           FieldsLine({false}) + FieldsLine({1.0, 1500.0}) + FieldsLine({true, string("x = |hi|")}) +
           FieldsLine({4.0}) + FieldsLine({0.0,   0.0,   0.0, 0.0,       0.0,   0.0, string("2000"),     0.0,
                                           5.0,   2.0,   1.0, true,      false, 5.0, string("rain.wav"), 3.0,
                                           false, false, 0.0, string("")}) +
           FieldsLine({true, string("Key")}) + FieldsLine({string("plugin")}) + Separator();
}

TEST(ActionRecord, EveryFieldAndEffectInReadingOrder) {
    project::FieldReader reader(Full());
    RecordedEffects effects;
    ActionRecord action = ReadActionFields(reader, effects);
    EXPECT_EQ(effects.log, (std::vector<string>{"Door=1", "stop music", "A=0", "B=1", "C=-1", "fade 2.000000",
                                                "channel 1 rain.wav", "channel 2 "}));
    EXPECT_TRUE(action.showMessage);
    EXPECT_EQ(action.messageText, "Hello");
    EXPECT_TRUE(action.openFrame);
    EXPECT_EQ(action.frameName, "Library");
    EXPECT_TRUE(action.playVideo);
    EXPECT_EQ(action.videoWidth, 300);
    EXPECT_TRUE(action.playMusic);
    EXPECT_EQ(action.musicFile, "theme.mid");
    EXPECT_EQ(action.soundFile, "bell.wav");
    EXPECT_TRUE(action.returnToLastFrame);
    EXPECT_TRUE(action.messageInWindow);
    EXPECT_FALSE(action.musicLoops);
    EXPECT_TRUE(action.withTransition);
    EXPECT_DOUBLE_EQ(action.transitionDurationMs, 1500);
    EXPECT_EQ(action.script, "x = \"hi\"");
    EXPECT_EQ(action.transitionNumber, 4);
    EXPECT_TRUE(action.addItem);
    EXPECT_EQ(action.itemName, "Key");
    EXPECT_EQ(action.pluginText, "plugin");
}

TEST(ActionRecord, ZeroOneAndInvertApplyInThatOrder) {
    project::FieldReader reader(Start(true, true, true) + Separator());
    RecordedEffects effects;
    ReadActionFields(reader, effects);
    EXPECT_EQ(effects.log, (std::vector<string>{"Door=0", "Door=1", "Door=-1"}));
}

TEST(ActionRecord, RecordEndingAfterTheFrameNameKeepsDefaults) {
    project::FieldReader reader(Start(false, true, false, true) + Separator());
    RecordedEffects effects;
    ActionRecord action = ReadActionFields(reader, effects);
    EXPECT_EQ(effects.log, (std::vector<string>{"Door=1", "remove"}));
    EXPECT_TRUE(action.openFrame);
    EXPECT_FALSE(action.withTransition);
    EXPECT_TRUE(action.musicLoops);
    EXPECT_FALSE(action.addItem);
}

TEST(ActionRecord, QuitStopsTheReading) {
    project::FieldReader reader(Start(false, false, false, false, true) + Separator());
    RecordedEffects effects;
    ActionRecord action = ReadActionFields(reader, effects);
    EXPECT_TRUE(action.quit);
    EXPECT_FALSE(action.openFrame);
}

TEST(ActionRecord, EffectsReadBeforeABadFieldStayDone) {
    project::FieldReader reader(Start(false, true, false) + FieldsLine({1.0, string("not a number")}));
    RecordedEffects effects;
    EXPECT_THROW(ReadActionFields(reader, effects), GameError);
    EXPECT_EQ(effects.log, (std::vector<string>{"Door=1", "stop music"}));
}

TEST(ActionRecord, HotspotRecordsAreFoundByPosition) {
    string file = string(Separator()) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                  Start(false, false, false) + Separator();
    project::FieldReader second(file);
    ASSERT_TRUE(SeekHotspotAction(second, 2));
    RecordedEffects effects;
    EXPECT_EQ(ReadActionFields(second, effects).frameName, "Library");
    project::FieldReader third(file);
    EXPECT_FALSE(SeekHotspotAction(third, 3));
}

TEST(ActionRecord, DroppedItemRecordsAreFoundByKeyInAnyCase) {
    string file = FieldsLine({0.0, string("2_lamp.drg"), 0.0}) + Separator() +
                  FieldsLine({0.0, string("2_KEY.Drg"), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                  Start(false, false, false) + Separator();
    project::FieldReader reader(file);
    ASSERT_TRUE(SeekDroppedItemAction(reader, 2, "Key", [] { return false; }));
    RecordedEffects effects;
    EXPECT_EQ(ReadActionFields(reader, effects).frameName, "Library");
    project::FieldReader missing(file);
    EXPECT_FALSE(SeekDroppedItemAction(missing, 3, "Key", [] { return false; }));
    project::FieldReader stopping(file);
    EXPECT_FALSE(SeekDroppedItemAction(stopping, 2, "Key", [] { return true; }));
}

}  // namespace
}  // namespace taviro::logic
