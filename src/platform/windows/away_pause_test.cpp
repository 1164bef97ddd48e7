// Pausing the game while its window is minimised or, when chosen, out of focus.
#include "platform/windows/away_pause.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/clock.h"

namespace taviro::platform {
namespace {

TEST(AwayPause, MinimisingAlwaysPausesAndLosingTheFocusOnlyWhenChosen) {
    std::vector<bool> told;
    AwayPause away([&](bool paused) { told.push_back(paused); });
    away.SetFocused(false);
    EXPECT_FALSE(away.paused());
    away.SetMinimised(true);
    away.SetMinimised(false);
    EXPECT_EQ(told, (std::vector<bool>{true, false}));

    // Chosen while out of focus, the pause starts at once; focus back ends it.
    away.SetPauseWhenUnfocused(true);
    EXPECT_TRUE(away.paused());
    away.SetMinimised(true);  // already paused: nothing new to tell
    away.SetMinimised(false);
    away.SetFocused(true);
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

TEST(AwayPause, ThePausedRealClockStandsStillAndGoesOnWithoutAJump) {
    RealClock clock;
    clock.SleepMs(5);
    clock.SetPaused(true);
    const int64_t stoppedAt = clock.NowMs();
    clock.SleepMs(40);
    EXPECT_EQ(clock.NowMs(), stoppedAt);
    clock.SetPaused(false);
    EXPECT_LT(clock.NowMs() - stoppedAt, 30);  // the 40 paused milliseconds are not counted
    clock.SleepMs(5);
    EXPECT_GT(clock.NowMs(), stoppedAt);
    // A second pause adds to the first.
    clock.SetPaused(true);
    const int64_t secondStop = clock.NowMs();
    clock.SleepMs(40);
    clock.SetPaused(false);
    EXPECT_LT(clock.NowMs() - secondStop, 30);
}

}  // namespace
}  // namespace taviro::platform
