#include "app/game.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_state.h"
#include "platform/clock.h"
#include "platform/controls/control_kinds.h"
#include "support/sound_files.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;
using testing::FieldsLine;

string Fme(const string& picture) {
    return FieldsLine(
        {1.0, picture, false, false, string(""), false, 0.0, string(""), string(""), string("")});
}

// The window around the game, reduced to what the game asks of it.
struct WindowRecord : GameWindowServices {
    void ClearLoadGameDisplayMode() override {}
    void CenterWindowAndPictureBox() override {}
    void ResetMenus() override {}
    void ShowMenuBar(bool shown) override { menuBarShown = shown; }
    bool IsMenuBarShown() const override { return menuBarShown; }
    void ShowPopupMenu() override { ++popups; }
    void SetScreenPointer(std::optional<platform::MousePointer>, const std::string&) override {}
    void HideScreenPointer(bool) override {}
    bool IsSubMenuOpen() const override { return false; }
    void StartUnloading() override { ++unloadings; }
    void EnableWindow(bool enabled) override { enabledStates.push_back(enabled); }
    platform::Point ScreenSize() const override { return screen; }
    void SwitchToMode(int mode) override { screen = mode == 2 ? platform::Point{800, 600} : screen; }
    void SetLoadGameDisplayMode(int16_t mode) override { loadGameMode = mode; }
    bool TransitionsDisabled() override { return transitionsDisabled; }
    bool EffectsDisabled() override { return false; }
    void EnableOrDisableTransitions() override { transitionsDisabled = !transitionsDisabled; }
    void EnableOrDisableEffects() override {}
    std::vector<scripting::NamedObject> MenuObjects() override { return {}; }
    bool menuBarShown = false;
    int unloadings = 0;
    int popups = 0;
    std::vector<bool> enabledStates;
    platform::Point screen{1024, 768};
    int16_t loadGameMode = 0;
    bool transitionsDisabled = false;
};

