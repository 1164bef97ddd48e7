// Timers like the original's Timer control: an interval, an enabled flag and a handler, fired by the
// event loop from the one game thread.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <optional>

#include "platform/clock.h"

namespace taviro::platform {

class TimerQueue;

// One timer. Owned by whoever created it; it leaves its queue when destroyed.
class Timer {
public:
    explicit Timer(TimerQueue& queue, std::function<void()> handler = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // An interval of 0 stops the timer, as in the original. Changing it restarts the count.
    void SetIntervalMs(int64_t intervalMs);
    int64_t intervalMs() const { return intervalMs_; }

    // Enabling (again) restarts the count from now.
    void SetEnabled(bool enabled);
    bool enabled() const { return enabled_; }

    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    // The time the timer fires next, or nullopt when it is stopped.
    std::optional<int64_t> dueMs() const;

private:
    friend class TimerQueue;
    void Restart();
    bool Running() const { return enabled_ && intervalMs_ > 0; }

    TimerQueue& queue_;
    std::function<void()> handler_;
    int64_t intervalMs_ = 0;
    bool enabled_ = true;
    int64_t nextDueMs_ = 0;
    uint64_t order_ = 0;   // creation order: timers due at the same time fire oldest first
    bool firing_ = false;  // a handler that pumps events is not entered again by its own timer
};

// Every timer of the game, fired in the order of their due times. It must outlive its timers.
class TimerQueue {
public:
    explicit TimerQueue(const Clock& clock) : clock_(clock) {}

    // The earliest due time of a timer that may fire now, or nullopt.
    std::optional<int64_t> NextDueMs() const;

    // Fires every timer due at or before the clock's time, earliest first, each at most once.
    // Handlers may create, change or destroy timers (their own included) and pump events.
    void FireDue();

    const Clock& clock() const { return clock_; }

private:
    friend class Timer;
    Timer* EarliestDue(int64_t nowMs, uint64_t pass) const;

    const Clock& clock_;
    std::list<Timer*> timers_;
    uint64_t nextOrder_ = 0;
};

}  // namespace taviro::platform
