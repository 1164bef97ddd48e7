// DoEvents and the waits that pump it.
#include "platform/events/event_loop.h"

#include <algorithm>
#include <string>

#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {

namespace {
// Longest sleep between turns of a real-time wait: about one display frame.
constexpr int64_t kRealTurnMs = 10;
}  // namespace

EventLoop::EventLoop(Clock& clock, TimerQueue& timers) : clock_(clock), timers_(timers) {}

template <typename Work>
void EventLoop::Turn(bool outermost, Work&& work) {
    ++depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{depth_};
    if (!outermost) return work();
    try {
        work();
    } catch (const std::exception& failure) {
        Failed(failure);
    } catch (...) {
        Failed(errors::InternalError());  // something that is not even an exception of the library
    }
}

void EventLoop::Failed(const std::exception& failure) {
    log::Error(std::string("An operation failed and nothing caught it: ") + failure.what());
    if (!onFailure_) return;
    try {
        onFailure_(failure);
    } catch (...) {
        log::Error("The report of that failure failed as well.");
    }
}

void EventLoop::DoEvents() {
    const bool outermost = depth_ == 0;
    if (outermost) {
        // Tasks run as handlers do, each on its own, so that one that fails leaves the others to run;
        // those they defer wait for the next turn.
        auto tasks = std::move(deferred_);
        deferred_.clear();
        for (auto& task : tasks) Turn(true, task);
    }
    Turn(outermost, [&] {
        if (input_) input_();
        timers_.FireDue();
        for (auto& handler : media_) handler();
        if (draw_ && !clock_.IsVirtual()) draw_();
    });
    if (outermost && idle_ && !quitRequested_) Turn(true, idle_);
}

void EventLoop::Dispatch(const std::function<void()>& handler) { Turn(depth_ == 0, handler); }

void EventLoop::WaitMs(int64_t durationMs) {
    const int64_t endMs = clock_.NowMs() + std::max<int64_t>(0, durationMs);
    if (clock_.IsVirtual()) {
        waitEndsMs_.push_back(endMs);
        struct Leave {
            std::vector<int64_t>& ends;
            ~Leave() { ends.pop_back(); }
        } leave{waitEndsMs_};
        // Step from one due timer to the next so that each fires at its own time. Inside a handler,
        // scripted input due before the next timer runs first.
        while (!quitRequested_) {
            auto dueMs = timers_.NextDueMs();
            bool inputFirst = !dueMs || scriptedDueMs_ < *dueMs;
            if (scriptedInput_ && depth_ > 0 && awaitingInput_ > 0 && scriptedDueMs_ <= endMs && inputFirst) {
                clock_.SleepMs(std::max<int64_t>(0, scriptedDueMs_ - clock_.NowMs()));
                auto input = std::move(scriptedInput_);
                scriptedInput_ = nullptr;
                input();
                continue;
            }
            if (!dueMs || *dueMs > endMs) break;
            clock_.SleepMs(*dueMs - clock_.NowMs());
            DoEvents();
        }
        if (!quitRequested_) {
            clock_.SleepMs(endMs - clock_.NowMs());
            DoEvents();
        }
        return;
    }
    do {
        DoEvents();
        if (quitRequested_) return;
        int64_t nowMs = clock_.NowMs();
        if (nowMs >= endMs) return;
        int64_t sleepMs = std::min(endMs - nowMs, kRealTurnMs);
        if (auto dueMs = timers_.NextDueMs()) sleepMs = std::clamp<int64_t>(*dueMs - nowMs, 0, sleepMs);
        clock_.SleepMs(sleepMs);
    } while (true);
}

bool EventLoop::PassStandstill() {
    const int64_t nowMs = clock_.NowMs();
    for (auto end = waitEndsMs_.rbegin(); end != waitEndsMs_.rend(); ++end) {
        if (*end <= nowMs) continue;
        // The enclosing wait goes on: to its next due timer or its end, as it would have.
        int64_t toMs = *end;
        if (auto dueMs = timers_.NextDueMs(); dueMs && *dueMs > nowMs && *dueMs < toMs) toMs = *dueMs;
        clock_.SleepMs(toMs - nowMs);
        DoEvents();
        return !quitRequested_;
    }
    return standstill_ && standstill_();
}

}  // namespace taviro::platform