// The game window over a form of its own, on a virtual clock, with the press of the left button.
struct GameWindowFixture : ::testing::Test {
    void Start() { game = std::make_unique<Game>(*test.project, test.flags, form, loop, window); }
    void Click(int x, int y) {
        platform::Control& target = form.HitTest({x, y});
        ASSERT_TRUE(target.events.mouseDown) << target.name();
        target.events.mouseDown(target, {1, 0, x - target.WindowBounds().x, y - target.WindowBounds().y});
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    WindowRecord window;
    platform::Form form{"Game", 640, 480};
    std::unique_ptr<Game> game;
};

struct GameFixture : GameWindowFixture {
    GameFixture() {
        test.Write("Config/General", testing::GeneralFile().Set(5, string("Hall")).Text());
        test.Write("Config/Variables", FieldsLine({0.0, string("Door"), string("***"), string("Visits")}));
        test.Write("Frames/Hall.fme", Fme("hall.jpg"));
        test.Write("Frames/hall.jpg", "x");
        test.Write("Frames/Library.fme", Fme("library.jpg"));
        test.Write("Frames/library.jpg", "x");
        test.Write("FramesData/Hall.fm2",
                   testing::HotspotRecord(10, 10, 100, 100) + testing::HotspotRecord(200, 10, 100, 100));
        test.Write("FramesData/Hall.fm3", testing::DoorActionRecord("Library", "Visits = Visits + 1") +
                                              testing::DoorActionRecord("", "GoToFrame |Library|, 0, 1"));
        EXPECT_TRUE(test.Initialize());
        Start();
    }
};

TEST_F(GameFixture, NewGameOpensTheInitialFrame) {
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_EQ(static_cast<platform::PictureBox*>(form.Find("PictureBox"))->picture,
              test.project->paths.FramesPath + "hall.jpg");
    ASSERT_NE(form.Find("Area", 2), nullptr);
    EXPECT_TRUE(form.Find("Area", 2)->visible());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(GameFixture, ClickOnAHotspotCarriesOutItsActionAndOpensTheNextFrame) {
    game->ResetAll(false);
    game->StartNewGame();
    Click(50, 50);
    EXPECT_EQ(game->currentFrame().name, "Library");
    EXPECT_EQ(game->variables().GetVariableValue("Door"), 1);
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "1");
    EXPECT_EQ(game->history().names(), (std::vector<string>{"Hall", "Library"}));
    EXPECT_EQ(game->hotspots().clickX(), 50);
    EXPECT_EQ(clock.NowMs(), 100);  // the pause after a click
    EXPECT_EQ(form.Find("Area", 1), nullptr);
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(GameFixture, ScriptsOfActionsCanOpenFrames) {
    game->ResetAll(false);
    game->StartNewGame();
    Click(250, 50);
    EXPECT_EQ(game->currentFrame().name, "Library");
}

TEST_F(GameFixture, ClickOnTheBackgroundCarriesOutNoAction) {
    game->ResetAll(false);
    game->StartNewGame();
    Click(500, 400);
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_TRUE(test.flags.bInterruptTransition);
}

TEST_F(GameFixture, ReferenceVariableDecidesOnTheFirstFrame) {
    test.Write("Config/Variables", FieldsLine({0.0, string("Reference_All_Controls")}));
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_EQ(game->scripts().ControlsReferencesMode, 2);
}

// A hall whose first hotspot starts a repeating timed event and may ask for the save window, and
// whose second starts one and leaves for the library; with a dialogue whose line acts as hotspot 2.
struct TimedHallFixture : GameFixture {
    TimedHallFixture() {
        test.Write(
            "FramesData/Hall.fm3",
            testing::DoorActionRecord(
                "", "CreateTimedEvent 1, |Visits = Visits + 1|, True : If Door = 1 Then PopupSaveGame") +
                testing::DoorActionRecord("Library", "CreateTimedEvent 1, |Visits = 100|, False"));
        test.Write("Frames/Hall.lks", "2\r\n");
        test.Write(
            "FramesData/Hall.dlg",
            FieldsLine({0.0, 0.0, 0.0, string(""), string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0}) +
                FieldsLine({string("Shall we go?"), string(""), string(""), string(""), string(""), 1.0, true,
                            false, 2.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, false, 0.0}));
        game->ResetAll(false);
        game->StartNewGame();
    }
    int Visits() {
        return std::stoi(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value).value());
    }
};

TEST_F(TimedHallFixture, TimedEventRunsOnceTheActionEndsWithoutAFrame) {
    Click(50, 50);
    EXPECT_EQ(Visits(), 0);
    loop.WaitMs(2000);
    EXPECT_EQ(Visits(), 2);
}

TEST_F(TimedHallFixture, TimedEventsPauseWhileTheSaveWindowIsOpen) {
    int visitsWhileOpen = -1;
    game->saveGameWindow = [&](std::function<void()> closed) {
        loop.WaitMs(5000);
        visitsWhileOpen = Visits();
        closed();
    };
    Click(50, 50);  // sets Door, so the script asks for the save window
    EXPECT_EQ(visitsWhileOpen, 0);
    loop.WaitMs(899);        // and the 100 ms pause after the click
    EXPECT_EQ(Visits(), 0);  // a fresh interval from the window's closing
    loop.WaitMs(1);
    EXPECT_EQ(Visits(), 1);
}

TEST_F(TimedHallFixture, ActionThatOpensAFrameDiscardsItsTimedEventAndEndsTheDialogue) {
    EXPECT_TRUE(game->dialogue().running());
    Click(250, 50);
    EXPECT_EQ(game->currentFrame().name, "Library");
    EXPECT_EQ(game->timedEvents().table().size(), 1u);
    EXPECT_FALSE(game->dialogue().running());
    loop.WaitMs(2000);
    EXPECT_EQ(Visits(), 0);
}

TEST_F(TimedHallFixture, DialogueKeepsRunningWhenItsLineOpensAnotherFrame) {
    platform::Control& line = *form.Find("lblDialogue", 1);
    line.events.click(line);
    EXPECT_EQ(game->currentFrame().name, "Library");
    EXPECT_TRUE(game->dialogue().running());
    EXPECT_EQ(game->dialogue().name(), "Hall");
    game->ResetAll(false);
    EXPECT_FALSE(game->dialogue().running());
}

// A frame with looping music and a channel record that fades a sound in over five seconds.
string FadingFme(const string& picture, const string& music, const string& channelFile) {
    return FieldsLine({1.0, picture, false, false, music, false, 0.0, string(""), string(""), string("")}) +
           FieldsLine({false, false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({true}) +
           FieldsLine({false, 0.0}) + FieldsLine({0.0}) + FieldsLine({false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 5000.0, 0.0, 5.0, 1.0}) +
           FieldsLine({2.0, true, true, 10.0, channelFile}) + FieldsLine({false}) + FieldsLine({string("")});
}

TEST_F(GameFixture, AClickCompletesTheFadesAndANewGameSilencesEveryPlayer) {
    test.Write("Areas/theme.wav", testing::ToneWav(2.0));
    test.Write("Areas/rain.wav", testing::ToneWav(2.0));
    test.Write("Frames/Hall.fme", FadingFme("hall.jpg", "theme.wav", "rain.wav"));
    game->ResetAll(false);
    game->StartNewGame();
    const frames::MediaPlayer& music = game->sounds().Player(frames::kMusicPlayer);
    const frames::MediaPlayer& rain = game->sounds().ChannelPlayer(1);
    EXPECT_EQ(music.GetPlayState(), frames::PlayState::Playing);
    EXPECT_EQ(music.Volume(), -1200);
    EXPECT_EQ(rain.GetPlayState(), frames::PlayState::Playing);
    EXPECT_EQ(rain.Volume(), -4000);
    loop.WaitMs(1100);
    EXPECT_GT(rain.Volume(), -4000);
    EXPECT_LT(rain.Volume(), 0);

    // The click finishes the fade at once, before the action opens the library.
    Click(50, 50);
    EXPECT_EQ(game->currentFrame().name, "Library");
    EXPECT_EQ(rain.Volume(), 0);
    EXPECT_EQ(music.GetPlayState(), frames::PlayState::Playing);

    game->ResetAll(true);
    for (int number = 1; number <= 7; ++number) {
        EXPECT_EQ(game->sounds().Player(number).GetPlayState(), frames::PlayState::Stopped) << number;
        EXPECT_EQ(game->sounds().channel(number).player, number);
    }
}

TEST_F(GameFixture, NewGameEmptiesTheInventoryAndHidesTheMessage) {
    test.Write("Areas/Key.obj", FieldsLine({string("key.bmp")}));
    test.Write("Areas/key.bmp", "x");
    game->ResetAll(false);
    game->StartNewGame();
    game->inventory().AddPickedObject("Key", true);
    game->messages().ShowTextMessage("Hello", true, true);
    ASSERT_EQ(game->inventory().ObjectsCount(), 1);
    game->ResetAll(false);
    EXPECT_EQ(game->inventory().ObjectsCount(), 0);
    EXPECT_EQ(form.Find("PickedObject", 1), nullptr);
    EXPECT_FALSE(game->messages().visible());
}

TEST_F(GameFixture, ProgramsRunToTheirEndWhileTheWindowTakesNoInput) {
    test.Write("External/tool.sh", "#!/bin/sh\necho ran > ran.txt\n");
    std::filesystem::path tool = test.folder.path() / "External" / "tool.sh";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    game->ResetAll(false);
    game->StartNewGame();
    bool timerWasOn = game->frames().frameTimer().enabled();
    EXPECT_FALSE(game->scripts().ExecuteVBScript("OpenExeFileAndWait \"tool.sh\"", false));
    EXPECT_TRUE(std::filesystem::exists(tool.parent_path() / "ran.txt"));
    EXPECT_EQ(window.enabledStates, (std::vector<bool>{false, true}));
    EXPECT_EQ(game->frames().frameTimer().enabled(), timerWasOn);
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(GameFixture, AWindowsProgramThatCannotRunGivesTheLaunchReport) {
    test.Write("External/setup.exe", std::string("MZ\x90\0\3\0\0\0", 8));
    std::filesystem::permissions(test.folder.path() / "External" / "setup.exe",
                                 std::filesystem::perms::owner_all);
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_FALSE(game->scripts().ExecuteVBScript("OpenExeFileAndWait \"setup.exe\" : Visits = 7", false));
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_EQ(test.dialogs.shown()[0].request.title, "Error");
    EXPECT_EQ(test.dialogs.shown()[0].request.text.rfind(
                  "Error launching external application. Probably file not found (", 0),
              0u);
    EXPECT_EQ(window.enabledStates, (std::vector<bool>{false, true}));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "7");
}

TEST_F(GameFixture, SoftwareObjectsOffersTheWindowsControlsByNameWhenReferencesAreOn) {
    test.Write("Config/Variables",
               FieldsLine({0.0, string("Reference_All_Controls"), string("***"), string("Visits")}));
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_FALSE(
        game->scripts().ExecuteVBScript("Area(2).Visible = False : SoftwareObjects.PictureBox.BackColor = "
                                        "255 : Visits = Area.UBound & Caption",
                                        false));
    EXPECT_FALSE(form.Find("Area", 2)->visible());
    EXPECT_EQ(static_cast<platform::PictureBox*>(form.Find("PictureBox"))->backColor, 255u);
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "2" + form.caption);
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(GameFixture, ScriptsPlayOnTheSoundPlayersOfTheChannelsThroughTheWindowsControls) {
    test.Write("Config/Variables",
               FieldsLine({0.0, string("Reference_All_Controls"), string("***"), string("Visits")}));
    test.Write("Areas/rain.wav", testing::ToneWav(1.0));
    platform::StateDump dump;
    ContributeGameState(dump, *game, form);
    game->ResetAll(false);
    game->StartNewGame();
    const string player = "Set p = SoftwareObjects.Controls(\"7MediaPlayerControl\")\r\n";
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        player +
            "p.PlayCount = 1 : p.Volume = -600 : p.FileName = \"Areas\\rain.wav\" : Visits = p.PlayState",
        false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "2");

    // The frame sound player itself plays, under the name the channels give the same file.
    const string rain = test.project->LocateProjectFile(test.project->paths.AreasPath + "rain.wav");
    EXPECT_TRUE(game->sounds().IsFilePlaying(rain));
    nlohmann::ordered_json players = dump.Collect()["players"];
    ASSERT_EQ(players.size(), 7u);
    EXPECT_EQ(players[6],
              (nlohmann::ordered_json{
                  {"number", 7}, {"file", rain}, {"state", 2}, {"volume", -600}, {"play_count", 1}}));

    // Its position follows the game clock; after a second the sound has ended and the player keeps
    // its file.
    loop.WaitMs(400);
    EXPECT_FALSE(game->scripts().ExecuteVBScript(player + "Visits = p.CurrentPosition", false));
    EXPECT_NEAR(std::stod(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value).value()), 0.4,
                0.03);
    loop.WaitMs(700);
    EXPECT_FALSE(game->scripts().ExecuteVBScript(player + "Visits = p.PlayState & p.FileName", false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "0" + rain);
    EXPECT_TRUE(test.dialogs.shown().empty());
    EXPECT_TRUE(game->scripts().ExecuteVBScript(player + "p.Pause", false));
    EXPECT_NE(test.dialogs.shown().back().request.text.find("Object doesn't support this property or method"),
              string::npos);
    WithdrawGameState(dump);
}

TEST_F(GameFixture, ScriptsReachTheMessageTheDialogueAndTheInventoryByName) {
    test.Write("Areas/Key.obj", FieldsLine({string("key.bmp")}));
    test.Write("Areas/key.bmp", "x");
    game->ResetAll(false);
    game->StartNewGame();
    game->inventory().AddPickedObject("Key", true);
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        "Visits = InventoryItemObject.Count * 100 + TimedEventObject.Count * 10 + DialogueObject.Count\r\n"
        "MessageObject.Caption = \"From a script\" : InventoryButtonObject.Visible = False",
        false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value),
              std::to_string(form.Elements("PickedObject").size() * 100 +
                             form.Elements("TimedEvent").size() * 10 + form.Elements("lblDialogue").size()));
    EXPECT_EQ(static_cast<platform::Label*>(form.Find("LabelMessageBox"))->caption, "From a script");
    EXPECT_FALSE(form.Find("Inventory2")->visible());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(GameFixture, AnimatedPicturesAreReachedByNameAndAFrameWithoutOneGivesAScriptError) {
    game->ResetAll(false);
    game->StartNewGame();
    // Only the window's hidden template element is there; any other is a script error.
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        "Visits = AnimatedGifObject.Count * 10 + AnimatedGifCanvasObject.UBound", false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "10");
    EXPECT_TRUE(game->scripts().ExecuteVBScript("AnimatedGifObject(1).Visible = True", false));
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find("Control array element '1' doesn't exist"),
              string::npos);
}

