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
