// The game thread's event loop: DoEvents handles input, fires due timers, advances media and draws.
// Game code may call DoEvents and WaitMs from inside any handler; those are the only points of re-entry.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/events/timer.h"

namespace taviro::platform {

class EventLoop {
public:
    EventLoop(Clock& clock, TimerQueue& timers);

    // What DoEvents runs, in this order: input, due timers, media, drawing.
    void SetInputHandler(std::function<void()> handler) { input_ = std::move(handler); }
    void AddMediaHandler(std::function<void()> handler) { media_.push_back(std::move(handler)); }
    // Drawing runs on the real clock only: on the virtual clock nobody looks until a screenshot,
    // which draws for itself, so a long wait costs no drawing.
    void SetDrawHandler(std::function<void()> handler) { draw_ = std::move(handler); }
    // What the outermost turn does last, when no handler runs: short work done ahead while the
    // game waits for input, each call bounded so that a turn stays short.
    void SetIdleHandler(std::function<void()> handler) { idle_ = std::move(handler); }

    // What the outermost turn does with a failure that no operation caught, after writing it to the
    // log: the game shows its error report. The loop goes on either way.
    void SetFailureHandler(std::function<void(const std::exception&)> handler) {
        onFailure_ = std::move(handler);
    }

    // One turn of the loop. Re-entrant: a handler that calls it gets events handled underneath it.
    // The outermost turn never lets an exception out: it is the last line of defence.
    void DoEvents();

    // Runs an input handler of the game as a turn of the loop does, so that deferred work waits
    // until it is over; outside any turn, a failure is handled as the outermost turn does.
    void Dispatch(const std::function<void()>& handler);
    // Runs the task at the start of the next outermost turn, when no handler is running: for work
    // that must not happen under a handler, such as destroying the window whose timer asked for it.
    void Defer(std::function<void()> task) { deferred_.push_back(std::move(task)); }

    // Lets durationMs of game time pass while events run. On the virtual clock the time passes at once
    // and every timer due in between fires at its own time, in order. Returns early on quit.
    void WaitMs(int64_t durationMs);

    // What a wait that only game time or input can end does when the virtual clock stands still:
    // headless automation runs its next command there. The handler returns false when nothing more
    // will come.
    void SetStandstillHandler(std::function<bool()> handler) { standstill_ = std::move(handler); }
    // For a wait that only game time or input can end, on the virtual clock: the time left of an
    // enclosing WaitMs passes first (up to its next due timer), then the standstill handler runs. False
    // when neither has anything more to do.
    bool PassStandstill();
    // Automation on the virtual clock: the time at which the script's next commands are due, and what
    // runs them. A wait that game code makes inside a handler while input is awaited (see
    // AwaitInput) does not pass that time: it runs them there, as the input they stand for, and goes
    // on waiting. Taken when run.
    void SetScriptedInput(int64_t dueMs, std::function<void()> run) {
        scriptedDueMs_ = dueMs;
        scriptedInput_ = std::move(run);
    }
    // Marks the waits made while the returned object lives as waits for the player's input (a click
    // or a key that skips a video), which scripted input may interrupt.
    struct AwaitingInput {
        explicit AwaitingInput(EventLoop& waiting) : loop(waiting) { ++loop.awaitingInput_; }
        ~AwaitingInput() { --loop.awaitingInput_; }
        AwaitingInput(const AwaitingInput&) = delete;
        AwaitingInput& operator=(const AwaitingInput&) = delete;
        EventLoop& loop;
    };
    AwaitingInput AwaitInput() { return AwaitingInput(*this); }

    // Asks every wait to return; the program ends when the outermost loop sees it.
    void RequestQuit() { quitRequested_ = true; }
    bool quitRequested() const { return quitRequested_; }

    // How many DoEvents calls are running, one inside another.
    int depth() const { return depth_; }

    Clock& clock() { return clock_; }
    TimerQueue& timers() { return timers_; }

private:
    // Runs work; as the outermost turn, logs and reports what escapes it instead of ending the program.
    template <typename Work>
    void Turn(bool outermost, Work&& work);
    void Failed(const std::exception& failure);

    Clock& clock_;
    TimerQueue& timers_;
    std::function<void()> input_;
    std::vector<std::function<void()>> media_;
    std::function<void()> draw_;
    std::function<void()> idle_;
    std::vector<std::function<void()>> deferred_;
    std::function<void(const std::exception&)> onFailure_;
    std::function<bool()> standstill_;
    std::vector<int64_t> waitEndsMs_;  // the ends of the virtual waits running, innermost last
    int64_t scriptedDueMs_ = 0;
    int awaitingInput_ = 0;
    std::function<void()> scriptedInput_;
    bool quitRequested_ = false;
    int depth_ = 0;
};

}  // namespace taviro::platform
