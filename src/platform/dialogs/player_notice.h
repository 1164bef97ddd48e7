// A short notice of the player's own ("Screenshot saved: ..."), shown for a few seconds in a corner of
// the window, apart from the game's own message strip.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace taviro::platform {

class PlayerNotice {
public:
    static constexpr int64_t kShownMs = 3000;

    explicit PlayerNotice(const Clock& clock) : clock_(clock) {}

    void Show(std::string text);
    // The text on screen now; "" once its time is over.
    std::string shown() const;
    // Makes the notice's ImGui window; call inside an ImGui frame.
    void Build();

private:
    const Clock& clock_;
    std::string text_;
    int64_t shownAtMs_ = 0;
};

}  // namespace taviro::platform
