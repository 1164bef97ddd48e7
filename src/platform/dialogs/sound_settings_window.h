// The player's own small settings window (Ctrl+O): the volume of music and of other sounds, on top of
// the game's own volumes, and mute. These belong to the player, not to the game, whose Options menu
// stays as its author made it.
#pragma once

#include <functional>

#include "platform/media/audio_engine.h"

namespace taviro::platform {

struct SoundSettings {
    int musicPercent = 100;  // sounds that repeat: background music and ambience
    int soundPercent = 100;  // sounds played once
    bool muted = false;
    bool pauseWhenUnfocused = false;  // the game also pauses while its window is not in focus
};

// Hands the settings to the mixer.
void ApplySoundSettings(media::AudioEngine& audio, const SoundSettings& settings);

class SoundSettingsWindow {
public:
    // `changed` is told every change made in the window, to keep it.
    SoundSettingsWindow(media::AudioEngine& audio, SoundSettings settings,
                        std::function<void(const SoundSettings&)> changed);

    void Toggle() { open_ = !open_; }
    bool open() const { return open_; }
    // Makes the window's ImGui items; call inside an ImGui frame.
    void Build();

private:
    media::AudioEngine& audio_;
    SoundSettings settings_;
    std::function<void(const SoundSettings&)> changed_;
    bool open_ = false;
};

}  // namespace taviro::platform
