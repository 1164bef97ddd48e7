#include "platform/dialogs/player_window.h"

#include <imgui.h>

#include <algorithm>

namespace taviro::platform {

bool BeginPlayerWindow(const std::string& caption, const char* id, float width) {
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x / 2, io.DisplaySize.y / 2), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(std::min(width, io.DisplaySize.x - 8), 0), ImGuiCond_Always);
    const std::string title = (caption.empty() ? std::string(" ") : caption) + "###" + id;
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));  // white title on the blue bar
    const bool shown =
        ImGui::Begin(title.c_str(), nullptr,
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                         ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysAutoResize);
    ImGui::PopStyleColor();
    return shown;
}

}  // namespace taviro::platform
