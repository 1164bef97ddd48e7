#include "platform/events/event_loop.h"

#include <gtest/gtest.h>

#include <ios>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

struct VirtualLoop {
    VirtualClock clock;
    TimerQueue timers{clock};
    EventLoop loop{clock, timers};
    std::vector<std::string> log;

    std::unique_ptr<Timer> MakeTimer(const std::string& name, int64_t intervalMs) {
        auto timer = std::make_unique<Timer>(timers);
        timer->SetIntervalMs(intervalMs);
        timer->SetHandler([this, name] { log.push_back(name + "@" + std::to_string(clock.NowMs())); });
        return timer;
    }
};

TEST(VirtualClock, MovesOnlyForwardAndOnlyWhenTold) {
    VirtualClock clock;
    EXPECT_EQ(clock.NowMs(), 0);
    clock.AdvanceTo(250);
    clock.AdvanceTo(100);
    EXPECT_EQ(clock.NowMs(), 250);
    clock.SleepMs(50);
    EXPECT_EQ(clock.NowMs(), 300);
}

TEST(Timers, FireAtTheirOwnTimesInOrderDuringAVirtualWait) {
    VirtualLoop game;
    auto fast = game.MakeTimer("fast", 300);
    auto slow = game.MakeTimer("slow", 500);
    game.loop.WaitMs(1000);
    EXPECT_EQ(game.log,
              (std::vector<std::string>{"fast@300", "slow@500", "fast@600", "fast@900", "slow@1000"}));
    EXPECT_EQ(game.clock.NowMs(), 1000);
}

TEST(Timers, DueAtTheSameTimeFireOldestFirst) {
    VirtualLoop game;
    auto first = game.MakeTimer("first", 100);
    auto second = game.MakeTimer("second", 100);
    game.loop.WaitMs(100);
    EXPECT_EQ(game.log, (std::vector<std::string>{"first@100", "second@100"}));
}

TEST(Timers, DisabledOrZeroIntervalNeverFireAndReenablingRestartsTheCount) {
    VirtualLoop game;
    auto timer = game.MakeTimer("t", 100);
    auto stopped = game.MakeTimer("zero", 0);
    timer->SetEnabled(false);
    game.loop.WaitMs(250);
    EXPECT_TRUE(game.log.empty());
    timer->SetEnabled(true);
    game.loop.WaitMs(150);
    EXPECT_EQ(game.log, (std::vector<std::string>{"t@350"}));
}

TEST(Timers, AHandlerMayDestroyItsOwnTimer) {
    VirtualLoop game;
    std::unique_ptr<Timer> once = std::make_unique<Timer>(game.timers);
    int fired = 0;
    once->SetIntervalMs(10);
    once->SetHandler([&] {
        ++fired;
        once.reset();
    });
    game.loop.WaitMs(100);
    EXPECT_EQ(fired, 1);
}

TEST(Timers, AHandlerThatWaitsIsNotReenteredByItsOwnTimerButOthersRunUnderneath) {
    VirtualLoop game;
    auto other = game.MakeTimer("other", 100);
    Timer slow(game.timers);
    int entered = 0;
    slow.SetIntervalMs(50);
    slow.SetHandler([&] {
        ++entered;
        game.log.push_back("slow@" + std::to_string(game.clock.NowMs()));
        if (entered == 1) game.loop.WaitMs(300);
    });
    game.loop.WaitMs(400);
    // slow fires at 50 and waits until 350 while other fires underneath; having fallen behind, slow
    // catches up with a single event at 350, then keeps its interval.
    EXPECT_EQ(game.log, (std::vector<std::string>{"slow@50", "other@100", "other@200", "other@300",
                                                  "slow@350", "other@400", "slow@400"}));
    EXPECT_EQ(entered, 3);
    EXPECT_EQ(game.clock.NowMs(), 400);
}

TEST(EventLoop, DoEventsFromAHandlerRunsInputAndMediaUnderneath) {
    VirtualLoop game;
    std::vector<int> depths;
    game.loop.SetInputHandler([&] { depths.push_back(game.loop.depth()); });
    Timer timer(game.timers, [&] { game.loop.DoEvents(); });
    timer.SetIntervalMs(100);
    game.loop.WaitMs(100);
    // The wait's turn at 100 ms (depth 1) fires the timer, whose DoEvents handles input at depth 2.
    ASSERT_GE(depths.size(), 2u);
    EXPECT_EQ(depths[0], 1);
    EXPECT_EQ(depths[1], 2);
    EXPECT_EQ(game.loop.depth(), 0);
}

TEST(EventLoop, QuitEndsAWaitEarly) {
    VirtualLoop game;
    Timer timer(game.timers, [&] { game.loop.RequestQuit(); });
    timer.SetIntervalMs(100);
    auto later = game.MakeTimer("later", 150);
    game.loop.WaitMs(10000);
    EXPECT_EQ(game.clock.NowMs(), 100);
    EXPECT_TRUE(game.log.empty());
}

TEST(EventLoop, DrawsOnlyOnTheRealClock) {
    VirtualLoop game;
    int draws = 0;
    game.loop.SetDrawHandler([&] { ++draws; });
    game.loop.WaitMs(1000);
    EXPECT_EQ(draws, 0);

    RealClock real;
    TimerQueue timers(real);
    EventLoop loop(real, timers);
    loop.SetDrawHandler([&] { ++draws; });
    loop.WaitMs(20);
    EXPECT_GE(draws, 1);
    EXPECT_GE(real.NowMs(), 20);
}

