// Targets: saving a game with 1,000 variables, 200 items and a 20-frame history, building the file
// and writing it: at most 5 ms, with the flush to the disk measured on its own; loading it apart
// from the load's own waits (reading, decoding, parsing, and restoring the variables, removed
// hotspots and history): at most 5 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "logic/variables.h"
#include "platform/code_page.h"
#include "platform/console_dialogs.h"
#include "platform/files/replacing_file.h"
#include "project/cd_file_location.h"
#include "project/project.h"
#include "saved_games/saved_game_file.h"

namespace {

using namespace taviro;
namespace fs = std::filesystem;

saved_games::SavedGame LargeGame() {
    saved_games::SavedGame game;
    game.location = "Great Hall of the Castle";
    for (int i = 0; i < 1000; ++i)
        game.variables.emplace_back("Variable" + std::to_string(i), static_cast<int16_t>(i % 3 - 1));
    for (int i = 0; i < 50; ++i) game.removedHotspots.emplace_back("Frame" + std::to_string(i), int16_t{3});
    for (int i = 0; i < 200; ++i) game.items.push_back("Inventory item number " + std::to_string(i));
    game.history.emplace();
    for (int i = 0; i < 20; ++i) game.history->push_back("Frame" + std::to_string(i));
    game.projectName = "Bench";
    game.projectTitle = "Bench";
    game.date = "07/04/2024";
    game.variants.emplace();
    for (int i = 0; i < 100; ++i)
        game.variants->emplace_back("Variant" + std::to_string(i), vbscript::Variant(u"some text value"));
    return game;
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / "taviro-saved-game-bench";
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

void BM_BuildAndWriteSavedGame(benchmark::State& state) {
    const saved_games::SavedGame game = LargeGame();
    platform::CodePage codePage(1252);
    for (auto _ : state) {
        std::string bytes = codePage.Encode(saved_games::WriteSavedGame(game));
        platform::ReplacingFile file(Folder() / "~saving-Bench.tmp");
        bool written = file.Write(bytes) && file.ReplaceInto(Folder() / "Bench.sav");
        benchmark::DoNotOptimize(written);
    }
}
BENCHMARK(BM_BuildAndWriteSavedGame)->Unit(benchmark::kMillisecond);

// The flush alone: the written file reaching the disk.
void BM_FlushSavedGame(benchmark::State& state) {
    std::string bytes = platform::CodePage(1252).Encode(saved_games::WriteSavedGame(LargeGame()));
    for (auto _ : state) {
        state.PauseTiming();
        platform::ReplacingFile file(Folder() / "~saving-Flush.tmp");
        file.Write(bytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.Flush());
    }
}
BENCHMARK(BM_FlushSavedGame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadSavedGame(benchmark::State& state) {
    // A project that declares the saved variables, so that each one is restored for real.
    fs::path project = Folder() / "project";
    fs::create_directories(project / "Config");
    std::ofstream(project / "Config" / "General", std::ios::binary)
        << "\"Bench\",\"\",\"Bench\",0,\"Hall\"\r\n";
    {
        std::ofstream variables(project / "Config" / "Variables", std::ios::binary);
        variables << "1000\r\n";
        for (int i = 0; i < 1000; ++i) variables << "\"Variable" << i << "\"\r\n";
        variables << "\"***\"\r\n";
        for (int i = 0; i < 100; ++i) variables << "\"Variant" << i << "\"\r\n";
    }
    platform::FileSystem files;
    platform::CodePage codePage(1252);
    platform::ConsoleDialogs dialogs(std::cerr);
    project::NoCd cd;
    GameFlags flags;
    project::Project bench(files, codePage, dialogs, cd, flags, Folder() / "config");
    bench.InitializeProject(project.string());
    logic::ProjectVariables variables(bench);
    std::ofstream(Folder() / "Load.sav", std::ios::binary)
        << codePage.Encode(saved_games::WriteSavedGame(LargeGame()));
    for (auto _ : state) {
        state.PauseTiming();
        variables.LoadVariables();
        variables.Disappear.Clear();
        state.ResumeTiming();
        std::optional<std::string> bytes = files.ReadFile((Folder() / "Load.sav").string());
        saved_games::SavedGameReading reading = saved_games::ReadSavedGame(codePage.Decode(*bytes));
        for (const auto& [name, value] : reading.game.variables)
            variables.ChangeVariableValue(name, value, true);
        for (const auto& [frame, number] : reading.game.removedHotspots)
            variables.Disappear.Add(frame, number, "");
        for (const auto& [name, value] : *reading.game.variants)
            if (value) variables.ChangeVariableVariantValue(name, *value);
        benchmark::DoNotOptimize(reading.game.items.size());
    }
}
BENCHMARK(BM_LoadSavedGame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
