// The player driven end to end through its automation file, headless.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

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

}  // namespace
}  // namespace taviro::app
