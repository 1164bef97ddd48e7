#include "frames/sound_channels.h"

#include <gtest/gtest.h>

#include "platform/events/event_loop.h"
#include "platform/game_error.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

// A player that starts when given a file, as sound players do, and keeps what it was told.
struct FakePlayer : MediaPlayer {
    void SetFileName(const string& path) override {
        file = path;
        state = path.empty() ? PlayState::Stopped : PlayState::Playing;
        if (!path.empty()) ++starts;
    }
    string FileName() const override { return file; }
    void SetPlayCount(int count) override { playCount = count; }
    int PlayCount() const override { return playCount; }
    void SetVolume(int volumeHundredthsDb) override { volume = volumeHundredthsDb; }
    int Volume() const override { return volume; }
    PlayState GetPlayState() const override { return state; }
    void Play() override {
        if (state != PlayState::Playing && !file.empty()) {
            state = PlayState::Playing;
            ++starts;
        }
    }
    void Stop() override { state = PlayState::Stopped; }
    double CurrentPosition() const override { return 0; }
    void SetCurrentPosition(double) override {}

    string file;
    int playCount = 1, volume = 0, starts = 0;
    PlayState state = PlayState::Stopped;
};

struct SoundChannelsFixture : ::testing::Test {
    SoundChannelsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        for (const char* name : {"rain.wav", "wind.mp3", "theme.mid", "march.MID", "birds.ogg"})
            test.Write(string("Areas/") + name, "x");
        EXPECT_TRUE(test.Initialize());
    }

    FakePlayer& player(int number) { return *made[number]; }
    string Areas(const string& name) const { return test.project->paths.AreasPath + name; }
    // Starts a file on a channel at once, as an action without fade does.
    void PlayAtOnce(int channel, const string& file, double level = 10, bool repeat = true) {
        sounds.SetChannelEntry(channel, {0, false, repeat, level, file});
        sounds.StartChannels();
        sounds.FadeStep(1.0);
    }
    // A frame's channel record with a fade.
    void FadeIn(int channel, const string& file, double level, double seconds) {
        EXPECT_TRUE(sounds.ApplyChannelRecord(channel, {2, true, true, level, file}));
        sounds.SetFadeDuration(seconds);
        sounds.StartChannels();
        sounds.EnableFadeTimer();
    }
    void WaitMs(int64_t ms) { loop.WaitMs(ms); }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    FakePlayer* made[8] = {};
    SoundChannels sounds{*test.project, timers, [this](int number) {
                             auto player = std::make_unique<FakePlayer>();
                             made[number] = player.get();
                             return player;
                         }};
};

TEST_F(SoundChannelsFixture, PlayersOneToSevenExistAndOtherNumbersAreErrors) {
    EXPECT_EQ(sounds.ExistingPlayer(0), nullptr);
    for (int number = 1; number <= 7; ++number) EXPECT_NE(sounds.ExistingPlayer(number), nullptr);
    sounds.Player(0);
    EXPECT_NE(sounds.ExistingPlayer(0), nullptr);
    EXPECT_THROW(sounds.Player(8), GameError);
    EXPECT_THROW(sounds.Player(-1), GameError);
    // An action with more than seven channel entries fails.
    EXPECT_THROW(sounds.SetChannelEntry(8, {}), GameError);
}

TEST_F(SoundChannelsFixture, CommandsWithoutFadeActAtOnce) {
    PlayAtOnce(2, "rain.wav", 7, true);
    EXPECT_EQ(player(2).file, Areas("rain.wav"));
    EXPECT_EQ(player(2).playCount, 0);
    EXPECT_EQ(player(2).volume, -1200);
    EXPECT_EQ(player(2).state, PlayState::Playing);

    // Mode 4 changes the level, mode 3 stops.
    sounds.SetChannelEntry(2, {4, false, true, 8, ""});
    sounds.StartChannels();
    EXPECT_EQ(player(2).volume, -800);
    sounds.SetChannelEntry(2, {3, false, true, 0, ""});
    sounds.StartChannels();
    EXPECT_EQ(player(2).state, PlayState::Stopped);
    EXPECT_EQ(sounds.channel(2).mode, 0);

    // A sound played once.
    PlayAtOnce(3, "wind.mp3", 0, false);
    EXPECT_EQ(player(3).playCount, 1);
    EXPECT_EQ(player(3).volume, -4000);
}

