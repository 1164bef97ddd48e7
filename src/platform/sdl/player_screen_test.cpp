#include "platform/sdl/player_screen.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/pictures/test_pictures.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

struct HeadlessPlayer {
    VirtualClock clock;
    FileSystem files;
    PlayerScreen screen;
    TopWindow& window;
    explicit HeadlessPlayer(bool automated)
        : screen(DisplaySettings{.clientWidth = 320, .clientHeight = 240, .headless = true}, clock, files,
                 automated),
          window(screen.LoadWindow("game", 320, 240)) {
        screen.windows().Show(window);
    }

    TimerControl& AddTimer(const std::string& name, int intervalMs, std::function<void(Control&)> handler) {
        auto& timer = static_cast<TimerControl&>(
            window.form().Add(std::make_unique<TimerControl>(screen.timers(), name)));
        timer.Set("Interval", intervalMs);
        timer.events.timer = std::move(handler);
        return timer;
    }
};

TEST(PlayerScreen, AutomatedMessageBoxesTakeTheQueuedAnswerOrTheirDefaultAndAreRecorded) {
    HeadlessPlayer player(true);
    std::vector<MessageAnswer> answers;
    player.AddTimer("tmrAsk", 100, [&](Control& timer) {
        answers.push_back(player.screen.dialogs().MessageBox(
            {"Door", "Open it?", MessageIcon::Question, MessageButtons::YesNo}));
        if (answers.size() == 3) timer.Set("Enabled", false);
    });
    player.screen.dialogHistory().QueueAnswer(MessageAnswer::No);
    player.screen.dialogHistory().QueueAnswer(MessageAnswer::Cancel);  // not offered: the default instead
    player.screen.Wait(1000);
    EXPECT_EQ(answers,
              (std::vector<MessageAnswer>{MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes}));
    auto state = player.screen.State();
    EXPECT_EQ(state["clock_ms"], 1000);
    EXPECT_EQ(state["windows"], nlohmann::ordered_json::array({"game"}));
    ASSERT_EQ(state["messageboxes"].size(), 3u);
    EXPECT_EQ(state["messageboxes"][0]["answer"], "No");
    EXPECT_EQ(state["messageboxes"][0]["icon"], "question");
    EXPECT_EQ(state["display"]["mode"], "headless");
    EXPECT_EQ(state["display"]["client_size"], nlohmann::ordered_json::array({320, 240}));
}

TEST(PlayerScreen, AutomatedInputBoxesTakeTheQueuedTextOrCancel) {
    HeadlessPlayer player(true);
    player.screen.dialogHistory().QueueInput(std::string("Alice"));
    player.screen.dialogHistory().QueueInput(std::nullopt);
    EXPECT_EQ(player.screen.dialogs().InputBox("Name", "Who?", "Bob"), "Alice");
    EXPECT_EQ(player.screen.dialogs().InputBox("Name", "Who?", "Bob"), std::nullopt);
    EXPECT_EQ(player.screen.dialogs().InputBox("Name", "Who?", "Bob"), "Bob");
    EXPECT_EQ(player.screen.State()["messageboxes"][1]["cancelled"], true);
}

TEST(PlayerScreen, AModalBoxLetsTheGameTimersRunUntilItIsAnswered) {
    HeadlessPlayer player(false);
    int ticks = 0;
    std::optional<MessageAnswer> answer;
    int64_t answeredAtMs = 0;
    auto& ask = player.AddTimer("tmrAsk", 100, [&](Control& timer) {
        timer.Set("Enabled", false);
        answer = player.screen.dialogs().MessageBox(
            {"Note", "Wait", MessageIcon::Information, MessageButtons::OkCancel});
        answeredAtMs = player.clock.NowMs();
    });
    player.AddTimer("tmrTick", 50, [&](Control&) {
        ++ticks;
        if (ticks == 2) {
            // The box is up: the state shows it, and the game under it gets no clicks.
            EXPECT_EQ(player.screen.State()["windows"].back(), "dialog");
            std::string shot = (std::filesystem::temp_directory_path() / "taviro-modal-box.png").string();
            player.screen.Screenshot(shot);
            auto picture = PictureCache::Decode(*player.files.ReadFile(shot), shot);
            std::filesystem::remove(shot);
            // The centre of the window shows the box, not the grey form.
            EXPECT_NE(test_pictures::PixelAt(picture->surface(), 160, 120), 0xFFC0C0C0u);
        }
        if (ticks == 5) {
            EXPECT_TRUE(player.screen.dialogs().Press("Cancel"));
        }
    });
    player.screen.Wait(600);
    EXPECT_EQ(answer, MessageAnswer::Cancel);
    // Asked at 100 ms, answered by the fifth tick at 250 ms; the ticks went on all along.
    EXPECT_GE(answeredAtMs, 250);
    EXPECT_LT(answeredAtMs, 300);
    EXPECT_EQ(ticks, 12);
    EXPECT_FALSE(ask.enabled());
}

TEST(PlayerScreen, ClicksReachControlsAndPressFindsLabelsByCaption) {
    HeadlessPlayer player(true);
    auto& label = static_cast<Label&>(player.window.form().Add(std::make_unique<Label>("lblGo")));
    label.SetBounds({100, 100, 50, 20});
    label.caption = "Go north";
    std::vector<std::string> events;
    label.events.click = [&](Control&) { events.push_back("click"); };
    label.events.mouseDown = [&](Control&, const MouseEvent& e) {
        events.push_back("down " + std::to_string(e.x) + "," + std::to_string(e.y));
    };
    std::ostringstream out;
    AutomationRunner runner(player.screen, out);
    auto commands =
        std::get<std::vector<AutomationCommand>>(ParseAutomation("click 110 105\npress go NORTH\n"));
    EXPECT_EQ(runner.Run(commands).exitStatus, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"down 10,5", "click", "down 25,10", "click"}));
    EXPECT_TRUE(player.screen.Press("Go south").has_value());
}

