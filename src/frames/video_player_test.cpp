#include "frames/video_player.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/game_error.h"
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

}  // namespace
}  // namespace taviro::frames
