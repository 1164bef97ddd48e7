// The game window "Game": the game in play with its menus, its keyboard commands, the layout for
// windowed or full-screen play, and its closing. A new game always gets a fresh window.
#pragma once

#include <functional>
#include <memory>

#include "app/display_modes.h"
#include "app/game.h"
#include "app/game_menus.h"
#include "app/game_window_services.h"
#include "platform/events/timer.h"
#include "platform/windows/top_windows.h"

namespace taviro::app {

class GameWindow : private GameWindowServices {
public:
    // The four function keys of the debug key sequence, in order: F12, F9, F11, F10.
    static constexpr int kDebugKeys[4] = {123, 120, 122, 121};
    // How long the window stays disabled under the hourglass before it unloads.
    static constexpr int64_t kUnloadDelayMs = 500;

    // Loads the window (hidden). `unload` is asked to unload it once it has closed; it runs outside
    // every handler of the window. The game's sounds play on `audio` when given.
    GameWindow(project::Project& project, GameFlags& flags, platform::TopWindows& windows,
               platform::TopWindow& window, platform::EventLoop& loop, DisplayModes& modes,
               std::function<void()> unload, platform::media::AudioEngine* audio = nullptr);
    ~GameWindow() override;

    Game& game() { return *game_; }
    // The player's own settings window, opened and closed by Ctrl+O.
    std::function<void()> togglePlayerSettings;
    // Writes a screenshot of the game (Alt+S) and tells the player where.
    std::function<void()> takeScreenshot;
    GameMenus& menus() { return menus_; }
    platform::TopWindow& window() { return window_; }

    // The quit command: asks first, then closes the window.
    void Quit();
    // Form_KeyDown.
    void KeyDown(int virtualKey, int shift);
    // The full-screen toggle of the Options menu.
    void ToggleFullScreen();
    // The first part of unloading: the window hides and everything that plays stops.
    void StopForUnload();

private:
    // GameWindowServices
    void ClearLoadGameDisplayMode() override { modes_.loadGameMode = 0; }
    void CenterWindowAndPictureBox() override;
    void ResetMenus() override;
    void ShowMenuBar(bool shown) override;
    bool IsMenuBarShown() const override;
    void ShowPopupMenu() override { window_.PopupMenu(menus_.popup()); }
    void SetScreenPointer(std::optional<platform::MousePointer> pointer, const std::string& icon) override {
        windows_.screenPointer = pointer;
        windows_.screenPointerIcon = icon;
    }
    void HideScreenPointer(bool hidden) override { windows_.pointerHidden = hidden; }
    bool IsSubMenuOpen() const override { return subMenuOpen_; }
    void StartUnloading() override;
    void EnableWindow(bool enabled) override { window_.enabled = enabled; }
    platform::Point ScreenSize() const override { return modes_.current(); }
    void SwitchToMode(int mode) override;
    void SetLoadGameDisplayMode(int16_t mode) override { modes_.loadGameMode = mode; }
    bool TransitionsDisabled() override { return menus_.Item("mnuDisableTransitions").checked; }
    bool EffectsDisabled() override { return menus_.Item("mnuDisableEffects").checked; }
    void EnableOrDisableTransitions() override { menus_.Run("mnuDisableTransitions"); }
    void EnableOrDisableEffects() override { menus_.Run("mnuDisableEffects"); }
    std::vector<scripting::NamedObject> MenuObjects() override;

    MenuCommands Commands();
    // The debug command that marks the next script for interception, on both menus.
    void InterceptCode();
    // The debug key sequence: advances on the next key of the sequence, starts over on any other key.
    void TrackDebugKey(int virtualKey);

    project::Project& project_;
    GameFlags& flags_;
    platform::TopWindows& windows_;
    platform::TopWindow& window_;
    platform::EventLoop& loop_;
    DisplayModes& modes_;
    std::function<void()> unload_;
    GameMenus menus_;
    std::unique_ptr<Game> game_;
    platform::Timer TimerUnloadMe;
    int16_t debugKeyState_ = 0;
    bool subMenuOpen_ = false;
    platform::media::AudioEngine* audio_;  // the program's sound, for the player's own mute key
};

}  // namespace taviro::app