TEST(PlayerScreen, TheMenuBarSitsAboveTheFrameAndAutomationChoosesItsCommands) {
    HeadlessPlayer player(true);
    MenuItem bar("");
    MenuItem& game = bar.Add("&Game");
    std::vector<std::string> chosen;
    game.Add("&Save").onClick = [&](MenuItem&) { chosen.push_back("save"); };
    game.Add("&Quit").enabled = false;
    player.window.menuBar = &bar;
    player.window.form().backColor = 0x0000FF;
    auto& corner = static_cast<Label&>(player.window.form().Add(std::make_unique<Label>("lblCorner")));
    corner.SetBounds({0, 0, 10, 10});
    int clicks = 0;
    corner.events.click = [&](Control&) { ++clicks; };

    std::ostringstream out;
    AutomationRunner runner(player.screen, out);
    auto commands = std::get<std::vector<AutomationCommand>>(ParseAutomation("menu Game/Save\nclick 2 2\n"));
    EXPECT_EQ(runner.Run(commands).exitStatus, 0);
    EXPECT_EQ(chosen, (std::vector<std::string>{"save"}));
    EXPECT_EQ(clicks, 1);  // frame pixels: 2,2 is the form's corner, below the bar
    EXPECT_EQ(player.screen.Menu({"Game", "Quit"}), "the menu item Game/Quit is disabled");

    std::string shot = (std::filesystem::temp_directory_path() / "taviro-menu-bar.png").string();
    player.screen.Screenshot(shot);
    auto picture = PictureCache::Decode(*player.files.ReadFile(shot), shot);
    std::filesystem::remove(shot);
    EXPECT_EQ(picture->height(), 240 + PlayerScreen::kMenuBarHeight);
    EXPECT_NE(test_pictures::PixelAt(picture->surface(), 300, 5), 0xFFFF0000u);  // the bar
    EXPECT_EQ(test_pictures::PixelAt(picture->surface(), 300, PlayerScreen::kMenuBarHeight + 1), 0xFFFF0000u);
}

TEST(PlayerScreen, ShowsAndGivesInputToTheFrontWindowOnly) {
    HeadlessPlayer player(true);
    TopWindow& welcome = player.screen.LoadWindow("welcome", 200, 100);
    int gameClicks = 0, welcomeClicks = 0;
    player.window.form().events.click = [&](Control&) { ++gameClicks; };
    welcome.form().events.click = [&](Control&) { ++welcomeClicks; };
    std::vector<int> keys;
    welcome.onKeyDown = [&](int key, int) { keys.push_back(key); };

    player.screen.windows().Show(welcome);
    player.screen.MouseDown({5, 5}, kLeftButton);
    player.screen.MouseUp({5, 5}, kLeftButton);
    player.screen.Key(27, 0);
    auto state = player.screen.State();
    EXPECT_EQ(state["windows"], nlohmann::ordered_json::array({"game", "welcome"}));
    EXPECT_EQ(state["display"]["client_size"], nlohmann::ordered_json::array({200, 100}));
    EXPECT_EQ(welcomeClicks, 1);
    EXPECT_EQ(keys, std::vector<int>{27});

    // A disabled window hears nothing; hiding it brings the one behind to the front.
    welcome.enabled = false;
    player.screen.MouseDown({5, 5}, kLeftButton);
    player.screen.MouseUp({5, 5}, kLeftButton);
    player.screen.Key(13, 0);
    EXPECT_EQ(welcomeClicks, 1);
    EXPECT_EQ(keys.size(), 1u);
    player.screen.windows().Hide(welcome);
    player.screen.MouseDown({5, 5}, kLeftButton);
    player.screen.MouseUp({5, 5}, kLeftButton);
    EXPECT_EQ(gameClicks, 1);
    EXPECT_EQ(player.screen.State()["display"]["client_size"], nlohmann::ordered_json::array({320, 240}));

    player.screen.windows().Unload(welcome);
    EXPECT_EQ(player.screen.windows().Find("welcome"), nullptr);
}

TEST(PlayerScreen, APopupMenuTakesTheMenuCommandAndCloses) {
    HeadlessPlayer player(true);
    MenuItem bar(""), popup("");
    std::vector<std::string> chosen;
    bar.Add("Game").Add("Load").onClick = [&](MenuItem&) { chosen.push_back("bar"); };
    popup.Add("Load").onClick = [&](MenuItem&) { chosen.push_back("popup"); };
    player.window.menuBar = &bar;
    player.window.PopupMenu(popup);
    EXPECT_EQ(player.screen.State()["menus"]["popup"][0]["caption"], "Load");

    EXPECT_EQ(player.screen.Menu({"Load"}), std::nullopt);
    EXPECT_EQ(player.screen.Menu({"Game", "Load"}), std::nullopt);
    EXPECT_EQ(chosen, (std::vector<std::string>{"popup", "bar"}));
    EXPECT_TRUE(player.screen.State()["menus"]["popup"].is_null());
}

}  // namespace
}  // namespace taviro::platform
