#include "platform/controls/menu.h"

#include <gtest/gtest.h>

namespace taviro::platform {
namespace {

struct GameMenu {
    MenuItem bar{""};
    std::vector<std::string> chosen;
    MenuItem& Command(MenuItem& parent, const std::string& caption) {
        MenuItem& item = parent.Add(caption, "mnu" + caption);
        item.onClick = [this](MenuItem& i) { chosen.push_back(i.shownCaption()); };
        return item;
    }
};

TEST(Menus, CommandsAreChosenByTheirCaptionsAsShown) {
    GameMenu menu;
    MenuItem& game = menu.bar.Add("&Game");
    menu.Command(game, "&Save");
    game.Add("-");
    MenuItem& options = game.Add("&Options");
    menu.Command(options, "Sound && music");
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "save"}), "");
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "Options", "Sound & music"}), "");
    EXPECT_EQ(menu.chosen, (std::vector<std::string>{"Save", "Sound & music"}));
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "Options"}),
              "the menu item Game/Options opens a sub-menu");
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "-"}), "there is no menu item Game/-");
}

TEST(Menus, HiddenAndDisabledItemsCannotBeChosen) {
    GameMenu menu;
    MenuItem& game = menu.bar.Add("Game");
    MenuItem& load = menu.Command(game, "Load");
    MenuItem& quit = menu.Command(game, "Quit");
    load.enabled = false;
    quit.visible = false;
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "Load"}), "the menu item Game/Load is disabled");
    EXPECT_EQ(ChooseMenuCommand(menu.bar, {"Game", "Quit"}), "there is no menu item Game/Quit");
    EXPECT_TRUE(menu.chosen.empty());
}

TEST(Menus, ItemsAreAddedFoundAndRemovedWhileTheGameRuns) {
    GameMenu menu;
    MenuItem& rooms = menu.bar.Add("Rooms");
    menu.Command(rooms, "Hall");
    menu.Command(rooms, "Attic");
    MenuItem& cellar = rooms.Insert(1, "Cellar", "mnuCellar");
    cellar.checked = true;
    ASSERT_EQ(rooms.items().size(), 3u);
    EXPECT_EQ(rooms.items()[1]->caption(), "Cellar");
    EXPECT_EQ(menu.bar.FindByName("MNUCELLAR"), &cellar);
    EXPECT_TRUE(rooms.Remove(cellar));
    EXPECT_FALSE(rooms.Remove(rooms));
    EXPECT_EQ(menu.bar.FindByName("mnuCellar"), nullptr);
    EXPECT_EQ(rooms.items().size(), 2u);
}

}  // namespace
}  // namespace taviro::platform
