// What the game's reset and its quit need from the window around the game: the display mode, the
// layout, the menus and the closing of the window.
#pragma once

#include <optional>
#include <string>

#include "platform/controls/control.h"

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
};

}  // namespace taviro::app
