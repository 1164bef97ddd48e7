// The one clock every part of the player reads: real in play, virtual in headless mode.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace taviro::platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since the clock was made; never goes backwards.
    virtual int64_t NowMs() const = 0;

    // The local date and time as milliseconds since 1 January 1970 00:00 local time: what the
    // game's scripts see as Now.
    virtual int64_t LocalTimeMs() const = 0;

    // True for the virtual clock, which only moves when told to.
    virtual bool IsVirtual() const = 0;

    // Lets time pass: the real clock sleeps, the virtual clock moves forward at once.
    virtual void SleepMs(int64_t durationMs) = 0;
};

// The monotonic clock of the machine.
class RealClock : public Clock {
public:
    RealClock();

    int64_t NowMs() const override;
    int64_t LocalTimeMs() const override;
    bool IsVirtual() const override { return false; }
    void SleepMs(int64_t durationMs) override;

    // While paused the clock stands still; on resuming it goes on from where it stopped, so that
    // timers, fades, videos and transitions take up again as they were. Any thread may read it.
    void SetPaused(bool paused);
    bool paused() const { return frozenMs_.load() >= 0; }

private:
    int64_t ElapsedMs() const;

    std::chrono::steady_clock::time_point start_;
    std::atomic<int64_t> pausedTotalMs_ = 0;  // time spent paused before the last resume
    std::atomic<int64_t> frozenMs_ = -1;      // the time shown while paused; -1 when running
};

// A clock that stands still until advanced, so that timers and fades are exact and fast in tests.
class VirtualClock : public Clock {
public:
    int64_t NowMs() const override { return nowMs_; }
    // Headless runs start at noon on 1 January 2001, the same in every run and time zone.
    int64_t LocalTimeMs() const override { return kStartLocalTimeMs + nowMs_; }
    static constexpr int64_t kStartLocalTimeMs = 978350400000;
    bool IsVirtual() const override { return true; }
    void SleepMs(int64_t durationMs) override { AdvanceTo(nowMs_ + durationMs); }

    // Moves the clock to a later time; an earlier time leaves it where it is.
    void AdvanceTo(int64_t timeMs);

private:
    int64_t nowMs_ = 0;
};

}  // namespace taviro::platform
