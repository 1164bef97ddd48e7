#include "timed_events/timed_events.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/events/event_loop.h"
#include "support/test_project.h"

namespace taviro::timed_events {
namespace {

// Records the code each firing runs; a code in `failing` fails, and `during` runs inside a firing.
struct RecordingScripts : TimedEventServices {
    bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag) override {
        ran.push_back(code);
        flags.push_back(flag);
        if (during) during(code);
        return code == failing;
    }
    std::vector<std::string> ran;
    std::vector<bool> flags;
    std::string failing;
    std::function<void(const std::string&)> during;
};

struct TimedEventsFixture : ::testing::Test {
    TimedEventsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
        events.AddControls();
    }
    bool Running(int number) {
        const platform::TimerControl* timer = events.TimedEvent(number);
        return timer && timer->enabled() && timer->intervalMs() > 0;
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    platform::Form form{"Game", 640, 480};
    RecordingScripts scripts;
    TimedEvents events{*test.project, test.flags, form, timers, scripts};
};

TEST_F(TimedEventsFixture, EventWaitsForStartThenFiresOnce) {
    int number = events.CreateTimedEvent(1.5, "Once", false);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(events.TimedEvent(1)->intervalMs(), 1500);
    loop.WaitMs(5000);
    EXPECT_TRUE(scripts.ran.empty());

    events.StartTimedEvents();
    loop.WaitMs(1499);
    EXPECT_TRUE(scripts.ran.empty());
    loop.WaitMs(1);
    loop.WaitMs(10000);
    EXPECT_EQ(scripts.ran, std::vector<std::string>{"Once"});
    EXPECT_EQ(scripts.flags, std::vector<bool>{true});
    EXPECT_FALSE(events.table()[1].active);
    events.StartTimedEvents();  // a spent event does not come back
    loop.WaitMs(10000);
    EXPECT_EQ(scripts.ran.size(), 1u);
}

TEST_F(TimedEventsFixture, RepeatingEventFiresEveryInterval) {
    events.CreateTimedEvent(2, "Tick", true);
    events.StartTimedEvents();
    loop.WaitMs(6999);
    EXPECT_EQ(scripts.ran.size(), 3u);
    EXPECT_TRUE(Running(1));
}

TEST_F(TimedEventsFixture, DurationLimitIsSixtyFiveSeconds) {
    EXPECT_EQ(events.CreateTimedEvent(65, "a", false), 1);
    EXPECT_EQ(events.TimedEvent(1)->intervalMs(), 65000);
    EXPECT_TRUE(test.dialogs.shown().empty());

    EXPECT_EQ(events.CreateTimedEvent(65.5, "b", false), 0);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find(
                  " The duration of a timed event cannot be greater than 65 seconds."),
              std::string::npos);
    EXPECT_EQ(events.table().size(), 2u);
    EXPECT_EQ(events.CreateTimedEvent(-1, "c", false), 0);
    EXPECT_NE(test.dialogs.shown().back().request.text.find(" Unable to create the timed event #2. "),
              std::string::npos);
}

TEST_F(TimedEventsFixture, NumbersAreNeverReusedUntilTheReset) {
    events.CreateTimedEvent(1, "a", false);
    events.CreateTimedEvent(1, "b", false);
    events.RemoveTimedEvent(2);
    EXPECT_EQ(events.CreateTimedEvent(1, "c", false), 3);
    events.StartTimedEvents();
    loop.WaitMs(1000);
    EXPECT_EQ(scripts.ran, (std::vector<std::string>{"a", "c"}));

    events.ResetTimedEvents();
    EXPECT_EQ(events.TimedEvent(1), nullptr);
    EXPECT_EQ(events.CreateTimedEvent(1, "d", false), 1);
}

TEST_F(TimedEventsFixture, RemovingUnknownNumbersDoesNothing) {
    events.CreateTimedEvent(1, "a", true);
    events.StartTimedEvents();
    events.RemoveTimedEvent(0);
    events.RemoveTimedEvent(2);
    loop.WaitMs(1000);
    EXPECT_EQ(scripts.ran.size(), 1u);
}

TEST_F(TimedEventsFixture, PausedEventsRestartWithAFreshInterval) {
    events.CreateTimedEvent(3, "Tick", true);
    events.StartTimedEvents();
    loop.WaitMs(2000);
    events.PauseTimedEvents();
    loop.WaitMs(10000);
    EXPECT_TRUE(scripts.ran.empty());
    events.StartTimedEvents();
    loop.WaitMs(2999);
    EXPECT_TRUE(scripts.ran.empty());
    loop.WaitMs(1);
    EXPECT_EQ(scripts.ran.size(), 1u);
}

TEST_F(TimedEventsFixture, FailingEventIsDisabledEvenWhenItRepeats) {
    scripts.failing = "Bad";
    events.CreateTimedEvent(1, "Bad", true);
    events.StartTimedEvents();
    loop.WaitMs(5000);
    EXPECT_EQ(scripts.ran.size(), 1u);
    EXPECT_FALSE(events.table()[1].active);
    EXPECT_FALSE(Running(1));
}

TEST_F(TimedEventsFixture, NothingFiresWhileTheGameStops) {
    events.CreateTimedEvent(1, "a", true);
    events.StartTimedEvents();
    test.flags.GameStopping = true;
    loop.WaitMs(3000);
    EXPECT_TRUE(scripts.ran.empty());
}

TEST_F(TimedEventsFixture, EventWhoseCodeOpensAFrameLeavesTheNewFramesEventsAlone) {
    scripts.failing = "Leave";
    scripts.during = [this](const std::string& code) {
        if (code != "Leave") return;
        events.ResetTimedEvents();  // the new frame
        events.CreateTimedEvent(1, "New", false);
        events.StartTimedEvents();
    };
    events.CreateTimedEvent(1, "Leave", true);
    events.StartTimedEvents();
    loop.WaitMs(1000);
    EXPECT_TRUE(events.table()[1].active);
    EXPECT_EQ(events.table()[1].code, "New");
    loop.WaitMs(1000);
    EXPECT_EQ(scripts.ran, (std::vector<std::string>{"Leave", "New"}));
}

TEST_F(TimedEventsFixture, ScriptTimerCallsItsProcedureOncePerSwitchingOn) {
    platform::Control& timer = form.Load("TimerObject", 3);
    timer.Set("Interval", 500);
    timer.SetEnabled(true);
    loop.WaitMs(2000);
    EXPECT_EQ(scripts.ran, std::vector<std::string>{"TimerObject3"});
    EXPECT_FALSE(timer.enabled());
    timer.SetEnabled(true);
    loop.WaitMs(500);
    EXPECT_EQ(scripts.ran.size(), 2u);
}

}  // namespace
}  // namespace taviro::timed_events
