// ImGui drawing and the modal wait of the insert-CD window.
#include "platform/dialogs/run_from_cd_window_view.h"

#include <imgui.h>

#include "platform/dialogs/player_window.h"

namespace taviro::platform {
namespace {

constexpr int kWaitTurnMs = 10;
constexpr float kWindowWidth = 360;

}  // namespace

void RunFromCdWindowView::ShowModal(RunFromCdWindow& window) {
    RunFromCdWindow* outer = window_;
    window_ = &window;
    struct Restore {
        RunFromCdWindowView& view;
        RunFromCdWindow* outer;
        ~Restore() {
            view.window_ = outer;
            view.chosen_.reset();
        }
    } restore{*this, outer};
    while (window.open && !loop_.quitRequested()) {
        if (!automated_) {
            loop_.WaitMs(kWaitTurnMs);
            if (auto ok = TakeChosen(); ok && window.onButton) {
                auto handler = window.onButton;  // the handler closes the window it belongs to
                handler(*ok);
            }
            continue;
        }
        // Nobody is left to answer: the window counts as cancelled.
        if (!nextAutomationCommand || !nextAutomationCommand()) break;
    }
    if (window.open && window.onButton) {
        auto handler = window.onButton;
        handler(false);
        window.open = false;
    }
}

std::optional<bool> RunFromCdWindowView::TakeChosen() {
    auto chosen = chosen_;
    chosen_.reset();
    return chosen;
}

void RunFromCdWindowView::Build() {
    if (!window_) return;
    RunFromCdWindow& window = *window_;
    if (!BeginPlayerWindow(window.caption, "runfromcd", kWindowWidth)) {
        ImGui::End();
        return;
    }
    ImGui::TextWrapped("%s", window.message.c_str());
    ImGui::Spacing();
    ImGui::TextUnformatted(window.driveLabel.c_str());
    ImGui::SameLine();
    const char* current = window.selected >= 0 && window.selected < static_cast<int>(window.drives.size())
                              ? window.drives[window.selected].c_str()
                              : "";
    ImGui::SetNextItemWidth(-1);
    if (ImGui::BeginCombo("##drives", current)) {
        for (size_t i = 0; i < window.drives.size(); ++i) {
            bool selected = window.selected == static_cast<int>(i);
            if (ImGui::Selectable(window.drives[i].c_str(), selected)) window.selected = static_cast<int>(i);
        }
        ImGui::EndCombo();
    }
    ImGui::Spacing();
    if (ImGui::Button(window.okCaption.c_str(), ImVec2(80, 0))) chosen_ = true;
    ImGui::SameLine();
    if (ImGui::Button(window.cancelCaption.c_str(), ImVec2(80, 0))) chosen_ = false;
    ImGui::End();
}

}  // namespace taviro::platform
