// The player driven end to end through its automation file, headless.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "project/field_reader.h"
#include "support/player_run.h"

namespace taviro::app {
namespace {

// The player on a game of one black frame, "Start".
struct HeadlessRun : testing::PlayerRun {
    HeadlessRun() : PlayerRun(TAVIRO_PLAYER_PATH) {
        game().Write("Config/General", testing::GeneralFile().Text());
        game().Write("Config/Texts", "1\r\n");
        game().Write("Frames/Start.fme",
                     testing::FieldsLine({0.0, std::string("0"), false, false, std::string(""), false, 0.0,
                                          std::string(""), std::string(""), std::string("")}));
    }
    nlohmann::json State(const std::string& name) const { return Json(name); }
};

TEST(HeadlessPlayer, RunsTheAutomationOnTheVirtualClockAndDumpsItsState) {
    HeadlessRun run;
    int status = run.Run("# start\npress Start New Game\nwait 1500\nclick 10 10\nkey F1\nwait 250\nstate " +
                         run.Path("state.json") + "\nscreenshot " + run.Path("shot.png") + "\nstate -\n");
    ASSERT_EQ(status, 0) << run.Read("stderr");
    auto state = nlohmann::json::parse(run.Read("state.json"));
    EXPECT_EQ(state["clock_ms"], 1750);
    EXPECT_EQ(state["windows"], nlohmann::json::array({"game"}));
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array());
    EXPECT_EQ(state["display"]["mode"], "headless");
    EXPECT_EQ(state["frame"]["name"], "Start");
    EXPECT_EQ(nlohmann::json::parse(run.Read("stdout")), state);
    EXPECT_EQ(run.Read("shot.png").substr(1, 3), "PNG");
}

TEST(HeadlessPlayer, AMalformedLineExitsWithStatusTwoNamingTheLine) {
    HeadlessRun run;
    EXPECT_EQ(run.Run("wait 10\n\nclick ten 10\nstate " + run.Path("never.json") + "\n"), 2);
    EXPECT_NE(run.Read("stderr").find("line 3"), std::string::npos) << run.Read("stderr");
    EXPECT_FALSE(std::filesystem::exists(run.Path("never.json")));
}

TEST(HeadlessPlayer, QuitEndsTheRunAndACommandThatFailsGivesStatusOne) {
    HeadlessRun run;
    EXPECT_EQ(run.Run("quit\nstate " + run.Path("never.json") + "\n"), 0);
    EXPECT_FALSE(std::filesystem::exists(run.Path("never.json")));
    EXPECT_EQ(run.Run("press Nothing like this\n"), 1);
    EXPECT_NE(run.Read("stderr").find("line 1: nothing to press"), std::string::npos);
}

TEST(GameWindowLifecycle, QuittingReturnsToTheWelcomeWindowAndNoLeavesTheGameAsItWas) {
    HeadlessRun run;
    int status = run.Run("state " + run.Path("welcome.json") + "\npress Start New Game\nwait 100\nstate " +
                         run.Path("game.json") + "\nanswer No\nkey Q ctrl\nwait 1000\nstate " +
                         run.Path("kept.json") + "\nanswer Yes\nkey Q ctrl\nwait 100\nstate " +
                         run.Path("closing.json") + "\nwait 500\nstate " + run.Path("closed.json") + "\n");
    ASSERT_EQ(status, 0) << run.Read("stderr");
    auto welcome = nlohmann::json::parse(run.Read("welcome.json"));
    EXPECT_EQ(welcome["windows"], nlohmann::json::array({"welcome"}));
    EXPECT_FALSE(welcome.contains("frame"));
    auto game = nlohmann::json::parse(run.Read("game.json"));
    EXPECT_EQ(game["windows"], nlohmann::json::array({"game"}));
    EXPECT_EQ(game["frame"]["name"], "Start");
    auto kept = nlohmann::json::parse(run.Read("kept.json"));
    EXPECT_EQ(kept["windows"], nlohmann::json::array({"game"}));
    EXPECT_EQ(kept["messageboxes"][0]["text"], "Do you really want to quit?");
    EXPECT_EQ(kept["messageboxes"][0]["answer"], "No");
    // Yes: the window stays, disabled, for half a second, then the welcome window is back.
    auto closing = nlohmann::json::parse(run.Read("closing.json"));
    EXPECT_EQ(closing["windows"], nlohmann::json::array({"game"}));
    auto closed = nlohmann::json::parse(run.Read("closed.json"));
    EXPECT_EQ(closed["windows"], nlohmann::json::array({"welcome"}));
    EXPECT_FALSE(closed.contains("frame"));
}

TEST(GameWindowLifecycle, QuittingAGameThatSkipsTheWelcomeWindowEndsTheProgram) {
    HeadlessRun run;
    run.game().Write("Config/General", testing::GeneralFile().Set(43, true).Text());
    int status = run.Run("state " + run.Path("game.json") + "\nanswer Yes\nkey Q ctrl\nwait 600\nstate " +
                         run.Path("never.json") + "\n");
    ASSERT_EQ(status, 0) << run.Read("stderr");
    auto game = nlohmann::json::parse(run.Read("game.json"));
    EXPECT_EQ(game["windows"], nlohmann::json::array({"game"}));
    EXPECT_FALSE(std::filesystem::exists(run.Path("never.json")));
}

TEST(GameWindowLifecycle, TheDebugMenuAppearsOnlyForTheKeySequenceTypedInOrder) {
    HeadlessRun run;
    int status =
        run.Run("press Start New Game\nkey F12\nkey F9\nkey A\nkey F11\nkey F10\nkey Escape\nstate " +
                run.Path("wrong.json") + "\nkey F12\nkey F9\nkey F11\nkey F10\nstate " +
                run.Path("right.json") + "\nmenu Debug/Go to another frame/Start\n");
    ASSERT_EQ(status, 0) << run.Read("stderr");
    auto captions = [](const nlohmann::json& state) {
        std::vector<std::string> names;
        for (const auto& item : state["menus"]["bar"]) names.push_back(item["caption"]);
        return names;
    };
    auto wrong = nlohmann::json::parse(run.Read("wrong.json"));
    EXPECT_EQ(captions(wrong), (std::vector<std::string>{"Exit", "Options", "Load Game...", "Save Game..."}));
    auto right = nlohmann::json::parse(run.Read("right.json"));
    EXPECT_EQ(captions(right),
              (std::vector<std::string>{"Exit", "Options", "Load Game...", "Save Game...", "Debug"}));
    EXPECT_EQ(right["menus"]["bar"][4]["items"][0]["items"][2]["caption"], "Start");
}

TEST(GameWindowLifecycle, TheFullScreenToggleHidesTheMenusAndGoesBackAndForth) {
    HeadlessRun run;
    run.game().Write("Config/General", testing::GeneralFile().Set(41, true).Set(62, true).Text());
    int status = run.Run("press Start New Game\nstate " + run.Path("window.json") +
                         "\nkey Escape\nmenu Options/Toggle Full-Screen \\/ Windowed Mode\nstate " +
                         run.Path("full.json") +
                         "\nkey Escape\nmenu Options/Toggle Full-Screen \\/ Windowed Mode\nstate " +
                         run.Path("back.json") + "\n");
    ASSERT_EQ(status, 0) << run.Read("stderr");
    auto window = nlohmann::json::parse(run.Read("window.json"));
    EXPECT_EQ(window["display"]["full_screen"], false);
    auto full = nlohmann::json::parse(run.Read("full.json"));
    EXPECT_EQ(full["display"]["full_screen"], true);
    EXPECT_TRUE(full["menus"]["bar"].is_null());
    EXPECT_EQ(full["display"]["client_size"], window["display"]["client_size"]);
    auto back = nlohmann::json::parse(run.Read("back.json"));
    EXPECT_EQ(back["display"]["full_screen"], false);
}

using std::string;
using testing::FieldsLine;

// An action record (by position in ".fm3", or keyed in ".fm0"): a message in the game window,
// the removal of the dropped item, and a script where "|" stands for a double quote.
string ActionRecord(const string& key, const string& message, bool removeAfterUse, const string& script) {
    return FieldsLine({0.0, key, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({0.0, string(""), false, false, false, !message.empty(), message, 0.0, string(""),
                       removeAfterUse, false}) +
           FieldsLine({0.0, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({false, false, string(""), false, string("")}) + FieldsLine({0.0, 0.0, 0.0, false}) +
           FieldsLine({0.0, 0.0, 0.0, true}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({true}) + FieldsLine({0.0, 0.0}) + FieldsLine({!script.empty(), script}) +
           FieldsLine({string(project::kRecordSeparator)});
}

string HotspotRecord(int left, int top) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({left * 15.0, top * 15.0, 1500.0, 1500.0, 0.0, false, string(""), 0.0, string(""), 0.0,
                       0.0, 0.0}) +
           FieldsLine({string(project::kRecordSeparator)});
}

// A 640-wide game without the menu button in its bar, whose start frame has four hotspots of
// 100 x 100: a shelf at (100, 100) with a key on it, a door at (300, 100) that the key opens and
// that starts two timed events, a chest at (100, 300) full of coins, a table at (300, 300) with a
// candle. The candle dropped on the key lights it.
struct ItemsGame : HeadlessRun {
    ItemsGame() {
        game().Write("Config/General", testing::GeneralFile().Set(31, false).Text());
        game().Write("Config/Variables", FieldsLine({0.0, string("Ticks"), string("Opened"), string("Lit")}));
        game().Write("FramesData/Start.fm2", HotspotRecord(100, 100) + HotspotRecord(300, 100) +
                                                 HotspotRecord(100, 300) + HotspotRecord(300, 300));
        game().Write("FramesData/Start.fm3",
                     ActionRecord("", "Found it", false, "") + ActionRecord("", "", false, "") +
                         ActionRecord("", "", false, "For i = 1 To 15 : AddItem |Coin|, True : Next"));
        game().Write("FramesData/Start.fm4", PickUp(1, "Key") + PickUp(4, "Candle"));
        game().Write("FramesData/Start.fm0",
                     ActionRecord("2_key.drg", "", true,
                                  "Opened = 1 : CreateTimedEvent 1, |Ticks = Ticks + 1|, True : "
                                  "CreateTimedEvent 2, |Ticks = Ticks + 100|, False"));
        for (const char* item : {"Key", "Candle", "Coin", "Flame"}) {
            game().Write(string("Areas/") + item + ".obj", FieldsLine({string(item) + ".bmp"}));
            game().Write(string("Areas/") + item + ".bmp", "BM");
        }
        game().Write("Areas/Candle_on_Key.drg",
                     FieldsLine({1.0, 1.0, 1.0, string("Flame"), 0.0, 0.0, 0.0, true, string("Lit = 1")}));
    }
    static string PickUp(int hotspot, const string& item) {
        return testing::Record(
            {string(""), double(hotspot), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, item});
    }
};

TEST(HeadlessPlayer, ItemsArePickedUpCombinedAndUsedOnHotspots) {
    ItemsGame run;
    auto state = [&](const string& name) { return "state " + run.Path(name) + "\n"; };
    ASSERT_EQ(run.Run(string("press Start New Game\nclick 150 150\n") + state("key.json") +
                      "wait 2100\nclick 350 350\nwait 2100\n" + state("hidden.json") + "move 40 8\n" +
                      state("shown.json") + "drag 68 26 26 26\n" + state("combined.json") +
                      "click 150 150\nwait 2100\nmove 40 8\n" + "drag 68 26 350 150\n" + state("used.json") +
                      "wait 2000\n" + state("timed.json") + "click 150 350\n" + state("coins.json")),
              0)
        << run.Read("stderr");

    auto key = run.State("key.json");
    EXPECT_EQ(key["inventory"]["items"], nlohmann::json::array({"Key"}));
    EXPECT_EQ(key["inventory"]["shown"], true);  // popped up for the new item
    EXPECT_EQ(key["inventory"]["bar_top"], 0);
    EXPECT_EQ(run.State("hidden.json")["inventory"]["bar_top"], -52);
    EXPECT_EQ(run.State("shown.json")["inventory"]["bar_top"], 0);

    auto combined = run.State("combined.json");
    EXPECT_EQ(combined["inventory"]["items"], nlohmann::json::array({"Flame"}));
    EXPECT_EQ(combined["variables"]["integer"]["Lit"], 1);

    auto used = run.State("used.json");
    EXPECT_EQ(used["inventory"]["items"], nlohmann::json::array({"Flame"}));
    EXPECT_EQ(used["inventory"]["shown"], false);  // dragged over the scene, the bar went up
    EXPECT_EQ(used["variables"]["integer"]["Opened"], 1);
    ASSERT_EQ(used["timers"]["timed_events"].size(), 2u);
    EXPECT_EQ(used["timers"]["timed_events"][0]["running"], true);
    EXPECT_EQ(used["timers"]["timed_events"][1]["interval_ms"], 2000);

    // The repeating event fired twice, the other once.
    auto timed = run.State("timed.json");
    EXPECT_EQ(timed["variables"]["integer"]["Ticks"], 102);
    EXPECT_EQ(timed["timers"]["timed_events"][1]["running"], false);

    auto coins = run.State("coins.json");
    ASSERT_EQ(coins["inventory"]["icons"].size(), 16u);
    EXPECT_EQ(coins["inventory"]["icons"][14], (nlohmann::json{{"x", 598}, {"y", 10}}));
    EXPECT_EQ(coins["inventory"]["icons"][15], (nlohmann::json{{"x", 10}, {"y", 52}}));
    EXPECT_EQ(coins["inventory"]["bar_height"], 94);
}

TEST(HeadlessPlayer, MessageStripHidesAfterSeventyMillisecondsPerCharacterAndASecond) {
    ItemsGame run;
    auto state = [&](const string& name) { return "state " + run.Path(name) + "\n"; };
    // "Found it": 8 characters, 1.56 seconds.
    ASSERT_EQ(run.Run(string("press Start New Game\nclick 150 150\n") + state("shown.json") + "wait 1459\n" +
                      state("still.json") + "wait 1\n" + state("gone.json")),
              0)
        << run.Read("stderr");
    auto shown = run.State("shown.json");
    EXPECT_EQ(shown["message"],
              (nlohmann::json{{"visible", true}, {"text", "Found it"}, {"hide_in_ms", 1560}}));
    // The click itself let 100 ms pass.
    EXPECT_EQ(run.State("still.json")["message"]["visible"], true);
    EXPECT_EQ(run.State("gone.json")["message"]["visible"], false);
}

// A dialogue on the start frame: "Hello?" answers and shows "More?" in its place, "More?" answers
// for a second and a half, "Bye" ends the dialogue.
string DialogueLineFields(const string& question, const string& answer, int id, bool visible, bool ends,
                          std::vector<int> show, std::vector<int> hide, double seconds, bool timed) {
    string text = FieldsLine(
        {question, answer, string(""), string(""), string(""), double(id), visible, ends, 0.0, 0.0, 0.0});
    text += FieldsLine({double(show.size())});
    for (int i : show) text += FieldsLine({double(i)});
    text += FieldsLine({double(hide.size())});
    for (int i : hide) text += FieldsLine({double(i)});
    return text + FieldsLine({seconds, 0.0, 0.0, 0.0, timed, 0.0});
}

TEST(HeadlessPlayer, DialogueLinesAnswerShowHideAndEnd) {
    HeadlessRun run;
    run.game().Write("FramesData/Start.dlg",
                     FieldsLine({0.0, 0.0, 0.0, string(""), string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 3.0}) +
                         DialogueLineFields("Hello?", "Hi.", 1, true, false, {3}, {1}, 0, false) +
                         DialogueLineFields("Bye", "", 2, true, true, {3}, {}, 0, false) +
                         DialogueLineFields("More?", "Later.", 3, false, false, {}, {}, 1.5, true));
    auto state = [&](const string& name) { return "state " + run.Path(name) + "\n"; };
    ASSERT_EQ(
        run.Run("press Start New Game\n" + state("start.json") + "press Hello?\n" + state("hello.json") +
                "press More?\n" + state("more.json") + "press Bye\n" + state("bye.json")),
        0)
        << run.Read("stderr");

    auto start = run.State("start.json");
    EXPECT_EQ(start["dialogue"]["running"], true);
    EXPECT_EQ(start["dialogue"]["name"], "Start");
    auto hello = run.State("hello.json");
    // "Hi." stays 1.21 seconds; the choice waited for it.
    EXPECT_GE(hello["clock_ms"].get<int>() - start["clock_ms"].get<int>(), 1210);
    EXPECT_LT(hello["clock_ms"].get<int>() - start["clock_ms"].get<int>(), 1250);
    EXPECT_EQ(hello["dialogue"]["lines"][0],
              (nlohmann::json{{"id", 1}, {"text", "Hello?"}, {"visible", false}, {"chosen", true}}));
    EXPECT_EQ(hello["dialogue"]["lines"][2]["visible"], true);
    auto more = run.State("more.json");
    EXPECT_GE(more["clock_ms"].get<int>() - hello["clock_ms"].get<int>(), 1500);
    EXPECT_EQ(more["message"]["visible"], false);
    auto bye = run.State("bye.json");
    EXPECT_EQ(bye["dialogue"]["running"], false);
    EXPECT_EQ(bye["dialogue"]["name"], "");
    EXPECT_EQ(run.Run("press Start New Game\npress Hello?\npress Hello?\n"),
              1);  // a hidden line cannot be chosen
}

TEST(PlayerWindow, ShowsUnderAnXServerWhatHeadlessPlayShows) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    HeadlessRun run;
    const std::string script =
        "press Start New Game\nwait 200\nclick 20 20\nkey Escape\nscreenshot " + run.Path("shot.png") + "\n";
    ASSERT_EQ(run.Run(script), 0) << run.Read("stderr");
    std::string headless = run.Read("shot.png");
    // Libraries that SDL loads for X11 and unloads at exit keep allocations the leak checker cannot name;
    // leaks of the player's own code are checked by the headless runs.
    std::string prefix = "LSAN_OPTIONS=detect_leaks=0 xvfb-run -a";
    ASSERT_EQ(run.Run(script + "state " + run.Path("state.json") + "\n", prefix, "--window --scale 2"), 0)
        << run.Read("stderr");
    EXPECT_EQ(run.Read("shot.png"), headless);
    auto state = nlohmann::json::parse(run.Read("state.json"));
    EXPECT_EQ(state["display"]["mode"], "window");
    EXPECT_EQ(state["display"]["scale"], 2.0);
    EXPECT_GE(state["clock_ms"].get<int>(), 200);
}

// ---------------------------------------------------------------- games with scripts

using std::string;
using testing::FieldsLine;

// A frame with a black background whose frame script runs when it opens ("|" stands for a double
// quote in stored scripts).
string FrameWithScript(const string& script) {
    return FieldsLine(
               {0.0, string("0"), false, false, string(""), false, 0.0, string(""), string(""), string("")}) +
           FieldsLine({false, false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({false}) +
           FieldsLine({false, 0.0}) + FieldsLine({0.0}) + FieldsLine({true, script});
}

// A frame text at (left, top) pixels.
string TextRecord(const string& caption, int left, int top) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({caption, left * 15.0, top * 15.0, false, false, string("Arial"), 12.0, false, false,
                       0.0, string("")});
}

// A picture of one red pixel.
string OnePixelBitmap() {
    const unsigned char bytes[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40, 0, 0,   0, 1, 0,
                                   0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,  0, 0,   0, 0, 0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 0,  0, 255, 0};
    return string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// A game whose first frame "Start" runs a script, with the integer variables Door and Moves and the
// variant variables Result and Order.
struct ScriptedRun : HeadlessRun {
    explicit ScriptedRun(const string& frameScript) {
        game().Write("Config/Variables", FieldsLine({0.0, string("Door"), string("Moves"), string("***"),
                                                     string("Result"), string("Order")}));
        game().Write("Frames/Start.fme", FrameWithScript(frameScript));
        game().Write("Frames/Second.fme", FrameWithScript(""));
    }
    // Starts a new game, runs the automation and gives the state dumped at its end.
    nlohmann::json Play(const string& automation) {
        int status = Run("press Start New Game\n" + automation + "\nstate " + Path("state.json") + "\n");
        EXPECT_EQ(status, 0) << Read("stderr");
        return nlohmann::json::parse(Read("state.json"));
    }
};

TEST(ScriptedGame, ScriptsMoveHotspotsRewriteTextsAndRunTheirTimersOnce) {
    ScriptedRun run(
        "Hotspot(2).Left = Hotspot(2).Left + 150 : Text(1).Caption = |Hotspots: | & Hotspot.UBound : "
        "TimerObject(0).Interval = 500 : TimerObject(0).Enabled = True : If LoadControl(TimerObject(1)) Then "
        "TimerObject(1).Interval = 300 : TimerObject(1).Enabled = True");
    run.game().Write("FramesData/Start.fm2",
                     testing::HotspotRecord(10, 10, 50, 50) + testing::HotspotRecord(100, 10, 50, 50));
    run.game().Write("FramesData/Start.fm1", TextRecord("Welcome", 20, 200));
    run.game().Write(
        "Config/Procedures",
        "h1\r\nh2\r\nh3\r\nSub TimerObject0()\r\n  Moves = Moves + 1\r\n"
        "  Hotspot(1).Top = Hotspot(1).Top + 150\r\nEnd Sub\r\nSub TimerObject1()\r\n  Moves = Moves + 10\r\n"
        "End Sub");
    auto state = run.Play("wait 1600");
    EXPECT_EQ(state["hotspots"][1]["x"].get<int>() - state["hotspots"][0]["x"].get<int>(), 100);
    EXPECT_EQ(state["texts"][0]["caption"], "Hotspots: 2");
    // A script timer, loaded or not, fires once per switching on.
    EXPECT_EQ(state["variables"]["integer"]["Moves"], 11);
    EXPECT_EQ(state["hotspots"][0]["y"].get<int>() - state["hotspots"][1]["y"].get<int>(), 10);
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array());
}

TEST(ScriptedGame, AComboBoxAddedByAScriptIsOpenedAndChosenFromWithTheMouse) {
    ScriptedRun run(
        "AddComponent |VB.ComboBox|, |Colour|, False, False : Set c = Component(|Colour|) : "
        "c.AddItem |red| : c.AddItem |green| : c.Move 1500, 1500, 1500 : c.Visible = True : Order = || : "
        "Result = FileBoxObject.Path & FileBoxObject.ListCount & DriveBoxObject.Drive");
    run.game().Write(
        "Config/Procedures",
        "h1\r\nh2\r\nh3\r\nSub colour_Click(p)\r\n  Order = Order & Component(\"colour\").Text & "
        "Component(\"colour\").ListIndex\r\nEnd Sub");
    // The button at the right end of the box, then the first row of the list dropped below it.
    auto state = run.Play("wait 100\nclick 195 110\nwait 100\nscreenshot " + run.Path("open.png") +
                          "\nclick 130 127\nwait 100");
    EXPECT_EQ(state["variables"]["variant"]["Order"], "red0");
    EXPECT_EQ(state["variables"]["variant"]["Result"], "C:\\0c:");
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array());
}

TEST(ScriptedGame, TheWindowsFileListShowsTheGameFolderAndAutomationSelectsFromIt) {
    ScriptedRun run(
        "FileBoxObject.Pattern = |*.txt| : FileBoxObject.Move 3000, 300 : FileBoxObject.Visible = True");
    run.game().Write("notes.txt", "n");
    run.game().Write("readme.txt", "r");
    run.game().Write("FramesData/Start.fm2", testing::HotspotRecord(10, 10, 50, 50));
    run.game().Write(
        "FramesData/Start.fm3",
        testing::DoorActionRecord("", "Result = FileBoxObject.FileName & FileBoxObject.ListCount"));
    auto state = run.Play("wait 100\nselect readme.txt\nclick 30 30\nwait 100");
    EXPECT_EQ(state["variables"]["variant"]["Result"], "readme.txt2");
}

TEST(ScriptedGame, ATextBoxShownOverAHotspotTakesTheClickAndTheTypingBeforeTheHotspot) {
    // The window's text box lies over the top of the hotspot, which the frame loads after it.
    ScriptedRun run("TextBoxObject.Move 150, 1500, 1500, 300 : TextBoxObject.Visible = True");
    run.game().Write("FramesData/Start.fm2", testing::HotspotRecord(10, 90, 80, 60));
    run.game().Write("FramesData/Start.fm3",
                     testing::DoorActionRecord("", "Result = |hotspot:| & TextBoxObject.Text"));
    auto state = run.Play("wait 100\nclick 20 105\nwait 100\ntext abc\nwait 100\nclick 40 140\nwait 100");
    EXPECT_EQ(state["variables"]["variant"]["Result"], "hotspot:abc");
}

TEST(ScriptedGame, TheMouseWheelScrollsTheListUnderTheMouse) {
    ScriptedRun run("FileBoxObject.Move 3000, 300, 1500, 900 : FileBoxObject.Visible = True");
    for (int i = 0; i < 10; ++i) run.game().Write("file" + std::to_string(i) + ".txt", "x");
    run.game().Write("FramesData/Start.fm2", testing::HotspotRecord(10, 10, 50, 50));
    run.game().Write("FramesData/Start.fm3",
                     testing::DoorActionRecord("", "Result = FileBoxObject.TopIndex"));
    auto state = run.Play("wait 100\nwheel 220 40 -1\nclick 30 30\nwait 100");
    EXPECT_EQ(state["variables"]["variant"]["Result"], 3);
}

TEST(ScriptedGame, ActionScriptsReadTheGameAndLeaveRequestsForAfterwards) {
    ScriptedRun run("");
    run.game().Write("FramesData/Start.fm2", testing::HotspotRecord(10, 10, 50, 50));
    run.game().Write(
        "FramesData/Start.fm3",
        testing::DoorActionRecord(
            "",
            "SaveParameter |Level|, 3 : x = WriteINI(|scores.ini|, |Best|, |Score|, 42) : "
            "Result = GetProjectName() & |/| & GetCurrentFrameName() & |/| & "
            "LoadParameter(|level|, 0) & |/| & ReadINI(|scores.ini|, |best|, |score|) & "
            "|/| & GetClickPositionX() & |,| & GetClickPositionY() & |/| & GetHotspotNumber() & |/| & "
            "FramesHistoryObject.List(FramesHistoryObject.ListCount - 1) : "
            "GoToFrame |Second|, 0, 1"));
    auto state = run.Play("click 30 40\nwait 200");
    EXPECT_EQ(state["variables"]["variant"]["Result"], "TestGame/Start/3/42/30,40/1/Start");
    EXPECT_EQ(state["frame"]["name"], "Second");
    EXPECT_EQ(state["history"], nlohmann::json::array({"Start", "Second"}));
    EXPECT_TRUE(std::filesystem::exists(run.game().path() / "External" / "scores.ini"));
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array());
}

TEST(ScriptedGame, ScriptsAskTheDesktopToOpenDocumentsAndRunPrograms) {
    ScriptedRun run(
        "OpenURL |http://example.com/| : SendEmail |player@example.com| : OpenFile |notes.txt| : "
        "OpenExeFileAndWait |tool.exe| : OpenFile |missing.txt| : Order = |done|");
    run.game().Write("External/notes.txt", "notes");
    run.game().Write("External/tool.exe", "MZ");
    auto state = run.Play("wait 100");
    const auto& opened = state["desktop"]["opened"];
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], "http://example.com/");
    EXPECT_EQ(opened[1], "mailto:player@example.com");
    EXPECT_EQ(opened[2], (run.game().path() / "External" / "notes.txt").string());
    EXPECT_EQ(state["desktop"]["started"],
              nlohmann::json::array({(run.game().path() / "External" / "tool.exe").string()}));
    ASSERT_EQ(state["messageboxes"].size(), 1u);
    EXPECT_NE(
        state["messageboxes"][0]["text"].get<string>().find(" Error opening the file titled 'missing.txt'."),
        string::npos);
    EXPECT_EQ(state["variables"]["variant"]["Order"], "done");
}

TEST(ScriptedGame, ScriptsChangeTheDisplayModeAndTheOptions) {
    ScriptedRun run(
        "ChangeDisplayResolution 2 : Result = GetDisplayResolutionX() & |x| & GetDisplayResolutionY() & "
        "|/| & ScreenObject.Width : InvertTransitionsStatus : Order = GetTransitionsStatus() & "
        "GetEffectsStatus()");
    auto state = run.Play("wait 10\nkey Escape");
    EXPECT_EQ(state["variables"]["variant"]["Result"], "800x600/12000");
    EXPECT_EQ(state["variables"]["variant"]["Order"], "FalseTrue");
    // The new mode takes a second to settle.
    EXPECT_GE(state["clock_ms"].get<int>(), 1000);
    EXPECT_EQ(state["menus"]["bar"][1]["items"][0]["checked"], true);
}

TEST(ScriptedGame, ScriptsLoadSaveAndListPictures) {
    ScriptedRun run(
        "LoadAPicture Hotspot(1), |door.bmp| : Hotspot(2).Picture = LoadGraphicFile(|door.bmp|) : "
        "SaveAPicture Hotspot(1).Picture, |saved.bmp| : "
        "Result = DDir(|Areas\\*.BMP|, 0) & |,| & DDir(||, 0) & |,| & DDir(||, 0)");
    run.game().Write("FramesData/Start.fm2",
                     testing::HotspotRecord(10, 10, 50, 50) + testing::HotspotRecord(100, 10, 50, 50));
    run.game().Write("Areas/door.bmp", OnePixelBitmap());
    run.game().Write("Areas/window.bmp", OnePixelBitmap());
    run.game().Write("Areas/notes.txt", "");
    auto state = run.Play("wait 10");
    string door = (run.game().path() / "Areas" / "door.bmp").string();
    EXPECT_EQ(state["hotspots"][0]["picture"], door);
    EXPECT_EQ(state["hotspots"][1]["picture"], door);
    EXPECT_EQ(state["variables"]["variant"]["Result"], "door.bmp,window.bmp,");
    std::ifstream saved(run.game().path() / "saved.bmp", std::ios::binary);
    string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array()) << run.Read("stderr");
}