TEST_F(SoundChannelsFixture, CrossFadeMovesTheChannelToAFreePlayerAndFadesBothOnTheGameClock) {
    PlayAtOnce(1, "rain.wav", 10);
    FadeIn(1, "birds.ogg", 10, 1.0);
    // Player 2 was free: channel 1 takes it, and channel 2 gets player 1 in exchange.
    EXPECT_EQ(sounds.channel(1).player, 2);
    EXPECT_EQ(sounds.channel(2).player, 1);
    EXPECT_EQ(sounds.channel(1).previousPlayer, 1);
    EXPECT_EQ(player(2).file, Areas("birds.ogg"));
    EXPECT_EQ(player(2).volume, -4000);

    // The first tick (at 100 ms) only starts the fade's clock; half a second later both are half way.
    WaitMs(100);
    EXPECT_EQ(player(2).volume, -4000);
    WaitMs(500);
    EXPECT_EQ(player(2).volume, -2000);
    EXPECT_EQ(player(1).volume, -2000);
    EXPECT_EQ(player(1).state, PlayState::Playing);

    // The first tick after the fade's length completes it: the old sound stops, the timer goes off.
    WaitMs(500);
    EXPECT_EQ(player(2).volume, 0);
    EXPECT_EQ(player(1).state, PlayState::Stopped);
    EXPECT_FALSE(sounds.fadeTimer().enabled());
    EXPECT_TRUE(sounds.channel(1).file.empty());
    EXPECT_FALSE(sounds.channel(1).fade);
}

TEST_F(SoundChannelsFixture, CrossFadeWithEveryPlayerBusyFadesInOnTheSamePlayer) {
    for (int channel = 1; channel <= 7; ++channel) PlayAtOnce(channel, "rain.wav", 10);
    FadeIn(4, "birds.ogg", 5, 0.5);
    EXPECT_EQ(sounds.channel(4).player, 4);
    EXPECT_EQ(sounds.channel(4).previousPlayer, 0);
    EXPECT_EQ(player(4).file, Areas("birds.ogg"));
    EXPECT_EQ(player(4).volume, -4000);
    WaitMs(1000);
    EXPECT_EQ(player(4).volume, -2000);
    EXPECT_EQ(player(4).state, PlayState::Playing);
}

TEST_F(SoundChannelsFixture, AFrameNamingTheSoundAlreadyPlayingLeavesItUndisturbed) {
    FadeIn(3, "rain.wav", 8, 1.0);
    WaitMs(1500);
    ASSERT_EQ(player(3).starts, 1);
    // The next frame names the same file on the same channel.
    FadeIn(3, "rain.wav", 8, 1.0);
    EXPECT_EQ(player(3).starts, 1);
    EXPECT_EQ(player(3).volume, -800);
    EXPECT_EQ(player(3).state, PlayState::Playing);
    EXPECT_TRUE(sounds.channel(3).file.empty());
}

TEST_F(SoundChannelsFixture, ASecondMidiTuneStopsTheFirstEvenOnAnotherChannel) {
    PlayAtOnce(1, "theme.mid");
    PlayAtOnce(2, "rain.wav");
    PlayAtOnce(5, "march.MID");
    EXPECT_EQ(player(1).state, PlayState::Stopped);
    EXPECT_EQ(player(2).state, PlayState::Playing);
    EXPECT_EQ(player(5).state, PlayState::Playing);
}

TEST_F(SoundChannelsFixture, FadeOfNoLengthEndsAtTheSecondTick) {
    PlayAtOnce(6, "rain.wav", 10);
    sounds.SetChannelEntry(6, {4, true, true, 5, ""});
    sounds.SetFadeDuration(0);
    sounds.StartChannels();
    sounds.EnableFadeTimer();
    WaitMs(100);
    EXPECT_EQ(player(6).volume, 0);
    EXPECT_TRUE(sounds.fadeTimer().enabled());
    WaitMs(100);
    EXPECT_EQ(player(6).volume, -2000);
    EXPECT_FALSE(sounds.fadeTimer().enabled());
}

