// The real and the virtual clock.
#include "platform/clock.h"

#include <thread>

namespace taviro::platform {

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

int64_t RealClock::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
}

void RealClock::SleepMs(int64_t durationMs) {
    if (durationMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
}

void VirtualClock::AdvanceTo(int64_t timeMs) {
    if (timeMs > nowMs_) nowMs_ = timeMs;
}

}  // namespace taviro::platform
