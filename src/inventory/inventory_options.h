// The project's inventory options (project information fields 25-34, 48, 58-61) under the names of
// what they do, and the grid the item icons lie on.
#pragma once

#include <string>

#include "platform/controls/geometry.h"
#include "project/project_information.h"

namespace taviro::inventory {

inline constexpr int kIconSize = 32;

struct InventoryOptions {
    int horizontalGap = 10;                     // 25
    int verticalGap = 10;                       // 26
    bool barHidesBehindButton = true;           // 27: off, the bar stays shown and has no button
    bool barSlides = true;                      // 28: off, the bar jumps
    bool barFitsItems = true;                   // 29: the bar's height follows its rows; empty, it hides
    bool popUpOnNewItem = true;                 // 30: for two seconds, then it hides again
    bool menuButtonInBar = true;                // 31
    bool customGraphics = false;                // 32: with 27, the pictures of 33, 34 and 61
    std::string buttonPicture = "DEFAULT";      // 33, in the Inventory folder
    std::string backgroundPicture = "DEFAULT";  // 34, in the Inventory folder
    bool neverShowMenus = false;                // 48
    bool rightButtonTogglesBar = false;         // 58: the bar then stays until the right button hides it
    bool runMenuScript = false;                 // 59
    std::string menuScript;                     // 60
    std::string menuButtonPicture = "DEFAULT";  // 61, in the Icons folder
    int projectWidth = 640;

    static InventoryOptions From(const project::ProjectInformation& info);

    // True when the project shows the menu button in the bar and does not hide the menus.
    bool ShouldTheMenuButtonInTheInventoryBeVisible() const { return menuButtonInBar && !neverShowMenus; }
    // Icons in one row of the bar; the menu button takes the place of one. At least one.
    int IconsPerRow() const;
    // The top-left corner of icon `number` (1-based) in the bar.
    platform::Point IconPosition(int number) const;
    // The height of a bar that fits `count` icons (one row when empty).
    int BarHeight(int count) const;
};

}  // namespace taviro::inventory
