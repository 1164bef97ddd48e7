// A borderless, click-through ImGui window in the bottom-left corner.
#include "platform/dialogs/player_notice.h"

#include <imgui.h>

namespace taviro::platform {

void PlayerNotice::Show(std::string text) {
    text_ = std::move(text);
    shownAtMs_ = clock_.NowMs();
}

std::string PlayerNotice::shown() const {
    if (text_.empty() || clock_.NowMs() - shownAtMs_ >= kShownMs) return "";
    return text_;
}

void PlayerNotice::Build() {
    const std::string text = shown();
    if (text.empty()) return;
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(ImVec2(viewport->Pos.x + 8, viewport->Pos.y + viewport->Size.y - 8),
                            ImGuiCond_Always, ImVec2(0, 1));
    ImGui::SetNextWindowBgAlpha(0.8f);
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));
    ImGui::PushStyleColor(ImGuiCol_WindowBg, ImVec4(0.1f, 0.1f, 0.1f, 1));
    constexpr ImGuiWindowFlags kFlags =
        ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings |
        ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoInputs;
    if (ImGui::Begin("##player notice", nullptr, kFlags)) ImGui::TextUnformatted(text.c_str());
    ImGui::End();
    ImGui::PopStyleColor(2);
}

}  // namespace taviro::platform
