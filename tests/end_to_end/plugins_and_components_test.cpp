// The demo game's plugin and components played by the player itself, headless.
#include <gtest/gtest.h>

#include <filesystem>
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
                       "wait 200\n" +
                       game.StateCommand("garden")),
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

// The library's script adds a button component and a lantern written in VBScript. The button's click
// handler in the procedures rings the bell plugin, tells the rings and removes the button; the
// lantern lights and goes out at each click and its handler tells so; going back removes it.
TEST(DemoComponents, TheLibrarysBellButtonAndLanternAnswerTheirClicks) {
    DemoGame game;
    ASSERT_EQ(game.Run("press Start New Game\nclick 100 250\nwait 200\n" + game.StateCommand("added") +
                       "click 540 35\nwait 100\n" + game.StateCommand("rung") + "click 585 85\nwait 100\n" +
                       game.StateCommand("lit") + "click 585 85\nwait 100\n" + game.StateCommand("out") +
                       "press Goodbye.\nwait 3000\nclick 500 250\nwait 200\n" + game.StateCommand("hall")),
              0)
        << game.Read("stderr");
    EXPECT_EQ(game.Dump("added")["components"], json::parse(R"([
        {"name": "bellbutton", "progid": "VB.CommandButton", "sink": 1},
        {"name": "lantern", "progid": "Demo.Lantern", "sink": 2}])"));
    json rung = game.Dump("rung");
    EXPECT_EQ(rung["components"].size(), 1u);
    EXPECT_EQ(rung["variables"]["integer"]["BellRings"], 1);
    EXPECT_EQ(rung["message"]["text"], "Ding! The bell rings 1 times now.");
    EXPECT_EQ(game.Dump("lit")["message"]["text"], "The lantern glows.");
    EXPECT_EQ(game.Dump("out")["message"]["text"], "The lantern goes out.");
    json hall = game.Dump("hall");
    EXPECT_EQ(hall["frame"]["name"], "Hall");
    EXPECT_EQ(hall["components"], json::array());
    EXPECT_EQ(hall["messageboxes"], json::array());
}