TEST(EventLoop, DeferredWorkWaitsUntilNoHandlerRuns) {
    VirtualLoop game;
    // A timer that asks for its own destruction: the work runs after its handler, at the outermost turn.
    auto timer = game.MakeTimer("tick", 100);
    timer->SetHandler([&] {
        game.loop.Defer([&] {
            game.log.push_back("destroyed");
            timer.reset();
        });
        game.loop.DoEvents();  // a nested turn inside the handler does not run it
        game.log.push_back("handler done");
    });
    game.loop.WaitMs(100);
    EXPECT_EQ(game.log, (std::vector<std::string>{"handler done", "destroyed"}));
    EXPECT_EQ(timer, nullptr);

    // Input handlers given to the game through Dispatch count as handlers too.
    game.log.clear();
    game.loop.Defer([&] { game.log.push_back("deferred"); });
    game.loop.Dispatch([&] {
        game.loop.DoEvents();
        game.log.push_back("click");
    });
    game.loop.DoEvents();
    EXPECT_EQ(game.log, (std::vector<std::string>{"click", "deferred"}));
}

// The last line of defence: whatever a handler lets out is logged and reported by the outermost
// turn, and the game goes on with its timers and input.
TEST(EventLoop, AFailureNoOperationCaughtIsReportedAndTheLoopGoesOn) {
    VirtualLoop game;
    log::SetQuiet(true);
    std::vector<std::string> reported;
    game.loop.SetFailureHandler([&](const std::exception& failure) {
        reported.push_back(std::to_string(AsGameError(failure).number()));
    });
    auto failing = game.MakeTimer("failing", 100);
    failing->SetHandler(
        [] { throw std::ios_base::failure("basic_filebuf::underflow error reading the file"); });
    auto ticking = game.MakeTimer("tick", 150);
    game.loop.WaitMs(300);
    game.loop.Dispatch([] { throw std::bad_alloc(); });
    // A deferred task that fails leaves the next one to run.
    bool laterTaskRan = false;
    game.loop.Defer([] { throw std::bad_alloc(); });
    game.loop.Defer([&] { laterTaskRan = true; });
    game.loop.DoEvents();
    // Inside a handler, a nested turn lets the failure through to the handler's own boundary.
    bool caughtInside = false;
    game.loop.Dispatch([&] {
        try {
            game.loop.Dispatch([] { throw GameError(62, "Input past end of file"); });
        } catch (const GameError&) {
            caughtInside = true;
        }
    });
    log::SetQuiet(false);
    EXPECT_EQ(reported, (std::vector<std::string>{"51", "51", "51", "7", "7"}));
    EXPECT_TRUE(laterTaskRan);
    EXPECT_EQ(game.log, (std::vector<std::string>{"tick@150", "tick@300"}));
    EXPECT_TRUE(caughtInside);
    EXPECT_EQ(game.loop.depth(), 0);
}

}  // namespace
}  // namespace taviro::platform

namespace taviro::platform {
namespace {

TEST(EventLoop, AStandstillInsideAWaitLetsTheWaitsTimePassBeforeAskingForMore) {
    VirtualLoop v;
    auto tick = v.MakeTimer("tick", 300);
    int asked = 0;
    v.loop.SetStandstillHandler([&] {
        ++asked;
        return false;
    });
    std::vector<int64_t> passed;
    auto waiter = std::make_unique<Timer>(v.timers);
    waiter->SetIntervalMs(100);
    waiter->SetHandler([&] {
        waiter->SetEnabled(false);
        // Something that only time ends, begun 100 ms into a 1000 ms wait.
        while (v.loop.PassStandstill()) passed.push_back(v.clock.NowMs());
    });
    v.loop.WaitMs(1000);
    EXPECT_EQ(passed, (std::vector<int64_t>{300, 600, 900, 1000})) << "the wait's own timers fire on the way";
    EXPECT_EQ(asked, 1) << "then automation is asked once";
    EXPECT_EQ(v.log, (std::vector<std::string>{"tick@300", "tick@600", "tick@900"}));
    EXPECT_FALSE(v.loop.PassStandstill()) << "outside any wait and without a handler nothing passes";
}

TEST(EventLoop, IdleWorkRunsAfterEachOutermostTurnAndNeverUnderAHandler) {
    VirtualLoop fixture;
    int idleTurns = 0;
    int idleTurnsSeenByTheTimer = -1;
    fixture.loop.SetIdleHandler([&] { ++idleTurns; });
    auto timer = fixture.MakeTimer("tick", 100);
    timer->SetHandler([&] {
        fixture.loop.DoEvents();  // a handler's own turn does no idle work
        idleTurnsSeenByTheTimer = idleTurns;
    });
    timer->SetEnabled(true);
    fixture.loop.DoEvents();
    EXPECT_EQ(idleTurns, 1);
    fixture.clock.SleepMs(100);
    fixture.loop.DoEvents();
    EXPECT_EQ(idleTurnsSeenByTheTimer, 1);
    EXPECT_EQ(idleTurns, 2);
    fixture.loop.RequestQuit();
    fixture.loop.DoEvents();
    EXPECT_EQ(idleTurns, 2);
}

}  // namespace
}  // namespace taviro::platform