TEST_F(SoundChannelsFixture, FadeOutStopsTheSoundAndAClickCompletesAFadeAtOnce) {
    PlayAtOnce(2, "wind.mp3", 10);
    sounds.SetChannelEntry(2, {3, true, false, 0, ""});
    sounds.SetFadeDuration(10);
    sounds.StartChannels();
    sounds.EnableFadeTimer();
    WaitMs(100 + 5000);
    EXPECT_EQ(player(2).volume, -2000);
    EXPECT_EQ(player(2).state, PlayState::Playing);
    sounds.FadeStep(1.0);
    EXPECT_EQ(player(2).state, PlayState::Stopped);
    EXPECT_EQ(sounds.channel(2).mode, 0);
}

TEST_F(SoundChannelsFixture, FrameRecordsApplyOnlyWhereTheyAddSomething) {
    EXPECT_TRUE(sounds.ApplyChannelRecord(1, {3, true, false, 0, ""}));
    // A second command on an entry whose command is still pending is refused...
    EXPECT_FALSE(sounds.ApplyChannelRecord(1, {4, false, false, 5, ""}));
    // ...but a file for an entry without one is taken.
    EXPECT_TRUE(sounds.ApplyChannelRecord(1, {0, false, false, 5, "rain.wav"}));
    EXPECT_FALSE(sounds.ApplyChannelRecord(1, {0, false, false, 5, "wind.mp3"}));
    EXPECT_EQ(sounds.channel(1).file, "rain.wav");
    EXPECT_TRUE(sounds.channel(1).changed);
    EXPECT_FALSE(sounds.ApplyChannelRecord(8, {4, false, false, 5, "rain.wav"}));
}

TEST_F(SoundChannelsFixture, MissingFilesAreReportedAndDropped) {
    sounds.SetChannelEntry(2, {0, true, false, 5, "gone.wav"});
    sounds.StartChannels();
    EXPECT_TRUE(sounds.channel(2).file.empty());
    EXPECT_EQ(player(2).starts, 0);
    EXPECT_EQ(test.dialogs.shown().size(), 1u);
}

TEST_F(SoundChannelsFixture, StoppingAndResettingThePlayers) {
    PlayAtOnce(1, "rain.wav");
    FadeIn(1, "birds.ogg", 10, 1);
    PlayAtOnce(7, "wind.mp3");
    EXPECT_TRUE(sounds.IsFilePlaying(Areas("birds.ogg")));
    EXPECT_FALSE(sounds.IsFilePlaying(Areas("BIRDS.ogg")));
    sounds.StopAnyWavOrMP3();
    for (int number = 1; number <= 7; ++number) EXPECT_EQ(player(number).state, PlayState::Stopped);
    EXPECT_FALSE(sounds.IsFilePlaying(Areas("birds.ogg")));

    // The reset gives every channel its own player back and stops the fade.
    EXPECT_EQ(sounds.channel(1).player, 2);
    sounds.ResetPlayers();
    for (int channel = 1; channel <= 7; ++channel) EXPECT_EQ(sounds.channel(channel).player, channel);
    EXPECT_FALSE(sounds.fadeTimer().enabled());
}

TEST_F(SoundChannelsFixture, ChnFilesPlayAndStopChannelsOneToFive) {
    PlayAtOnce(1, "rain.wav");
    string text;
    for (int field = 0; field < 21; ++field) text += FieldsLine({0.0});
    text += FieldsLine({0.0, true, false, string(""), 0.0});
    text += FieldsLine({0.0, false, true, string("wind.mp3"), 1.0});
    text += FieldsLine({0.0, false, true, string("birds.ogg"), 0.0});
    text += FieldsLine({string(project::kRecordSeparator)});
    project::FieldReader reader(text);
    sounds.PlaySoundChannels(reader);
    EXPECT_EQ(player(1).state, PlayState::Stopped);
    EXPECT_EQ(player(2).file, Areas("wind.mp3"));
    EXPECT_EQ(player(2).playCount, 0);
    EXPECT_EQ(player(2).volume, -800);
    EXPECT_EQ(player(3).playCount, 1);
    EXPECT_EQ(player(4).starts, 0);
    EXPECT_TRUE(test.dialogs.shown().empty());

    // A damaged file is reported; what it started plays on.
    project::FieldReader damaged(FieldsLine({0.0, 0.0}) + FieldsLine({string("x")}));
    sounds.PlaySoundChannels(damaged);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(
        test.dialogs.shown()[0].request.text.ends_with(" Unable to load old sound system information."));
    EXPECT_EQ(player(2).state, PlayState::Playing);
}

}  // namespace
}  // namespace taviro::frames
