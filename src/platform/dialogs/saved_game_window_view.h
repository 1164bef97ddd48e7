// The save and load windows drawn with ImGui over the game, in the look of the other dialogs, and
// the player's keys and typing that go to them: Enter presses the first button, Esc cancels, the
// arrows move in the list, Backspace and typing edit the name box.
#pragma once

#include <optional>
#include <string>

#include "platform/dialogs/saved_game_window.h"

namespace taviro::platform {

class SavedGameWindowView : public SavedGameWindows {
public:
    void Show(SavedGameWindow& window) override { window_ = &window; }
    void Close(SavedGameWindow& window) override {
        if (window_ == &window) window_ = nullptr;
        chosen_.reset();
    }

    // The window shown, or nullptr.
    SavedGameWindow* window() const { return window_; }

    // Makes the ImGui window; call inside an ImGui frame. A button clicked waits in chosen().
    void Build();
    // Takes the button clicked in the last frame, to run once the frame is over.
    std::optional<SavedGameWindow::Button> TakeChosen();

    // A key pressed while the window is shown (virtual-key codes); the button it presses, if any.
    std::optional<SavedGameWindow::Button> Key(int virtualKey);
    void Text(const std::string& utf8) {
        if (window_) window_->Type(utf8);
    }

private:
    SavedGameWindow* window_ = nullptr;
    std::optional<SavedGameWindow::Button> chosen_;
};

}  // namespace taviro::platform
