// ImGui drawing of the save and load windows.
#include "platform/dialogs/saved_game_window_view.h"

#include <imgui.h>

#include <algorithm>

#include "platform/dialogs/player_window.h"
#include "platform/input/virtual_keys.h"

namespace taviro::platform {
namespace {

constexpr float kWindowWidth = 380;
constexpr float kListHeight = 170;
constexpr float kSmallestListHeight = 40;

}  // namespace

std::optional<SavedGameWindow::Button> SavedGameWindowView::TakeChosen() {
    auto chosen = chosen_;
    chosen_.reset();
    return chosen;
}

std::optional<SavedGameWindow::Button> SavedGameWindowView::Key(int virtualKey) {
    if (!window_ || !window_->enabled) return std::nullopt;
    switch (virtualKey) {
        case vk::kReturn: return SavedGameWindow::Button::Ok;
        case vk::kEscape: return SavedGameWindow::Button::Cancel;
        case vk::kUp: window_->MoveSelection(-1); break;
        case vk::kDown: window_->MoveSelection(1); break;
        case vk::kBackspace: window_->EraseLastCharacter(); break;
        default: break;
    }
    return std::nullopt;
}

void SavedGameWindowView::Build() {
    if (!window_) return;
    SavedGameWindow& window = *window_;
    const ImGuiIO& io = ImGui::GetIO();
    // A small window (the welcome window's) gets a narrower window with a shorter list.
    const bool saving = window.kind == SavedGameWindow::Kind::Save;
    const float listHeight =
        std::max(kSmallestListHeight, std::min(kListHeight, io.DisplaySize.y - (saving ? 125.0f : 100.0f)));
    if (!BeginPlayerWindow(window.caption, "savedgames", kWindowWidth)) {
        ImGui::End();
        return;
    }
    if (!window.enabled) ImGui::BeginDisabled();
    ImGui::TextWrapped("%s", window.prompt.c_str());
    if (window.kind == SavedGameWindow::Kind::Save) {
        // The name box: what was typed, with a caret; typing reaches it through the window's keys.
        ImVec2 start = ImGui::GetCursorScreenPos();
        float width = ImGui::GetContentRegionAvail().x;
        float height = ImGui::GetFrameHeight();
        ImDrawList* draw = ImGui::GetWindowDrawList();
        draw->AddRectFilled(start, ImVec2(start.x + width, start.y + height), IM_COL32(255, 255, 255, 255));
        draw->AddRect(start, ImVec2(start.x + width, start.y + height), IM_COL32(64, 64, 64, 255));
        std::string shownName = window.name + "|";
        draw->AddText(ImVec2(start.x + 4, start.y + (height - ImGui::GetFontSize()) / 2),
                      IM_COL32(0, 0, 0, 255), shownName.c_str());
        ImGui::Dummy(ImVec2(width, height));
    }
    if (ImGui::BeginListBox("##saves", ImVec2(-1, listHeight))) {
        for (size_t i = 0; i < window.names.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            bool selected = window.selected == static_cast<int>(i);
            // White on the blue of the selection, as on the dialogs' title bars.
            if (selected) ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));
            if (ImGui::Selectable(window.names[i].c_str(), selected, ImGuiSelectableFlags_AllowDoubleClick)) {
                window.Select(static_cast<int>(i));
                if (window.kind == SavedGameWindow::Kind::Load && ImGui::IsMouseDoubleClicked(0))
                    chosen_ = SavedGameWindow::Button::Ok;
            }
            if (selected) ImGui::PopStyleColor();
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    // Three buttons share the width of the list; the load window leaves the middle place empty.
    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float buttonWidth = (ImGui::GetContentRegionAvail().x - 2 * spacing) / 3;
    const float left = ImGui::GetCursorPosX();
    if (ImGui::Button(window.okCaption.c_str(), ImVec2(buttonWidth, 0)))
        chosen_ = SavedGameWindow::Button::Ok;
    if (saving) {
        ImGui::SameLine();
        if (ImGui::Button(window.removeCaption.c_str(), ImVec2(buttonWidth, 0)))
            chosen_ = SavedGameWindow::Button::Remove;
    }
    ImGui::SameLine(left + 2 * (buttonWidth + spacing));
    if (ImGui::Button(window.cancelCaption.c_str(), ImVec2(buttonWidth, 0)))
        chosen_ = SavedGameWindow::Button::Cancel;
    if (!window.enabled) ImGui::EndDisabled();
    ImGui::End();
}

}  // namespace taviro::platform
