// Target: a click on a hotspot to the next frame drawn, one second after the previous frame opened,
// at most 2 ms with the next frame's pictures never loaded before (a 1024x768 JPEG background, 30
// hotspot pictures, 20 texts) but decoded ahead while the previous frame was shown. The same click
// without decoding ahead is measured beside it.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

#include "app/game_window.h"
#include "checker/reachable_frames.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/memory/memory_reuse.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/player_screen.h"
#include "project/field_writer.h"

namespace {

using namespace taviro;
namespace fs = std::filesystem;

constexpr int kFrames = 4;

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

std::string FrameName(int number) { return "Frame" + std::to_string(number % kFrames); }

// A ring of frames, each with pictures of its own, whose every hotspot opens the next frame.
struct RingProject {
    fs::path folder = fs::temp_directory_path() / "taviro-decode-ahead-bench";

    RingProject() {
        using project::FieldWriter;
        fs::remove_all(folder);
        FieldWriter general;
        general.WriteString("Bench").WriteString("").WriteString("Bench").WriteNumber(0).WriteString(
            "Frame0");
        general.WriteString("1")
            .WriteNumber(1024)
            .WriteNumber(768)
            .WriteString("")
            .WriteString("")
            .WriteString("");
        Write(folder / "Config" / "General", general.EndLine().text());
        for (int frame = 0; frame < kFrames; ++frame) WriteFrame(frame);
    }
    ~RingProject() { fs::remove_all(folder); }

    void WriteFrame(int frame) {
        using project::FieldWriter;
        const std::string name = FrameName(frame);
        Write(folder / "Frames" / (name + ".jpg"),
              platform::test_pictures::JpegBytes(Noise(1024, 768, 100 + frame).get()));
        FieldWriter hotspots, actions, texts;
        for (int i = 1; i <= 30; ++i) {
            std::string picture = name + "-" + std::to_string(i) + ".bmp";
            Write(folder / "Areas" / picture,
                  platform::test_pictures::BmpBytes(Noise(64, 64, frame * 100 + i).get()));
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
            actions.WriteNumber(1).WriteString(FrameName(frame + 1)).EndLine();
            actions.WriteString("----- SEPARATOR -----").EndLine();
        }
        for (int i = 1; i <= 20; ++i) {
            texts.WriteString("").WriteNumber(0);
            for (int k = 0; k < 8; ++k) texts.WriteNumber(0);
            texts.WriteString(name + ", text number " + std::to_string(i)).WriteNumber(15 * 30 * (i % 4));
            texts.WriteNumber(15 * 30 * (i / 4)).WriteBoolean(i % 2).WriteBoolean(false).WriteString("Arial");
            texts.WriteNumber(12).WriteBoolean(false).WriteBoolean(false).WriteNumber(0xFFFFFF).WriteString(
                "");
            texts.EndLine();
        }
        FieldWriter settings;
        settings.WriteNumber(1)
            .WriteString(name + ".jpg")
            .WriteBoolean(false)
            .WriteBoolean(false)
            .WriteString("");
        settings.WriteBoolean(false).WriteNumber(0).WriteString("").WriteString("").WriteString("").EndLine();
        Write(folder / "Frames" / (name + ".fme"), settings.text());
        Write(folder / "FramesData" / (name + ".fm2"), hotspots.text());
        Write(folder / "FramesData" / (name + ".fm3"), actions.text());
        Write(folder / "FramesData" / (name + ".fm1"), texts.text());
    }
};

RingProject& Ring() {
    static RingProject project;
    return project;
}

// A player showing the ring headless; with decodeAhead it decodes ahead as the program does.
struct Player {
    platform::FileSystem files;
    platform::CodePage codePage{1252};
    platform::ConsoleDialogs dialogs{std::cerr};
    project::NoCd cd;
    GameFlags flags;
    project::Project project{files, codePage, dialogs, cd, flags, Ring().folder / "config"};
    platform::VirtualClock clock;
    std::unique_ptr<platform::PlayerScreen> screen;
    app::DisplayModes modes{{1920, 1080}};
    std::unique_ptr<app::GameWindow> window;
    app::Game* game = nullptr;

    explicit Player(bool decodeAhead) {
        project.InitializeProject(Ring().folder.string());
        platform::DisplaySettings settings{.headless = true};
        screen = std::make_unique<platform::PlayerScreen>(settings, clock, files, true);
        platform::TopWindow& top = screen->LoadWindow("game", 1024, 768);
        window = std::make_unique<app::GameWindow>(project, flags, screen->windows(), top, screen->loop(),
                                                   modes, [] {});
        game = &window->game();
        if (decodeAhead) {
            game->frames().frameShown = [this](const std::string& frame) {
                screen->AtNextIdle([this, frame] {
                    checker::ShownAhead ahead = checker::ReachableContent(project, frame);
                    screen->PrepareAhead(std::move(ahead.pictureFiles), std::move(ahead.texts));
                });
            };
        }
        game->ResetAll(false);
        screen->windows().Show(top);
        screen->text().Measure("Text", platform::FontSpec{.name = "Arial", .sizePoints = 12});
        game->frames().OpenFrame("Frame0", false, 0, 0);
        screen->Draw();
    }

    // One second after the frame opened, turning the event loop as a real-time wait does; the
    // pictures decoded so far are dropped, so the next frame's are cold unless decoded ahead.
    void WaitOneSecondAfter(std::chrono::steady_clock::time_point opened) {
        screen->pictures().Trim();
        const auto end = opened + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < end) {
            screen->loop().DoEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void Click() {
        // Hotspot 1, at the same place in every frame, opens the next frame.
        screen->MouseDown({1500 / 15 + 10, 10}, platform::kLeftButton);
        screen->MouseUp({1500 / 15 + 10, 10}, platform::kLeftButton);
        screen->Draw();
    }
};

void ClickToTheNextFrameDrawn(benchmark::State& state, bool decodeAhead) {
    Player player(decodeAhead);
    auto opened = std::chrono::steady_clock::now();
    size_t decodedBefore = 0;
    size_t adoptedBefore = 0;
    for (auto _ : state) {
        state.PauseTiming();
        player.WaitOneSecondAfter(opened);
        decodedBefore = player.screen->pictures().decodeCount();
        adoptedBefore = player.screen->pictures().decodedAheadCount();
        state.ResumeTiming();
        player.Click();
        state.PauseTiming();
        opened = std::chrono::steady_clock::now();
        state.counters["decoded on click"] =
            static_cast<double>(player.screen->pictures().decodeCount() - decodedBefore);
        state.counters["decoded ahead, taken on click"] =
            static_cast<double>(player.screen->pictures().decodedAheadCount() - adoptedBefore);
        state.ResumeTiming();
    }
}

void ClickToAFrameDecodedAhead(benchmark::State& state) { ClickToTheNextFrameDrawn(state, true); }
void ClickToAFrameNotDecodedAhead(benchmark::State& state) { ClickToTheNextFrameDrawn(state, false); }

BENCHMARK(ClickToAFrameDecodedAhead)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(ClickToAFrameNotDecodedAhead)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // As the player does at start-up.
    platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