TEST_F(GameFixture, TheWindowsFileFolderAndDriveListsShowTheGameFolderAsDriveC) {
    test.Write("Saves/first.sav", "1");
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_FALSE(form.Find("FileBox")->visible());
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        "DirBoxObject.Path = \"saves\" : FileBoxObject.Path = DirBoxObject.Path : FileBoxObject.Pattern = "
        "\"*.sav\"\r\n"
        "Visits = DirBoxObject.List(-1) & \"|\" & FileBoxObject.List(0) & \"|\" & DriveBoxObject.List(0)",
        false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value),
              "C:\\Saves|first.sav|c:");
    EXPECT_TRUE(test.dialogs.shown().empty());
    // The machine's folders above the game stay out of reach.
    EXPECT_TRUE(game->scripts().ExecuteVBScript("DirBoxObject.Path = \"C:\\..\\..\\Nowhere\"", false));
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find("Path not found"), string::npos);
}

TEST_F(GameFixture, ScriptsReachBothEnginesThroughTheirObjects) {
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        "ScriptControlObject.ExecuteStatement \"Visits = 5\"\r\n"
        "ScriptControl2Object.AddCode \"Function Twice(x) : Twice = x * 2 : End Function\"\r\n"
        "Visits = Visits + ScriptControl2Object.Run(\"Twice\", 4)",
        false));
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "13");
    EXPECT_TRUE(test.dialogs.shown().empty());
    // The engine of the running script cannot start over under it.
    EXPECT_TRUE(game->scripts().ExecuteVBScript("ScriptControlObject.Reset", false));
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find("cannot be reset while a script runs"), string::npos);
}

