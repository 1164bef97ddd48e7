// A game saved and loaded through the game window's subsystems: what comes back, and when the
// load window may open.
#include <gtest/gtest.h>

#include "app/game.h"
#include "platform/clock.h"
#include "saved_games/saved_games.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;
using testing::FieldsLine;

struct NoWindow : GameWindowServices {
    void ClearLoadGameDisplayMode() override {}
    void CenterWindowAndPictureBox() override {}
    void ResetMenus() override {}
    void ShowMenuBar(bool) override {}
    bool IsMenuBarShown() const override { return false; }
    void ShowPopupMenu() override {}
    void SetScreenPointer(std::optional<platform::MousePointer>, const std::string&) override {}
    void HideScreenPointer(bool) override {}
    bool IsSubMenuOpen() const override { return false; }
    void StartUnloading() override {}
    void EnableWindow(bool on) override { enabled = on; }
    platform::Point ScreenSize() const override { return {1024, 768}; }
    void SwitchToMode(int) override {}
    void SetLoadGameDisplayMode(int16_t) override {}
    bool TransitionsDisabled() override { return true; }
    bool EffectsDisabled() override { return true; }
    void EnableOrDisableTransitions() override {}
    void EnableOrDisableEffects() override {}
    std::vector<scripting::NamedObject> MenuObjects() override { return {}; }
    bool enabled = true;
};

struct ShownWindow : platform::SavedGameWindows {
    void Show(platform::SavedGameWindow& window) override { shown = &window; }
    void Close(platform::SavedGameWindow&) override { shown = nullptr; }
    platform::SavedGameWindow* shown = nullptr;
};

// A hall whose first hotspot sets Door and goes to the library, and whose second starts a script
// timer; the game's saved games in a documents folder of the test's own.
struct SavedGameFixture : ::testing::Test {
    SavedGameFixture() {
        test.Write("Config/General", testing::GeneralFile().Set(5, string("Hall")).Text());
        test.Write("Config/Texts", "1\r\n");
        test.Write("Config/Variables", FieldsLine({0.0, string("Door"), string("Lamp"), string("***"),
                                                   string("Note"), string("Box")}));
        for (const char* frame : {"Hall", "Library"})
            test.Write(string("Frames/") + frame + ".fme",
                       FieldsLine({1.0, string("scene.jpg"), false, false, string(""), false, 0.0, string(""),
                                   string(""), string("")}));
        test.Write("Frames/scene.jpg", "x");
        test.Write("FramesData/Hall.fm2",
                   testing::HotspotRecord(10, 10, 100, 100) + testing::HotspotRecord(200, 10, 100, 100));
        test.Write("FramesData/Hall.fm3",
                   testing::DoorActionRecord("Library", "") +
                       testing::DoorActionRecord(
                           "", "TimerObject(0).Interval = 500 : TimerObject(0).Enabled = True"));
        EXPECT_TRUE(test.Initialize());
        game = std::make_unique<Game>(*test.project, test.flags, form, loop, window);
        saves = std::make_unique<saved_games::SavedGames>(*test.project, windows, documents.path().string(),
                                                          [] { return int64_t{0}; });
        game->loadGameWindow = [this](std::function<void(bool)> closed) {
            ++loadWindows;
            saves->ShowLoadWindow([this]() -> saved_games::SavedGamesServices& { return game->savedGames(); },
                                  std::move(closed));
        };
        game->ResetAll(false);
        game->StartNewGame();
    }
    void Click(int x, int y) {
        platform::Control& target = form.HitTest({x, y});
        target.events.mouseDown(target, {1, 0, x - target.WindowBounds().x, y - target.WindowBounds().y});
    }
    int16_t Value(const char* name) { return game->variables().Variables.Item(name)->Value; }
    std::optional<string> Note() {
        return logic::VariantText(game->variables().VariablesVariant.Item("Note")->Value);
    }

    testing::TestProject test;
    testing::TemporaryFolder documents;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    NoWindow window;
    ShownWindow windows;
    platform::Form form{"Game", 640, 480};
    std::unique_ptr<Game> game;
    std::unique_ptr<saved_games::SavedGames> saves;
    int loadWindows = 0;
};

TEST_F(SavedGameFixture, LoadedGameComesBackAsSavedWithMinusOneKeptAndObjectsLeftAtZero) {
    game->variables().ChangeVariableValue("Lamp", -1, true);
    game->variables().ChangeVariableVariantValue("Note", vbscript::Variant(u"kept"));
    game->variables().ChangeVariableVariantValue("Box", vbscript::Variant::Nothing());
    ASSERT_TRUE(saves->Save("Start", game->savedGames()));
    Click(50, 50);  // Door = 1, off to the library
    ASSERT_EQ(game->currentFrame().name, "Library");
    game->LoadGameCommand();
    ASSERT_TRUE(windows.shown);
    windows.shown->Select(0);
    windows.shown->onButton(platform::SavedGameWindow::Button::Ok);
    EXPECT_EQ(game->currentFrame().name, "Hall");
    EXPECT_EQ(game->history().names(), std::vector<string>{"Hall"});
    EXPECT_EQ(Value("Door"), 0);
    EXPECT_EQ(Value("Lamp"), -1) << "a saved -1 is not an inversion";
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item("Note")->Value), "kept");
    EXPECT_EQ(logic::VariantText(game->variables().VariablesVariant.Item("Box")->Value), "0");
    EXPECT_TRUE(window.enabled);
    EXPECT_TRUE(form.Find("PictureBox")->visible());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(SavedGameFixture, LoadWindowIsRefusedWhileAScriptTimerRunsUnlessAnActionAsks) {
    Click(250, 50);  // starts the script timer
    game->LoadGameCommand();
    EXPECT_EQ(loadWindows, 0);
    EXPECT_FALSE(windows.shown);
    game->actions().ExecuteVBScriptAndConsequences("PopupLoadGame", true);
    EXPECT_EQ(loadWindows, 1);
    EXPECT_TRUE(windows.shown);
}

TEST_F(SavedGameFixture, CancelledLoadWindowGivesTheFrameTimerAndTimedEventsBack) {
    game->actions().ExecuteVBScriptAndConsequences("CreateTimedEvent 1, \"Note = 1\", False", true);
    game->LoadGameCommand();
    ASSERT_TRUE(windows.shown);
    loop.WaitMs(3000);
    EXPECT_EQ(Note(), "0") << "no timed event fires while the window is open";
    windows.shown->onButton(platform::SavedGameWindow::Button::Cancel);
    loop.WaitMs(1000);
    EXPECT_EQ(Note(), "1");
}

}  // namespace
}  // namespace taviro::app
