// What the game's reset and its quit need from the window around the game: the display mode, the
// layout, the menus and the closing of the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/geometry.h"
#include "scripting/script_host.h"

namespace taviro::app {

class GameWindowServices {
public:
    virtual ~GameWindowServices() = default;

    // Forgets the display mode that loaded games asked for.
    virtual void ClearLoadGameDisplayMode() = 0;
    // Sizes and centres the window and the scene for windowed or full-screen play.
    virtual void CenterWindowAndPictureBox() = 0;
    // The frame lists, the protection level and the check marks of the menus.
    virtual void ResetMenus() = 0;
    // Shows or hides the menu bar; whether it is shown.
    virtual void ShowMenuBar(bool shown) = 0;
    virtual bool IsMenuBarShown() const = 0;
    // Opens the pop-up menu at the mouse.
    virtual void ShowPopupMenu() = 0;
    // True after the player opened Options or Debug, until the menus are shown again: a click on the
    // scene then leaves the menu bar shown.
    virtual bool IsSubMenuOpen() const = 0;
    // The pointer over the whole screen (nullopt: each control's own), and no pointer at all.
    virtual void SetScreenPointer(std::optional<platform::MousePointer> pointer, const std::string& icon) = 0;
    virtual void HideScreenPointer(bool hidden) = 0;
    // Begins closing the window: the game stops and the window unloads a moment later.
    virtual void StartUnloading() = 0;

    // Whether the window takes the player's input.
    virtual void EnableWindow(bool enabled) = 0;
    // The screen size the game is told about, in pixels; switching to mode 1 to 3 (640 x 480,
    // 800 x 600, 1024 x 768), which waits a second while events run when the mode changes; the
    // mode a saved game loaded later switches to (0 none).
    virtual platform::Point ScreenSize() const = 0;
    virtual void SwitchToMode(int mode) = 0;
    virtual void SetLoadGameDisplayMode(int16_t mode) = 0;
    // The check marks of "Disable Transitions" and "Disable Real-Time Effects", and their commands.
    virtual bool TransitionsDisabled() = 0;
    virtual bool EffectsDisabled() = 0;
    virtual void EnableOrDisableTransitions() = 0;
    virtual void EnableOrDisableEffects() = 0;
    // The menu commands scripts reach by name ("ExitMenuObject" ... "TransitionsMenuObject").
    virtual std::vector<scripting::NamedObject> MenuObjects() = 0;
};

}  // namespace taviro::app
