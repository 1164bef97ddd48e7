// When the game pauses for an absent player.
#include "platform/windows/away_pause.h"

namespace taviro::platform {

void AwayPause::SetPauseWhenUnfocused(bool pauseWhenUnfocused) {
    pauseWhenUnfocused_ = pauseWhenUnfocused;
    Apply();
}

void AwayPause::SetMinimised(bool minimised) {
    minimised_ = minimised;
    Apply();
}

void AwayPause::SetFocused(bool focused) {
    focused_ = focused;
    Apply();
}

void AwayPause::Apply() {
    const bool paused = minimised_ || (pauseWhenUnfocused_ && !focused_);
    if (paused == paused_) return;
    paused_ = paused;
    if (pause_) pause_(paused);
}

}  // namespace taviro::platform
