// Saved games played end to end: the demo game saved and loaded through its windows, from the game
// and from the welcome window, and a save killed part way that never costs the saved game before it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "saved_games/saved_game_file.h"
#include "support/player_run.h"

extern char** environ;

namespace taviro {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using std::string;

// The demo game played headless, its saved games in a documents folder of the test's own.
class DemoGame : public testing::PlayerRun {
public:
    DemoGame() : PlayerRun(TAVIRO_PLAYER_PATH) { CopyGame(TAVIRO_DEMO_GAME); }
    string Documents() const { return Path("Documents"); }
    int Play(const string& automation) const {
        return Run(automation, "XDG_DOCUMENTS_DIR='" + Documents() + "'");
    }
    fs::path SaveFile(const string& name) const {
        return fs::path(Documents()) / "Savegames" / "The Taviro Demo" / (name + ".sav");
    }
};

// What a saved game must bring back.
json GameState(const json& state) {
    return json{{"frame", state["frame"]["name"]},
                {"history", state["history"]},
                {"variables", state["variables"]},
                {"removed_hotspots", state["removed_hotspots"]},
                {"items", state["inventory"]["items"]}};
}

TEST(SavingTheDemo, SavedInOneStateChangedAndLoadedTheStateComesBack) {
    DemoGame demo;
    // In the library with the book and the candle, after the ghost's dialogue; saved there, then the
    // game goes on to the hall and the garden, and the saved game is loaded from the game.
    int status = demo.Play(
        "press Start New Game\nclick 100 250\nwait 200\npress Who are you?\npress Where should I look?\n"
        "press Goodbye.\nclick 100 250\nwait 5000\n" +
        demo.StateCommand("before") + "key S ctrl\n" + demo.StateCommand("save_window") + "text Library\n" +
        "press SAVE\nclick 500 250\nwait 200\nclick 324 324\nwait 1000\n" + demo.StateCommand("changed") +
        "key L ctrl\n" + demo.StateCommand("load_window") + "select Library\npress LOAD\nwait 500\n" +
        demo.StateCommand("loaded") + "screenshot " + demo.Path("game.png") + "\n");
    ASSERT_EQ(status, 0) << demo.Read("stderr");
    json saveWindow = demo.Json("save_window.json");
    EXPECT_EQ(saveWindow["windows"].back(), "save");
    EXPECT_EQ(saveWindow["saves"], json::array());
    EXPECT_EQ(demo.Json("load_window.json")["windows"].back(), "load");
    EXPECT_EQ(demo.Json("load_window.json")["saves"], json::array({"Library"}));
    ASSERT_TRUE(fs::exists(demo.SaveFile("Library")));
    json before = GameState(demo.Json("before.json"));
    EXPECT_NE(GameState(demo.Json("changed.json")), before) << "the game moved on before the load";
    json loaded = demo.Json("loaded.json");
    EXPECT_EQ(GameState(loaded), before);
    EXPECT_EQ(loaded["windows"], json::array({"game"}));
    EXPECT_EQ(loaded["messageboxes"], json::array());
}

TEST(SavingTheDemo, WelcomeWindowLoadsAGameSavedInAnEarlierRun) {
    DemoGame demo;
    ASSERT_EQ(demo.Play("press Start New Game\nclick 100 250\nwait 200\npress Goodbye.\nclick 100 250\n"
                        "wait 5000\n" +
                        demo.StateCommand("saved") + "key S ctrl\ntext Shelf\npress SAVE\nkey Q ctrl\n"),
              0)
        << demo.Read("stderr");
    int status = demo.Play("press Load Game...\n" + demo.StateCommand("welcome_load") + "screenshot " +
                           demo.Path("load.png") + "\nselect Shelf\npress LOAD\nwait 500\n" +
                           demo.StateCommand("loaded"));
    ASSERT_EQ(status, 0) << demo.Read("stderr");
    EXPECT_EQ(demo.Json("welcome_load.json")["windows"], json::array({"welcome", "load"}));
    json loaded = demo.Json("loaded.json");
    EXPECT_EQ(loaded["windows"], json::array({"game"}));
    EXPECT_EQ(GameState(loaded), GameState(demo.Json("saved.json")));
}

// A game of one frame with many variables, whose saved game is large (about 1.3 MB).
class LargeGame : public testing::PlayerRun {
public:
    static constexpr int kVariables = 20000;
    static constexpr int kVariants = 60000;
    LargeGame() : PlayerRun(TAVIRO_PLAYER_PATH) {
        game().Write("Config/General", testing::GeneralFile().Text());
        game().Write("Config/Texts", "1\r\n");
        game().Write("Frames/Start.fme",
                     testing::FieldsLine({0.0, string("0"), false, false, string(""), false, 0.0, string(""),
                                          string(""), string("")}));
        string variables = "1\r\n";
        for (int i = 0; i < kVariables; ++i) variables += "\"Variable" + std::to_string(i) + "\"\r\n";
        variables += "\"***\"\r\n";
        for (int i = 0; i < kVariants; ++i) variables += "\"Variant" + std::to_string(i) + "\"\r\n";
        game().Write("Config/Variables", variables);
    }
    fs::path SaveFile() const { return fs::path(Path("Documents")) / "Savegames" / "Test Game" / "Big.sav"; }
};

// Whether the file is a whole saved game of the large game.
bool IsWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    saved_games::SavedGameReading reading =
        saved_games::ReadSavedGame(string(std::istreambuf_iterator<char>(in), {}));
    return !reading.failure && reading.game.variables.size() == LargeGame::kVariables &&
           reading.game.variants && reading.game.variants->size() == LargeGame::kVariants;
}

