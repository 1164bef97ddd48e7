// Pauses the game while the player is away from it: always while its window is minimised, and while
// the window is not in focus when the player chose so in the player's settings.
#pragma once

#include <functional>

namespace taviro::platform {

class AwayPause {
public:
    // pause is told each change: true stops the game's clock and sounds, false lets them go on.
    explicit AwayPause(std::function<void(bool paused)> pause) : pause_(std::move(pause)) {}

    void SetPauseWhenUnfocused(bool pauseWhenUnfocused);
    void SetMinimised(bool minimised);
    void SetFocused(bool focused);

    bool paused() const { return paused_; }

private:
    void Apply();

    std::function<void(bool)> pause_;
    bool pauseWhenUnfocused_ = false;
    bool minimised_ = false;
    bool focused_ = true;
    bool paused_ = false;
};

}  // namespace taviro::platform