TEST_F(GameFixture, AScriptTimerThatFailsIsSwitchedOffAndReported) {
    test.Write("Config/Procedures",
               "h1\r\nh2\r\nh3\r\nSub TimerObject0()\r\n  Visits = Visits + 1\r\n  x = 1 / 0\r\nEnd Sub");
    game->ResetAll(false);
    game->StartNewGame();
    EXPECT_FALSE(game->scripts().ExecuteVBScript(
        "TimerObject(0).Interval = 200 : TimerObject(0).Enabled = True", false));
    loop.WaitMs(1000);
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "1");
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find("Division by zero"), string::npos);
    EXPECT_FALSE(form.Find("TimerObject", 0)->enabled());
}

}  // namespace
}  // namespace taviro::app

namespace taviro::app {
namespace {

// The demo game played through from the hall to the library and back.
struct DemoGame : GameWindowFixture {
    DemoGame() {
        EXPECT_TRUE(test.project->InitializeProject("examples/demo"));
        Start();
        game->ResetAll(false);
        game->StartNewGame();
    }
};

TEST_F(DemoGame, TheKeyAppearsInTheHallOnceTheBookIsFound) {
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_FALSE(form.Find("Area", 3)->visible());
    Click(100, 250);
    EXPECT_EQ(game->currentFrame().name, "Library");
    EXPECT_TRUE(game->dialogue().running());
    Click(100, 250);
    EXPECT_EQ(game->variables().GetVariableValue("BookFound"), 1);
    EXPECT_TRUE(game->messages().visible());
    EXPECT_EQ(game->messages().text(), "Behind the books lie a candle and a note: look in the hall.");
    EXPECT_EQ(game->inventory().names(), std::vector<string>{"Candle"});
    EXPECT_FALSE(form.Find("Area", 1)->visible());  // the shelf gives its things once
    Click(500, 250);
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_TRUE(form.Find("Area", 3)->visible());
    Click(324, 324);
    EXPECT_EQ(game->inventory().names(), (std::vector<string>{"Candle", "Key"}));
    EXPECT_FALSE(form.Find("Area", 3)->visible());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(DemoGame, TheGardenSendsThePlayerBackAfterFourSeconds) {
    Click(500, 240);
    EXPECT_EQ(game->currentFrame().name, "Garden");
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item(1)->Value), "1");
    loop.WaitMs(4000);
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(DemoGame, StateDumpTellsTheFrameVariablesAndHotspots) {
    platform::StateDump dump;
    ContributeGameState(dump, *game, form);
    Click(100, 250);
    Click(100, 250);
    nlohmann::ordered_json state = dump.Collect();
    EXPECT_EQ(state["frame"]["name"], "Library");
    EXPECT_EQ(state["history"], nlohmann::ordered_json({"Hall", "Library"}));
    EXPECT_EQ(state["variables"]["integer"]["BookFound"], 1);
    EXPECT_EQ(state["variables"]["variant"]["GardenVisits"], 0);
    ASSERT_EQ(state["hotspots"].size(), 2u);
    EXPECT_EQ(state["hotspots"][0]["x"], 42);
    EXPECT_EQ(state["hotspots"][1]["index"], 2);
    EXPECT_EQ(state["texts"][0]["font"], "Arial");
    // The bell plugin's frame command has told its ring before the library's own text.
    EXPECT_EQ(state["texts"][0]["caption"],
              "A bell rings in the library. The red shelf hides something. The blue one leads back.");
    WithdrawGameState(dump);
    EXPECT_FALSE(dump.Collect().contains("frame"));
}

}  // namespace
}  // namespace taviro::app