TEST(SavingSafely, KillingThePlayerWhileItSavesOverAGameNeverLeavesItBroken) {
    LargeGame game;
    // A first run saves the game whole; its length tells when later runs have started.
    string first = "press Start New Game\nkey S ctrl\ntext Big\npress SAVE\n";
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(game.Run(first, "XDG_DOCUMENTS_DIR='" + game.Path("Documents") + "'"), 0)
        << game.Read("stderr");
    auto firstRunMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    ASSERT_TRUE(IsWhole(game.SaveFile()));
    // Then runs that save over it again and again are killed at random moments of their saving.
    // The name box keeps the name typed at the first opening.
    string again = "press Start New Game\nkey S ctrl\ntext Big\nanswer OK\npress SAVE\n";
    for (int i = 0; i < 200; ++i) again += "key S ctrl\nanswer OK\npress SAVE\n";
    std::ofstream(game.Path("again.txt")) << again;
    std::mt19937 random(20240704);
    std::uniform_int_distribution<int> delayMs(static_cast<int>(firstRunMs),
                                               static_cast<int>(firstRunMs) + 3000);
    string documents = "XDG_DOCUMENTS_DIR=" + game.Path("Documents");
    string home = "HOME=" + game.Path("");
    int interrupted = 0;  // kills that found a save under way
    for (int run = 0; run < 12; ++run) {
        std::vector<string> arguments = {TAVIRO_PLAYER_PATH, "--headless", "--autoplay",
                                         game.Path("again.txt"), game.game().path().string()};
        std::vector<char*> argv;
        for (string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<string> environment = {documents, home, "SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=dummy",
                                           "ASAN_OPTIONS=detect_leaks=0"};
        std::vector<char*> envp;
        for (string& variable : environment) envp.push_back(variable.data());
        envp.push_back(nullptr);
        pid_t player = 0;
        ASSERT_EQ(posix_spawn(&player, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);
        // The kill comes at a random moment once the saves have begun, or, more often, while a save
        // writes its file: the moment a loss would happen if the old file were overwritten in place.
        const fs::path temporary = game.SaveFile().parent_path() / "~saving-Big.tmp";
        const bool whileWriting = run % 3 != 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs(random));
        if (whileWriting) deadline += std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (whileWriting && fs::exists(temporary)) {
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(player, SIGKILL);
        int status = 0;
        waitpid(player, &status, 0);
        EXPECT_TRUE(IsWhole(game.SaveFile())) << "after the kill of run " << run;
        if (fs::exists(temporary)) {
            ++interrupted;
            fs::remove(temporary);
        }
    }
    std::cout << interrupted << " of 12 kills came in the middle of a save\n";
}

}  // namespace
}  // namespace taviro
