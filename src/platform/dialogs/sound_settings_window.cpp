// Two sliders and a check box; the mute also follows Ctrl+M, which sets it on the mixer directly.
#include "platform/dialogs/sound_settings_window.h"

#include <imgui.h>

#include <algorithm>

namespace taviro::platform {
namespace {

// Sliders move in steps that sound even: the gain is the square of the fraction.
double GainOfPercent(int percent) {
    double fraction = std::clamp(percent, 0, 100) / 100.0;
    return fraction * fraction;
}

}  // namespace

void ApplySoundSettings(media::AudioEngine& audio, const SoundSettings& settings) {
    audio.mixer().SetUserVolumes(GainOfPercent(settings.musicPercent), GainOfPercent(settings.soundPercent));
    audio.SetMuted(settings.muted);
}

SoundSettingsWindow::SoundSettingsWindow(media::AudioEngine& audio, SoundSettings settings,
                                         std::function<void(const SoundSettings&)> changed)
    : audio_(audio), settings_(settings), changed_(std::move(changed)) {}

void SoundSettingsWindow::Build() {
    if (!open_) return;
    settings_.muted = audio_.muted();
    ImGui::SetNextWindowPos(ImVec2(40, 40), ImGuiCond_FirstUseEver);
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));  // white title on the blue bar
    bool visible = ImGui::Begin(
        "Player settings", &open_,
        ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoCollapse);
    ImGui::PopStyleColor();
    if (visible) {
        bool changed = false;
        ImGui::SetNextItemWidth(200);
        changed |= ImGui::SliderInt("Music volume", &settings_.musicPercent, 0, 100, "%d %%");
        ImGui::SetNextItemWidth(200);
        changed |= ImGui::SliderInt("Sound volume", &settings_.soundPercent, 0, 100, "%d %%");
        changed |= ImGui::Checkbox("Mute (Ctrl+M)", &settings_.muted);
        changed |= ImGui::Checkbox("Pause when the window is not in focus", &settings_.pauseWhenUnfocused);
        if (changed) {
            ApplySoundSettings(audio_, settings_);
            if (changed_) changed_(settings_);
        }
    }
    ImGui::End();
}

}  // namespace taviro::platform
