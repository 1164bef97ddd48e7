// Targets: OpenFrame of a frame with a 1024x768 JPEG background, 30 hotspots with pictures and 20
// texts, from the call to the frame drawn: at most 10 ms median with pictures not yet decoded, 2 ms
// when they are. Also the time from a click on a hotspot to the next frame drawn.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>

#include "app/game_window.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/memory/memory_reuse.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/player_screen.h"
#include "project/field_writer.h"

namespace {

using namespace taviro;
namespace fs = std::filesystem;

std::shared_ptr<SDL_Surface> Noise(int width, int height, unsigned seed) {
    auto surface = platform::test_pictures::Filled(width, height, 0);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < width; ++x) row[x] = (random() & 0x00FFFFFF) | 0xFF000000;
    }
    return surface;
}

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A project of two frames, "Big" and "Other", each with the full set of hotspots and texts.
struct BigProject {
    fs::path folder = fs::temp_directory_path() / "taviro-open-frame-bench";

    BigProject() {
        using project::FieldWriter;
        fs::remove_all(folder);
        FieldWriter general;
        general.WriteString("Bench").WriteString("").WriteString("Bench").WriteNumber(0).WriteString("Big");
        general.WriteString("1")
            .WriteNumber(1024)
            .WriteNumber(768)
            .WriteString("")
            .WriteString("")
            .WriteString("");
        Write(folder / "Config" / "General", general.EndLine().text());
        Write(folder / "Frames" / "big.jpg", platform::test_pictures::JpegBytes(Noise(1024, 768, 1).get()));
        FieldWriter hotspots, actions, texts;
        for (int i = 1; i <= 30; ++i) {
            std::string picture = "h" + std::to_string(i) + ".bmp";
            Write(folder / "Areas" / picture, platform::test_pictures::BmpBytes(Noise(64, 64, i + 1).get()));
            hotspots.WriteString("").WriteNumber(0);
            for (int k = 0; k < 8; ++k) hotspots.WriteNumber(0);
            hotspots.WriteNumber((i % 10) * 1500).WriteNumber((i / 10) * 1500).WriteNumber(64 * 15);
            hotspots.WriteNumber(64 * 15).WriteNumber(0).WriteBoolean(true).WriteString(picture).WriteNumber(
                0);
            hotspots.WriteString("").WriteNumber(0).WriteNumber(0).WriteNumber(0).EndLine();
            hotspots.WriteString("----- SEPARATOR -----").EndLine();
            for (int k = 0; k < 10; ++k) actions.WriteNumber(0);
            actions.WriteNumber(0).WriteString("").WriteNumber(0).WriteNumber(0).WriteNumber(0).WriteNumber(
                0);
            actions.WriteString("").WriteNumber(0).WriteString("").WriteNumber(0).WriteNumber(0);
            actions.WriteNumber(1).WriteString(i % 2 ? "Other" : "Big").EndLine();
            actions.WriteString("----- SEPARATOR -----").EndLine();
        }
        for (int i = 1; i <= 20; ++i) {
            texts.WriteString("").WriteNumber(0);
            for (int k = 0; k < 8; ++k) texts.WriteNumber(0);
            texts.WriteString("Text number " + std::to_string(i)).WriteNumber(15 * 30 * (i % 4));
            texts.WriteNumber(15 * 30 * (i / 4)).WriteBoolean(i % 2).WriteBoolean(false).WriteString("Arial");
            texts.WriteNumber(12).WriteBoolean(false).WriteBoolean(false).WriteNumber(0xFFFFFF).WriteString(
                "");
            texts.EndLine();
        }
        FieldWriter settings;
        settings.WriteNumber(1).WriteString("big.jpg").WriteBoolean(false).WriteBoolean(false).WriteString(
            "");
        settings.WriteBoolean(false).WriteNumber(0).WriteString("").WriteString("").WriteString("").EndLine();
        for (const char* frame : {"Big", "Other"}) {
            Write(folder / "Frames" / (std::string(frame) + ".fme"), settings.text());
            Write(folder / "FramesData" / (std::string(frame) + ".fm2"), hotspots.text());
            Write(folder / "FramesData" / (std::string(frame) + ".fm3"), actions.text());
            Write(folder / "FramesData" / (std::string(frame) + ".fm1"), texts.text());
        }
    }
    ~BigProject() { fs::remove_all(folder); }
};

BigProject& Project() {
    static BigProject project;
    return project;
}

// A player showing the project headless, with a fresh picture cache.
struct Player {
    platform::FileSystem files;
    platform::CodePage codePage{1252};
    platform::ConsoleDialogs dialogs{std::cerr};
    project::NoCd cd;
    GameFlags flags;
    project::Project project{files, codePage, dialogs, cd, flags, Project().folder / "config"};
    platform::VirtualClock clock;
    std::unique_ptr<platform::PlayerScreen> screen;
    app::DisplayModes modes{{1920, 1080}};
    std::unique_ptr<app::GameWindow> window;
    app::Game* game = nullptr;

    Player() {
        project.InitializeProject(Project().folder.string());
        platform::DisplaySettings settings{.headless = true};
        screen = std::make_unique<platform::PlayerScreen>(settings, clock, files, true);
        platform::TopWindow& top = screen->LoadWindow("game", 1024, 768);
        window = std::make_unique<app::GameWindow>(project, flags, screen->windows(), top, screen->loop(),
                                                   modes, [] {});
        game = &window->game();
        game->ResetAll(false);
        screen->windows().Show(top);
        // A running player has its fonts found already: the welcome window drew with them.
        screen->text().Measure("Text", platform::FontSpec{.name = "Arial", .sizePoints = 12});
    }
    void Open(const char* frame) {
        game->frames().OpenFrame(frame, false, 0, 0);
        screen->Draw();
    }
};

void OpenFrameWithPicturesNotYetDecoded(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto player = std::make_unique<Player>();
        state.ResumeTiming();
        player->Open("Big");
        state.PauseTiming();
        player.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFrameWithPicturesNotYetDecoded)->Unit(benchmark::kMillisecond)->Iterations(20);

void OpenFrameWithPicturesDecoded(benchmark::State& state) {
    Player player;
    player.Open("Big");
    bool other = true;
    for (auto _ : state) {
        player.Open(other ? "Other" : "Big");
        other = !other;
    }
}
BENCHMARK(OpenFrameWithPicturesDecoded)->Unit(benchmark::kMillisecond);

// The same without drawing, to tell the loading from the composing of the screen.
void OpenFrameWithoutDrawing(benchmark::State& state) {
    Player player;
    player.Open("Big");
    bool other = true;
    for (auto _ : state) {
        player.game->frames().OpenFrame(other ? "Other" : "Big", false, 0, 0);
        other = !other;
    }
}
BENCHMARK(OpenFrameWithoutDrawing)->Unit(benchmark::kMillisecond);

void ClickOnAHotspotToTheNextFrameDrawn(benchmark::State& state) {
    Player player;
    player.Open("Big");
    for (auto _ : state) {
        // Hotspot 1 goes to the other frame and hotspot 2 comes back; both lie at the same place.
        player.screen->MouseDown({1500 / 15 + 10, 10}, platform::kLeftButton);
        player.screen->MouseUp({1500 / 15 + 10, 10}, platform::kLeftButton);
        player.screen->Draw();
    }
}
BENCHMARK(ClickOnAHotspotToTheNextFrameDrawn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // As the player does at start-up.
    platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