TEST(ScriptedGame, ASimulatedClickCarriesOutTheHotspotsActionOnceTheScriptHasReturned) {
    ScriptedRun run("SimulateHotspotClick 0 : SimulateHotspotClick 1 : Order = Order & |script,|");
    run.game().Write("FramesData/Start.fm2", testing::HotspotRecord(10, 10, 50, 50));
    run.game().Write("FramesData/Start.fm3", testing::DoorActionRecord("Second", "Order = Order & |click,|"));
    auto state = run.Play("wait 200");
    EXPECT_EQ(state["variables"]["variant"]["Order"], "0script,click,");
    EXPECT_EQ(state["frame"]["name"], "Second");
}

TEST(ScriptedGame, AnEndlessLoopEndsAtTheScriptTimeOutAndTheGameGoesOn) {
    ScriptedRun run("Do : Moves = 1 : Loop");
    run.game().Write("Config/More", "[General]\r\nScriptTimeOut=5\r\n");
    auto state = run.Play("wait 100");
    ASSERT_EQ(state["messageboxes"].size(), 1u);
    EXPECT_NE(
        state["messageboxes"][0]["text"].get<string>().find("Error executing script. The Scripting Engine"),
        string::npos);
    EXPECT_EQ(state["messageboxes"][0]["answer"], "OK");
    EXPECT_EQ(state["frame"]["name"], "Start");
    EXPECT_EQ(state["windows"], nlohmann::json::array({"game"}));
}

