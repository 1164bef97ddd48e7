// The inventory options and the icon grid.
#include "inventory/inventory_options.h"

#include <algorithm>

namespace taviro::inventory {

InventoryOptions InventoryOptions::From(const project::ProjectInformation& info) {
    InventoryOptions options;
    options.horizontalGap = std::clamp<int>(info.inventoryLayout1, 0, 1000);
    options.verticalGap = std::clamp<int>(info.inventoryLayout2, 0, 1000);
    options.barHidesBehindButton = info.inventoryOptions[0];
    options.barSlides = info.inventoryOptions[1];
    options.barFitsItems = info.inventoryOptions[2];
    options.popUpOnNewItem = info.inventoryOptions[3];
    options.menuButtonInBar = info.inventoryOptions[4];
    options.customGraphics = info.inventoryOption32;
    options.buttonPicture = info.inventoryGraphic1;
    options.backgroundPicture = info.inventoryGraphic2;
    options.neverShowMenus = info.neverShowMenus;
    options.rightButtonTogglesBar = info.menuInventoryBehaviour;
    options.runMenuScript = info.runMenuScript;
    options.menuScript = info.menuScript;
    options.menuButtonPicture = info.inventoryGraphic;
    options.projectWidth = info.ProjectWidth > 0 ? info.ProjectWidth : 640;
    return options;
}

int InventoryOptions::IconsPerRow() const {
    int perRow = projectWidth / (horizontalGap + kIconSize);
    if (ShouldTheMenuButtonInTheInventoryBeVisible()) --perRow;
    return std::max(perRow, 1);
}

platform::Point InventoryOptions::IconPosition(int number) const {
    const int k = number - 1, perRow = IconsPerRow();
    return {(k % perRow) * (horizontalGap + kIconSize) + horizontalGap,
            (k / perRow) * (verticalGap + kIconSize) + verticalGap};
}

int InventoryOptions::BarHeight(int count) const {
    const int lastRow = count > 0 ? (count - 1) / IconsPerRow() : 0;
    return (lastRow + 1) * (verticalGap + kIconSize) + verticalGap;
}

}  // namespace taviro::inventory
