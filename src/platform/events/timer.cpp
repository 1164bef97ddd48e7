// Timers and the queue that fires them.
#include "platform/events/timer.h"

#include <algorithm>

namespace taviro::platform {

Timer::Timer(TimerQueue& queue, std::function<void()> handler)
    : queue_(queue), handler_(std::move(handler)), order_(queue.nextOrder_++) {
    queue_.timers_.push_back(this);
    Restart();
}

Timer::~Timer() { queue_.timers_.remove(this); }

void Timer::SetIntervalMs(int64_t intervalMs) {
    intervalMs_ = std::max<int64_t>(0, intervalMs);
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

std::optional<int64_t> Timer::dueMs() const {
    if (!Running()) return std::nullopt;
    return nextDueMs_;
}

void Timer::Restart() { nextDueMs_ = queue_.clock_.NowMs() + intervalMs_; }

std::optional<int64_t> TimerQueue::NextDueMs() const {
    std::optional<int64_t> earliest;
    for (const Timer* timer : timers_) {
        if (!timer->Running() || timer->firing_) continue;
        if (!earliest || timer->nextDueMs_ < *earliest) earliest = timer->nextDueMs_;
    }
    return earliest;
}

Timer* TimerQueue::EarliestDue(int64_t nowMs, uint64_t pass) const {
    Timer* earliest = nullptr;
    for (Timer* timer : timers_) {
        if (!timer->Running() || timer->firing_ || timer->nextDueMs_ > nowMs) continue;
        // A timer created during this pass waits for the next one.
        if (timer->order_ >= pass) continue;
        if (!earliest || timer->nextDueMs_ < earliest->nextDueMs_ ||
            (timer->nextDueMs_ == earliest->nextDueMs_ && timer->order_ < earliest->order_))
            earliest = timer;
    }
    return earliest;
}

void TimerQueue::FireDue() {
    const int64_t nowMs = clock_.NowMs();
    const uint64_t pass = nextOrder_;
    // Each timer fires at most once per pass: a timer that fell behind by several intervals catches up
    // with one event, as window timers do, instead of a burst.
    std::vector<Timer*> fired;
    while (Timer* timer = EarliestDue(nowMs, pass)) {
        if (std::find(fired.begin(), fired.end(), timer) != fired.end()) break;
        fired.push_back(timer);
        timer->nextDueMs_ += timer->intervalMs_;
        if (timer->nextDueMs_ <= nowMs) timer->nextDueMs_ = nowMs + timer->intervalMs_;
        if (!timer->handler_) continue;
        // The handler may destroy the timer or pump events; keep a copy of it and clear the flag only
        // on a timer that still exists.
        auto handler = timer->handler_;
        timer->firing_ = true;
        struct ClearFiring {
            std::list<Timer*>& timers;
            Timer* timer;
            ~ClearFiring() {
                if (std::find(timers.begin(), timers.end(), timer) != timers.end()) timer->firing_ = false;
            }
        } clearFiring{timers_, timer};
        handler();
    }
}

}  // namespace taviro::platform
