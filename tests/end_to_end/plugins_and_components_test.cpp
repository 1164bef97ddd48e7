// The demo game's plugin and components played by the player itself, headless.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;

class DemoGame : public testing::PlayerRun {
public:
    DemoGame() : PlayerRun(TAVIRO_PLAYER_PATH) { CopyGame(TAVIRO_DEMO_GAME); }
    json Dump(const string& name) const { return Json(name + ".json"); }
};

// The demo's bell plugin: the library's frame command rings it in the library's text, and the
// butterfly's action command adds its two rings to the plugin's own variable.
TEST(DemoPlugin, FrameAndActionCommandsCallThePluginsProcedures) {
    DemoGame game;
    ASSERT_EQ(game.Run("press Start New Game\nclick 100 250\nwait 200\n" + game.StateCommand("library") +
                       "press Goodbye.\nclick 500 250\nwait 200\nclick 500 240\nwait 2700\nclick 465 135\n"
                       "wait 200\n" + game.StateCommand("garden")),
              0)
        << game.Read("stderr");
    json library = game.Dump("library");
    EXPECT_EQ(library["plugins"], json::array({"DemoBell"}));
    EXPECT_EQ(library["texts"][0]["caption"],
              "A bell rings in the library. The red shelf hides something. The blue one leads back.");
    EXPECT_EQ(library["variables"]["integer"]["BellRings"], 0);
    json garden = game.Dump("garden");
    EXPECT_EQ(garden["variables"]["integer"]["BellRings"], 2);
    EXPECT_EQ(garden["message"]["text"], "The butterfly flutters out of reach.");
    EXPECT_EQ(garden["messageboxes"], json::array());
}

// The library's script adds a button component; its click handler in the procedures rings the bell
// plugin, tells the rings and removes the button.
TEST(DemoComponents, TheLibrarysBellButtonRingsAndGoes) {
    DemoGame game;
    ASSERT_EQ(game.Run("press Start New Game\nclick 100 250\nwait 200\n" + game.StateCommand("added") +
                       "click 540 35\nwait 100\n" + game.StateCommand("clicked")),
              0)
        << game.Read("stderr");
    json added = game.Dump("added");
    EXPECT_EQ(added["components"],
              json::parse(R"([{"name": "bellbutton", "progid": "VB.CommandButton", "sink": 1}])"));
    json clicked = game.Dump("clicked");
    EXPECT_EQ(clicked["components"], json::array());
    EXPECT_EQ(clicked["variables"]["integer"]["BellRings"], 1);
    EXPECT_EQ(clicked["message"]["text"], "Ding! The bell rings 1 times now.");
    EXPECT_EQ(clicked["messageboxes"], json::array());
}

}  // namespace
}  // namespace taviro
