#include "inventory/inventory_options.h"

#include <gtest/gtest.h>

namespace taviro::inventory {
namespace {

InventoryOptions Grid(int width, int gap, bool menuButton) {
    InventoryOptions options;
    options.projectWidth = width;
    options.horizontalGap = options.verticalGap = gap;
    options.menuButtonInBar = menuButton;
    return options;
}

TEST(InventoryGrid, SixteenthIconOfA640WideBarStartsTheSecondRow) {
    InventoryOptions options = Grid(640, 10, false);
    EXPECT_EQ(options.IconsPerRow(), 15);
    EXPECT_EQ(options.IconPosition(1), (platform::Point{10, 10}));
    EXPECT_EQ(options.IconPosition(15), (platform::Point{598, 10}));
    EXPECT_EQ(options.IconPosition(16), (platform::Point{10, 52}));
}

TEST(InventoryGrid, MenuButtonTakesThePlaceOfOneIcon) {
    InventoryOptions options = Grid(640, 10, true);
    EXPECT_EQ(options.IconsPerRow(), 14);
    EXPECT_EQ(options.IconPosition(15), (platform::Point{10, 52}));
    options.neverShowMenus = true;  // no menus, no button
    EXPECT_EQ(options.IconsPerRow(), 15);
}

TEST(InventoryGrid, BarFitsTheRowsInUse) {
    InventoryOptions options = Grid(640, 10, false);
    EXPECT_EQ(options.BarHeight(0), 52);
    EXPECT_EQ(options.BarHeight(15), 52);
    EXPECT_EQ(options.BarHeight(16), 94);
    options.verticalGap = 4;
    EXPECT_EQ(options.BarHeight(31), 3 * 36 + 4);
}

TEST(InventoryGrid, NarrowProjectStillHasOneIconPerRow) {
    InventoryOptions options = Grid(40, 10, true);
    EXPECT_EQ(options.IconsPerRow(), 1);
    EXPECT_EQ(options.IconPosition(2), (platform::Point{10, 52}));
}

TEST(InventoryGrid, OptionsComeFromTheProjectInformationFields) {
    project::ProjectInformation info;
    info.inventoryLayout1 = 6;
    info.inventoryLayout2 = 8;
    info.inventoryOptions[1] = false;
    info.inventoryOption32 = true;
    info.menuInventoryBehaviour = true;
    info.ProjectWidth = 800;
    InventoryOptions options = InventoryOptions::From(info);
    EXPECT_EQ(options.horizontalGap, 6);
    EXPECT_EQ(options.verticalGap, 8);
    EXPECT_FALSE(options.barSlides);
    EXPECT_TRUE(options.barFitsItems);
    EXPECT_TRUE(options.customGraphics);
    EXPECT_TRUE(options.rightButtonTogglesBar);
    EXPECT_EQ(options.IconsPerRow(), 800 / 38 - 1);
}

}  // namespace
}  // namespace taviro::inventory
