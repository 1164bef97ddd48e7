// The real and the virtual clock.
#include "platform/clock.h"

#include <ctime>
#include <thread>

namespace taviro::platform {

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

int64_t RealClock::ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
}

int64_t RealClock::NowMs() const {
    const int64_t frozen = frozenMs_.load();
    if (frozen >= 0) return frozen;
    return ElapsedMs() - pausedTotalMs_.load();
}

void RealClock::SetPaused(bool paused) {
    if (paused == this->paused()) return;
    if (paused) {
        frozenMs_ = NowMs();
    } else {
        // The paused time is counted before the clock runs again, so that it never jumps.
        pausedTotalMs_ = ElapsedMs() - frozenMs_.load();
        frozenMs_ = -1;
    }
}

int64_t RealClock::LocalTimeMs() const {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    return std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() +
           static_cast<int64_t>(local.tm_gmtoff) * 1000;
}

void RealClock::SleepMs(int64_t durationMs) {
    if (durationMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
}

void VirtualClock::AdvanceTo(int64_t timeMs) {
    if (timeMs > nowMs_) nowMs_ = timeMs;
}

}  // namespace taviro::platform
