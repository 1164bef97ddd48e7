// Target: loading a saved game of 1,000 variables, 200 items and a 20-frame history into a game in
// play, apart from the load's own waits, at most 5 ms. The waits pass at once on the virtual clock,
// so the time measured is the load's own work: the reset, the variables, the items with their
// icons, the history, the start-up script and the opening of the resume frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/game_window.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/memory/memory_reuse.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/player_screen.h"
#include "saved_games/saved_games.h"

namespace {

using namespace taviro;
namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A game of twenty frames, 1,000 integer and 100 variant variables and 200 items.
struct LargeProject {
    fs::path folder = fs::temp_directory_path() / "taviro-load-game-bench";

    LargeProject() {
        fs::remove_all(folder);
        Write(folder / "Config" / "General",
              "\"Bench\",\"\",\"Bench\",0,\"Frame0\",\"1\",640,480,\"\",\"\",\"\"\r\n");
        std::string variables = "1\r\n";
        for (int i = 0; i < 1000; ++i) variables += "\"Variable" + std::to_string(i) + "\"\r\n";
        variables += "\"***\"\r\n";
        for (int i = 0; i < 100; ++i) variables += "\"Variant" + std::to_string(i) + "\"\r\n";
        Write(folder / "Config" / "Variables", variables);
        Write(folder / "Frames" / "scene.bmp",
              platform::test_pictures::BmpBytes(platform::test_pictures::Filled(640, 480, 0xFF336699).get()));
        for (int i = 0; i < 20; ++i)
            Write(folder / "Frames" / ("Frame" + std::to_string(i) + ".fme"),
                  "1,\"scene.bmp\",#FALSE#,#FALSE#,\"\",#FALSE#,0,\"\",\"\",\"\"\r\n");
        Write(folder / "Areas" / "item.bmp",
              platform::test_pictures::BmpBytes(platform::test_pictures::Filled(32, 32, 0xFFCC9933).get()));
        for (int i = 0; i < 200; ++i)
            Write(folder / "Areas" / ("Item" + std::to_string(i) + ".obj"), "\"item.bmp\"\r\n");
    }
    ~LargeProject() { fs::remove_all(folder); }
};

void LoadSavedGameIntoTheGame(benchmark::State& state) {
    LargeProject large;
    platform::FileSystem files;
    platform::CodePage codePage{1252};
    platform::ConsoleDialogs dialogs{std::cerr};
    project::NoCd cd;
    GameFlags flags;
    project::Project project{files, codePage, dialogs, cd, flags, large.folder / "config"};
    project.InitializeProject(large.folder.string());
    platform::VirtualClock clock;
    platform::PlayerScreen screen(platform::DisplaySettings{.headless = true}, clock, files, true);
    project.reports().UseDialogs(screen.dialogs());
    app::DisplayModes modes{{1920, 1080}};
    platform::TopWindow& top = screen.LoadWindow("game", 640, 480);
    app::GameWindow window(project, flags, screen.windows(), top, screen.loop(), modes, [] {});
    app::Game& game = window.game();
    game.ResetAll(false);
    game.StartNewGame();
    screen.windows().Show(top);
    // The state to save: every variable set, every item held, twenty frames visited.
    for (int i = 0; i < 1000; ++i)
        game.variables().ChangeVariableValue("Variable" + std::to_string(i), 1, true);
    for (int i = 0; i < 100; ++i)
        game.variables().ChangeVariableVariantValue("Variant" + std::to_string(i),
                                                    vbscript::Variant(u"text"));
    for (int i = 0; i < 200; ++i) game.inventory().AddPickedObject("Item" + std::to_string(i), true);
    for (int i = 1; i < 20; ++i) game.frames().OpenFrame("Frame" + std::to_string(i), false, 0, 0);
    saved_games::SavedGames saves(project, screen.savedGameWindows(), (large.folder / "Documents").string(),
                                  [] { return int64_t{0}; });
    if (!saves.Save("Large", game.savedGames())) state.SkipWithError("the game could not be saved");
    for (auto _ : state) saves.Load("Large", game.savedGames());
    state.counters["items"] = static_cast<double>(game.inventory().ObjectsCount());
    state.counters["history"] = static_cast<double>(game.history().size());
    state.counters["reports"] = static_cast<double>(dialogs.messageBoxes().size());
}
BENCHMARK(LoadSavedGameIntoTheGame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