TEST(DebugMenu, TypedCodeRunsWithItsConsequencesAndIsOfferedAgain) {
    ScriptedRun run("");
    const string debugKeys = "key F12\nkey F9\nkey F11\nkey F10\n";
    auto state =
        run.Play(debugKeys + "input GoToFrame \"Second\", 0, 1 : Order = Order & \"ran,\"\n" +
                 "key Escape\nmenu Debug/Execute VBScript...\nkey Escape\nmenu Debug/Execute VBScript...\n" +
                 "key Escape\nmenu Debug/Edit procedures...\nkey Escape\nmenu Debug/Intercept next script\n" +
                 "state " + run.Path("marked.json") + "\nkey Escape\nmenu Debug/Execute VBScript...\n");
    EXPECT_EQ(state["frame"]["name"], "Second");
    EXPECT_EQ(state["variables"]["variant"]["Order"], "0ran,ran,ran,");
    const auto& boxes = state["messageboxes"];
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0]["kind"], "input");
    EXPECT_EQ(boxes[0]["title"], "Execute VBScript Code (for advanced users)");
    // The second time the box offers the code typed the first time.
    EXPECT_EQ(boxes[1]["answer"], boxes[0]["answer"]);
    EXPECT_EQ(boxes[2]["text"], "This command is not available in the compiled version of the project.");
    EXPECT_EQ(boxes[3]["kind"], "input");
    EXPECT_EQ(boxes[4]["title"], "Not Available");
    EXPECT_NE(boxes[4]["text"].get<string>().find("code interception"), string::npos);
    auto marked = nlohmann::json::parse(run.Read("marked.json"));
    auto interceptItem = [](const nlohmann::json& dump) {
        return dump["menus"]["bar"][4]["items"][4]["checked"];
    };
    EXPECT_EQ(interceptItem(marked), true);
    EXPECT_EQ(interceptItem(state), false);
}

}  // namespace
}  // namespace taviro::app
