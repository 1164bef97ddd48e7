#include "frames/video_player.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/game_error.h"
#include "platform/media/audio_engine.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;

// A player on the virtual clock over a two-second video: red for its first second, then blue.
struct VideoPlayerTest : ::testing::Test {
    VideoPlayerTest() {
        path = (folder.path() / "Clip.avi").string();
        string command =
            "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=32x24:rate=25:duration=2 -vf "
            "\"drawbox=c=blue:t=fill:enable='gte(t,1)'\" -c:v mpeg4 '" +
            path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        display.SetBounds({0, 0, 32, 24});
        player.SetDisplay(&display);
    }
    // Lets time pass, firing the player's timer as the event loop would.
    void Pass(int64_t ms) {
        int64_t end = clock.NowMs() + ms;
        while (auto due = timers.NextDueMs()) {
            if (*due > end) break;
            clock.AdvanceTo(*due);
            timers.FireDue();
        }
        clock.AdvanceTo(end);
    }
    uint32_t Shown() { return display.canvas().PixelAt(16, 12) & 0xFFFFFF; }

    testing::TemporaryFolder folder;
    string path;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::FileSystem files;
    platform::PictureBox display{"OneTimeVideoPlayer"};
    VideoPlayer player{timers, files};
};

bool IsRed(uint32_t rgb) { return (rgb >> 16) > 200 && (rgb & 0xFF) < 60; }
bool IsBlue(uint32_t rgb) { return (rgb & 0xFF) > 200 && (rgb >> 16) < 60; }

TEST_F(VideoPlayerTest, PlaysOnTheClockPausesWhereItIsAndEndsAfterItsLength) {
    player.autoStart = false;
    player.SetFileName(path);
    EXPECT_EQ(player.ImageSourceWidth(), 32);
    EXPECT_EQ(player.ImageSourceHeight(), 24);
    EXPECT_EQ(player.GetPlayState(), PlayState::Stopped);
    player.Play();
    Pass(500);
    EXPECT_TRUE(IsRed(Shown()));
    player.Pause();
    EXPECT_EQ(player.GetPlayState(), PlayState::Paused);
    Pass(5000);
    EXPECT_NEAR(player.CurrentPosition(), 0.5, 0.001);
    player.Play();
    Pass(700);
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
    EXPECT_TRUE(IsBlue(Shown()));
    Pass(850);
    EXPECT_EQ(player.GetPlayState(), PlayState::Stopped);
    EXPECT_NEAR(player.Duration(), 2.0, 0.05);
}

TEST_F(VideoPlayerTest, RateAndPlayCountSetHowLongItPlays) {
    player.autoStart = false;
    player.SetFileName(path);
    player.SetRate(2);
    player.SetPlayCount(3);
    player.Play();
    // Three runs of one second each at twice the speed.
    Pass(2950);
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
    Pass(100);
    EXPECT_EQ(player.GetPlayState(), PlayState::Stopped);
    // Endless, it goes on.
    player.SetPlayCount(0);
    player.Play();
    Pass(10000);
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
}

TEST_F(VideoPlayerTest, PositionsJumpAndStopGoesBackToTheStart) {
    player.SetFileName(path);  // AutoStart on: playing at once
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
    player.SetCurrentPosition(1.5);
    Pass(40);
    EXPECT_TRUE(IsBlue(Shown()));
    EXPECT_NEAR(player.CurrentPosition(), 1.54, 0.001);
    player.Stop();
    EXPECT_EQ(player.CurrentPosition(), 0);
    player.Play();
    Pass(100);
    EXPECT_TRUE(IsRed(Shown()));
}

TEST_F(VideoPlayerTest, AClickPausesAndResumesOnlyWithClickToPlay) {
    player.SetFileName(path);
    player.ClickOnPicture();
    EXPECT_EQ(player.GetPlayState(), PlayState::Paused);
    player.ClickOnPicture();
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
    player.clickToPlay = false;
    player.ClickOnPicture();
    EXPECT_EQ(player.GetPlayState(), PlayState::Playing);
}