// A plugin with start-up code, code for every frame's opening and a variable of its own, added to
// the Lever and Gate game: it records the start and each frame it sees open, before and after the
// frame's own script.
TEST(PluginCode, StartUpAndFrameOpeningCodeRunInTheirPlaces) {
    testing::PlayerRun game(TAVIRO_PLAYER_PATH);
    game.CopyGame(std::filesystem::path(TAVIRO_FIXTURE_PROJECTS) / "lever_and_gate");
    using testing::FieldsLine;
    std::string list;
    for (int i = 0; i < 10; ++i) list += FieldsLine({0.0});
    game.game().Write("Config/Plugins", list + FieldsLine({std::string("Recorder")}));
    game.game().Write(
        "CPData/Recorder.cp",
        FieldsLine({1.0}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
            FieldsLine({false, false, std::string("Recorder"), std::string("Recorder")}) +
            FieldsLine({std::string("Seen = Seen & GetCurrentFrameName() & ~<~"),
                        std::string("Seen = Seen & ~>~"), std::string("Seen = ~start;~"), std::string(""),
                        std::string("")}) +
            FieldsLine({0.0}) + FieldsLine({1.0, std::string("Seen")}) +
            FieldsLine({0.0, 0.0, std::string(""), std::string(""), std::string("Act"), std::string("")}) +
            FieldsLine({std::string("Frame")}));
    ASSERT_EQ(game.Run("press Start New Game\n" + game.StateCommand("gate") + "click 70 70\nclick 210 70\n" +
                       game.StateCommand("yard")),
              0)
        << game.Read("stderr");
    json gate = game.Json("gate.json");
    EXPECT_EQ(gate["plugins"], json::array({"Recorder"}));
    EXPECT_EQ(gate["variables"]["variant"]["Seen"], "start;Gate<>");
    json yard = game.Json("yard.json");
    EXPECT_EQ(yard["frame"]["name"], "Yard");
    EXPECT_EQ(yard["variables"]["variant"]["Seen"], "start;Gate<>Yard<>");
    EXPECT_EQ(yard["messageboxes"], json::array());
}

// The demo arranged as a game played from CD: its pictures, sounds and music are moved to a CD
// folder under the game's title, listed in the CD index, and the game carries the CD marker.
class DemoOnCd : public DemoGame {
public:
    DemoOnCd() {
        namespace fs = std::filesystem;
        const fs::path game = this->game().path();
        const fs::path title = cd_.path() / "The Taviro Demo";
        std::string index = "0,0,0\r\n1\r\n0,0\r\n";
        for (const char* folder : {"Frames", "Areas"}) {
            fs::create_directories(title / folder);
            for (const fs::directory_entry& entry : fs::directory_iterator(game / folder)) {
                const std::string extension = entry.path().extension().string();
                if (extension != ".jpg" && extension != ".gif" && extension != ".wav" &&
                    extension != ".ogg" && extension != ".mid")
                    continue;
                index += "\"" + entry.path().filename().string() + "\"," + (folder[0] == 'F' ? "1" : "2") +
                         ",1\r\n";
                fs::rename(entry.path(), title / folder / entry.path().filename());
            }
        }
        this->game().Write("RunFromCD.dat", "");
        this->game().Write("Config/CDContents", index);
    }
    int Play(const std::string& automation, const std::string& drive) const {
        return Run(automation, "XDG_CONFIG_HOME='" + Path("config") + "'", "--headless" + drive);
    }
    std::string cd() const { return cd_.path().string(); }

private:
    testing::TemporaryFolder cd_;
};

TEST(DemoOnCd, PlaysFromTheMappedDriveWithoutAQuestion) {
    DemoOnCd game;
    ASSERT_EQ(game.Play("press Start New Game\nclick 100 250\nwait 200\n" + game.StateCommand("library"),
                        " --drive E='" + game.cd() + "'"),
              0)
        << game.Read("stderr");
    json library = game.Dump("library");
    EXPECT_EQ(library["frame"]["name"], "Library");
    EXPECT_EQ(library["messageboxes"], json::array());
    EXPECT_EQ(library["windows"], json::array({"game"}));
    EXPECT_EQ(game.Read("stderr").find("missing"), std::string::npos) << game.Read("stderr");
}

TEST(DemoOnCd, AsksForTheCdWhenItsFolderIsMissingAndCancelStopsTheGame) {
    DemoOnCd game;
    ASSERT_EQ(game.Play("press Start New Game\n" + game.StateCommand("asked") +
                            "select D:\npress Cancel\nwait 500\n" + game.StateCommand("cancelled"),
                        " --drive D='" + game.cd() + "/not-inserted'"),
              0)
        << game.Read("stderr");
    json asked = game.Dump("asked");
    EXPECT_EQ(asked["windows"].back(), "cd");
    json cancelled = game.Dump("cancelled");
    EXPECT_EQ(cancelled["windows"], json::array({"welcome"}));
    ASSERT_FALSE(cancelled["messageboxes"].empty());
    EXPECT_EQ(cancelled["messageboxes"][0]["text"].get<std::string>().rfind(
                  "File Not Found:\r\n" + game.cd() + "/not-inserted/The Taviro Demo/", 0),
              0u);
}

// The Lever and Gate game with a plugin whose frame-opening code adds controls and whose
// procedures hear their events, keeping what they hear in the plugin's variables.
class PluginGame : public testing::PlayerRun {
public:
    PluginGame(const std::string& frameCode, const std::string& procedures, const std::string& integer,
               const std::string& variant1, const std::string& variant2)
        : PlayerRun(TAVIRO_PLAYER_PATH) {
        CopyGame(std::filesystem::path(TAVIRO_FIXTURE_PROJECTS) / "lever_and_gate");
        using testing::FieldsLine;
        std::string list;
        for (int i = 0; i < 10; ++i) list += FieldsLine({0.0});
        game().Write("Config/Plugins", list + FieldsLine({std::string("Controls")}));
        game().Write(
            "CPData/Controls.cp",
            FieldsLine({1.0}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                FieldsLine({false, false, std::string("Controls"), std::string("Controls")}) +
                FieldsLine({frameCode, std::string(""), std::string(""), std::string(""), procedures}) +
                FieldsLine({1.0, integer}) + FieldsLine({2.0, variant1, variant2}) +
                FieldsLine(
                    {0.0, 0.0, std::string(""), std::string(""), std::string("Act"), std::string("")}) +
                FieldsLine({std::string("Frame")}));
    }
};

// A text box of five characters: KeyPress lists the characters, Return keeps the answer, Change
// counts the changes. Text typed before the box is pressed is not the box's.
class TypingGame : public PluginGame {
public:
    TypingGame()
        : PluginGame(
              "If Not DoesComponentExist(~Answer~) Then AddComponent ~VB.TextBox~, ~Answer~, False, False : "
              "With Component(~Answer~) : .Move 1500, 1500, 2000, 300 : .MaxLength = 5 : .Visible = True : "
              "End With",
              "Sub Answer_KeyPress(p) : Typed = Typed & p(~KeyAscii~) & ~,~ : "
              "If p(~KeyAscii~) = 13 Then Answer = Component(~Answer~).Text : End Sub\r\n"
              "Sub Answer_Change(p) : Changes = Changes + 1 : End Sub",
              "Changes", "Typed", "Answer") {}
};

TEST(TextBoxComponent, TheFocusedBoxTakesTypingAndKeysWithinItsLimits) {
    TypingGame game;
    ASSERT_EQ(game.Run("press Start New Game\n" + game.StateCommand("before") + "text xy\n" +
                       "click 150 110\ntext Lever!\nkey Backspace\ntext s\nkey Left\nkey Left\n" +
                       "key Delete\nkey Return\n" + game.StateCommand("typed") + "screenshot " +
                       game.Path("typed.png") + "\n"),
              0)
        << game.Read("stderr");
    json before = game.Json("before.json");
    EXPECT_EQ(before["components"],
              json::parse(R"([{"name": "answer", "progid": "VB.TextBox", "sink": 1}])"));
    EXPECT_EQ(before["variables"]["variant"]["Typed"], 0);  // a plugin's variables start at 0
    json typed = game.Json("typed.json");
    // "Lever" fills the box, "!" is heard but refused, Backspace (8) takes the "r", "s" goes in, and
    // Delete two places from the end takes the "e": "Levs".
    EXPECT_EQ(typed["variables"]["variant"]["Typed"], "076,101,118,101,114,33,8,115,13,");
    EXPECT_EQ(typed["variables"]["variant"]["Answer"], "Levs");
    EXPECT_EQ(typed["variables"]["integer"]["Changes"], 8);
    EXPECT_EQ(typed["messageboxes"], json::array());
}

// Two option buttons of a group and a scroll bar from 0 to 10: each click's result is kept by the
// handlers, and the scroll bar's Change reports its Value.
TEST(OptionAndScrollComponents, PressesSelectOneOptionAndStepTheScrollBar) {
    PluginGame game(
        "If Not DoesComponentExist(~North~) Then AddComponent ~VB.OptionButton~, ~North~, False, False : "
        "AddComponent ~VB.OptionButton~, ~South~, False, False : "
        "AddComponent ~VB.HScrollBar~, ~Speed~, False, False : "
        "Component(~North~).Move 1500, 1500 : Component(~South~).Move 1500, 1800 : "
        "Component(~Speed~).Move 1500, 2400, 1500, 255 : Component(~Speed~).Max = 10 : "
        "Component(~Speed~).LargeChange = 5 : Component(~North~).Visible = True : "
        "Component(~South~).Visible = True : Component(~Speed~).Visible = True",
        "Sub South_Click(p) : Chosen = Component(~North~).Value & ~/~ & Component(~South~).Value : End "
        "Sub\r\n"
        "Sub North_Click(p) : Chosen = Component(~North~).Value & ~/~ & Component(~South~).Value : End "
        "Sub\r\n"
        "Sub Speed_Change(p) : Speeds = Speeds & Component(~Speed~).Value & ~,~ : Changes = Changes + 1 : "
        "End Sub",
        "Changes", "Chosen", "Speeds");
    ASSERT_EQ(
        game.Run("press Start New Game\nclick 105 108\n" + game.StateCommand("north") + "click 105 128\n" +
                 game.StateCommand("south") + "click 195 168\nclick 195 168\nclick 150 168\nclick 105 168\n" +
                 game.StateCommand("scrolled") + "screenshot " + game.Path("shot.png") + "\n"),
        0)
        << game.Read("stderr");
    EXPECT_EQ(game.Json("north.json")["variables"]["variant"]["Chosen"], "True/False");
    EXPECT_EQ(game.Json("south.json")["variables"]["variant"]["Chosen"], "False/True");
    json scrolled = game.Json("scrolled.json");
    // Two presses of the right arrow, the track right of the thumb (+5), the left arrow.
    EXPECT_EQ(scrolled["variables"]["variant"]["Speeds"], "01,2,7,6,");
    EXPECT_EQ(scrolled["variables"]["integer"]["Changes"], 4);
    EXPECT_EQ(scrolled["messageboxes"], json::array());
}

// The game window's own text box and shape, shown by a frame's opening code; what the player typed
// in the gate's box is read when the yard opens. Typing before the box is pressed is not its.
TEST(WindowTextBox, TakesTheTypingOnceShownAndPressed) {
    PluginGame game(
        "Answer = TextBoxObject.Text : TextBoxObject.Move 4500, 4500, 1500, 300 : TextBoxObject.Visible = "
        "True : "
        "ShapeObject.Move 6000, 4500 : ShapeObject.Visible = True : Changes = TypeName(TextBoxObject) = "
        "~TextBox~",
        "", "Changes", "Answer", "Unused");
    ASSERT_EQ(game.Run("press Start New Game\ntext no\nclick 310 305\ntext gate\nkey Left\ntext s\n"
                       "click 70 70\nclick 210 70\n" +
                       game.StateCommand("yard")),
              0)
        << game.Read("stderr");
    json yard = game.Json("yard.json");
    EXPECT_EQ(yard["frame"]["name"], "Yard");
    EXPECT_EQ(yard["variables"]["variant"]["Answer"], "gatse");
    EXPECT_EQ(yard["variables"]["integer"]["Changes"], -1);
    EXPECT_EQ(yard["messageboxes"], json::array());
}

}  // namespace
}  // namespace taviro
