// The player driven end to end through its automation file, headless.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "project/field_reader.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

struct HeadlessRun {
    testing::TemporaryFolder game;
    testing::TemporaryFolder output;

    HeadlessRun() {
        game.Write("Config/General", testing::GeneralFile().Text());
        game.Write("Config/Texts", "1\r\n");
        // The initial frame: a plain black background.
        game.Write("Frames/Start.fme",
                   testing::FieldsLine({0.0, std::string("0"), false, false, std::string(""), false, 0.0,
                                        std::string(""), std::string(""), std::string("")}));
    }

    // Runs the player on the automation text, headless unless a prefix starts it under a display server;
    // the exit status.
    int Run(const std::string& automation, const std::string& prefix = "",
            const std::string& mode = "--headless") {
        auto script = output.Write("script.txt", automation);
        std::string command = "HOME='" + output.path().string() + "' SDL_AUDIODRIVER=dummy " + prefix +
                              " '" TAVIRO_PLAYER_PATH "' " + mode + " --autoplay '" + script.string() +
                              "' '" + game.path().string() + "' >'" + Path("stdout") + "' 2>'" +
                              Path("stderr") + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Path(const std::string& name) const { return (output.path() / name).string(); }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
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
    run.game.Write("Config/General", testing::GeneralFile().Set(43, true).Text());
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

// A hotspot covering (left, top, width, height) pixels.
string HotspotRecord(int left, int top, int width, int height) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({left * 15.0, top * 15.0, width * 15.0, height * 15.0, 0.0, false, string(""), 0.0,
                       string(""), 0.0, 0.0, 0.0}) +
           FieldsLine({string(project::kRecordSeparator)});
}

// An action that sets Door to 1, runs a script and goes to a frame.
string ActionRecord(const string& frame, const string& script) {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {1.0, string("Door"), false, true, false, false, string(""), 0.0, string(""), false, false}) +
           FieldsLine({frame.empty() ? 0.0 : 1.0, frame}) +
           FieldsLine({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({false, false, string(""), false, string("")}) + FieldsLine({0.0, 0.0, 0.0, false}) +
           FieldsLine({0.0, 0.0, 0.0, false}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({true}) + FieldsLine({0.0, 0.0}) + FieldsLine({!script.empty(), script}) +
           FieldsLine({string(project::kRecordSeparator)});
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
        game.Write("Config/Variables", FieldsLine({0.0, string("Door"), string("Moves"), string("***"),
                                                   string("Result"), string("Order")}));
        game.Write("Frames/Start.fme", FrameWithScript(frameScript));
        game.Write("Frames/Second.fme", FrameWithScript(""));
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
        "TimerObject(0).Interval = 500 : If LoadControl(TimerObject(1)) Then TimerObject(1).Interval = 300");
    run.game.Write("FramesData/Start.fm2", HotspotRecord(10, 10, 50, 50) + HotspotRecord(100, 10, 50, 50));
    run.game.Write("FramesData/Start.fm1", TextRecord("Welcome", 20, 200));
    run.game.Write(
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

TEST(ScriptedGame, ActionScriptsReadTheGameAndLeaveRequestsForAfterwards) {
    ScriptedRun run("");
    run.game.Write("FramesData/Start.fm2", HotspotRecord(10, 10, 50, 50));
    run.game.Write(
        "FramesData/Start.fm3",
        ActionRecord(
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
    EXPECT_TRUE(std::filesystem::exists(run.game.path() / "External" / "scores.ini"));
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array());
}

TEST(ScriptedGame, ScriptsAskTheDesktopToOpenDocumentsAndRunPrograms) {
    ScriptedRun run(
        "OpenURL |http://example.com/| : SendEmail |player@example.com| : OpenFile |notes.txt| : "
        "OpenExeFileAndWait |tool.exe| : OpenFile |missing.txt| : Order = |done|");
    run.game.Write("External/notes.txt", "notes");
    run.game.Write("External/tool.exe", "MZ");
    auto state = run.Play("wait 100");
    const auto& opened = state["desktop"]["opened"];
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], "http://example.com/");
    EXPECT_EQ(opened[1], "mailto:player@example.com");
    EXPECT_EQ(opened[2], (run.game.path() / "External" / "notes.txt").string());
    EXPECT_EQ(state["desktop"]["started"],
              nlohmann::json::array({(run.game.path() / "External" / "tool.exe").string()}));
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
    run.game.Write("FramesData/Start.fm2", HotspotRecord(10, 10, 50, 50) + HotspotRecord(100, 10, 50, 50));
    run.game.Write("Areas/door.bmp", OnePixelBitmap());
    run.game.Write("Areas/window.bmp", OnePixelBitmap());
    run.game.Write("Areas/notes.txt", "");
    auto state = run.Play("wait 10");
    string door = (run.game.path() / "Areas" / "door.bmp").string();
    EXPECT_EQ(state["hotspots"][0]["picture"], door);
    EXPECT_EQ(state["hotspots"][1]["picture"], door);
    EXPECT_EQ(state["variables"]["variant"]["Result"], "door.bmp,window.bmp,");
    std::ifstream saved(run.game.path() / "saved.bmp", std::ios::binary);
    string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(state["messageboxes"], nlohmann::json::array()) << run.Read("stderr");
}

TEST(ScriptedGame, ASimulatedClickCarriesOutTheHotspotsActionOnceTheScriptHasReturned) {
    ScriptedRun run("SimulateHotspotClick 0 : SimulateHotspotClick 1 : Order = Order & |script,|");
    run.game.Write("FramesData/Start.fm2", HotspotRecord(10, 10, 50, 50));
    run.game.Write("FramesData/Start.fm3", ActionRecord("Second", "Order = Order & |click,|"));
    auto state = run.Play("wait 200");
    EXPECT_EQ(state["variables"]["variant"]["Order"], "0script,click,");
    EXPECT_EQ(state["frame"]["name"], "Second");
}

TEST(ScriptedGame, AnEndlessLoopEndsAtTheScriptTimeOutAndTheGameGoesOn) {
    ScriptedRun run("Do : Moves = 1 : Loop");
    run.game.Write("Config/More", "[General]\r\nScriptTimeOut=5\r\n");
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