TEST_F(VideoPlayerTest, AFileThatCannotPlayThrowsAndLeavesThePlayerStoppedWithItsName) {
    EXPECT_THROW(player.SetFileName((folder.path() / "none.avi").string()), GameError);
    EXPECT_EQ(player.GetPlayState(), PlayState::Stopped);
    EXPECT_EQ(player.fileName(), (folder.path() / "none.avi").string());
    EXPECT_THROW(player.Play(), GameError);
    EXPECT_EQ(player.GetPlayState(), PlayState::Stopped);
    EXPECT_EQ(player.ImageSourceWidth(), 0);
}

// A player with a sound over a three-second video whose tone lasts its first two seconds, so that
// the sound ends while the pictures play on; mixed on the clock as in headless play.
struct VideoSoundTest : VideoPlayerTest {
    VideoSoundTest() {
        soundPath = (folder.path() / "Tone.avi").string();
        string command =
            "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=32x24:rate=25:duration=3 -f lavfi -i "
            "sine=frequency=440:duration=2 -c:v mpeg4 -c:a pcm_s16le '" +
            soundPath + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        sounding.autoStart = false;
        sounding.SetDisplay(&display);
    }
    // Lets time pass with the mixer rendering along, as the game loop pumps it.
    void PassWithSound(int64_t ms) {
        for (int64_t step = 0; step < ms; step += 10) {
            Pass(10);
            audio.Pump();
        }
    }
    bool SoundEnded(uint64_t ticket) { return audio.mixer().Finished(kVoice) == ticket; }

    static constexpr int kVoice = 8;
    string soundPath;
    platform::media::AudioEngine audio{clock, false};
    VideoPlayer sounding{timers, files, &audio, kVoice};
};

TEST_F(VideoSoundTest, AResumedVideoSoundsFromWhereItsPicturesAre) {
    sounding.SetFileName(soundPath);
    sounding.Play();
    PassWithSound(500);
    sounding.Pause();
    PassWithSound(3000);
    uint64_t beforeResume = audio.lastTicket();
    sounding.Play();
    uint64_t ticket = audio.lastTicket();
    ASSERT_GT(ticket, beforeResume);
    // From 0.5 s the sound has 1.5 s left, as the pictures have; from the start it would have 2 s.
    PassWithSound(1400);
    EXPECT_FALSE(SoundEnded(ticket));
    EXPECT_EQ(sounding.GetPlayState(), PlayState::Playing);
    PassWithSound(200);
    EXPECT_TRUE(SoundEnded(ticket));
    EXPECT_EQ(sounding.GetPlayState(), PlayState::Playing);
    // A jump while playing takes the sound along.
    sounding.SetCurrentPosition(1.5);
    ticket = audio.lastTicket();
    PassWithSound(400);
    EXPECT_FALSE(SoundEnded(ticket));
    PassWithSound(200);
    EXPECT_TRUE(SoundEnded(ticket));
}

TEST_F(VideoSoundTest, TheSoundFollowsTheRateAndIsSilentBeyondItsRange) {
    sounding.SetFileName(soundPath);
    sounding.SetRate(2);
    sounding.Play();
    uint64_t ticket = audio.lastTicket();
    ASSERT_GT(ticket, 0U);
    // Two seconds of sound at twice the speed last one second, as the pictures do.
    PassWithSound(900);
    EXPECT_FALSE(SoundEnded(ticket));
    PassWithSound(200);
    EXPECT_TRUE(SoundEnded(ticket));
    EXPECT_EQ(sounding.GetPlayState(), PlayState::Playing);
    // Slowed down mid-way, the rest of the sound (1.5 s of the file) lasts twice as long.
    sounding.Stop();
    sounding.SetRate(1);
    sounding.Play();
    PassWithSound(500);
    sounding.SetRate(0.5);
    ticket = audio.lastTicket();
    PassWithSound(2900);
    EXPECT_FALSE(SoundEnded(ticket));
    PassWithSound(200);
    EXPECT_TRUE(SoundEnded(ticket));
    // Four times as fast the pictures play on without sound.
    sounding.Stop();
    sounding.SetRate(4);
    uint64_t beforeFast = audio.lastTicket();
    sounding.Play();
    PassWithSound(100);
    EXPECT_EQ(audio.lastTicket(), beforeFast);
    EXPECT_EQ(sounding.GetPlayState(), PlayState::Playing);
}

}  // namespace
}  // namespace taviro::frames
