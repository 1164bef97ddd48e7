#include "bench_game.h"

#include <SDL.h>

#include <fstream>
#include <iostream>
#include <random>

#include "platform/pictures/test_pictures.h"
#include "project/field_writer.h"

namespace taviro::bench {
namespace {

namespace fs = std::filesystem;
using project::FieldWriter;

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

}  // namespace

BenchGame::BenchGame(const std::string& name, const std::string& firstFrame)
    : folder_(fs::temp_directory_path() / name) {
    fs::remove_all(folder_);
    FieldWriter general;
    general.WriteString("Bench").WriteString("").WriteString("Bench").WriteNumber(0).WriteString(firstFrame);
    general.WriteString("1").WriteNumber(1024).WriteNumber(768).WriteString("").WriteString("").WriteString(
        "");
    Write(folder_ / "Config" / "General", general.EndLine().text());
}

BenchGame::~BenchGame() { fs::remove_all(folder_); }

void BenchGame::WriteFrame(const std::string& frame, const std::string& background, unsigned seed,
                           const std::function<std::string(int hotspot)>& destination,
                           const std::string& textPrefix) {
    Write(folder_ / "Frames" / background, platform::test_pictures::JpegBytes(Noise(1024, 768, seed).get()));
    FieldWriter hotspots, actions, texts;
    for (int i = 1; i <= 30; ++i) {
        std::string picture = frame + "-" + std::to_string(i) + ".bmp";
        Write(folder_ / "Areas" / picture,
              platform::test_pictures::BmpBytes(Noise(64, 64, seed * 100 + static_cast<unsigned>(i)).get()));
        hotspots.WriteString("").WriteNumber(0);
        for (int k = 0; k < 8; ++k) hotspots.WriteNumber(0);
        hotspots.WriteNumber((i % 10) * 1500).WriteNumber((i / 10) * 1500).WriteNumber(64 * 15);
        hotspots.WriteNumber(64 * 15).WriteNumber(0).WriteBoolean(true).WriteString(picture).WriteNumber(0);
        hotspots.WriteString("").WriteNumber(0).WriteNumber(0).WriteNumber(0).EndLine();
        hotspots.WriteString("----- SEPARATOR -----").EndLine();
        for (int k = 0; k < 10; ++k) actions.WriteNumber(0);
        actions.WriteNumber(0).WriteString("").WriteNumber(0).WriteNumber(0).WriteNumber(0).WriteNumber(0);
        actions.WriteString("").WriteNumber(0).WriteString("").WriteNumber(0).WriteNumber(0);
        actions.WriteNumber(1).WriteString(destination(i)).EndLine();
        actions.WriteString("----- SEPARATOR -----").EndLine();
    }
    for (int i = 1; i <= 20; ++i) {
        texts.WriteString("").WriteNumber(0);
        for (int k = 0; k < 8; ++k) texts.WriteNumber(0);
        texts.WriteString(textPrefix + std::to_string(i)).WriteNumber(15 * 30 * (i % 4));
        texts.WriteNumber(15 * 30 * (i / 4)).WriteBoolean(i % 2).WriteBoolean(false).WriteString("Arial");
        texts.WriteNumber(12).WriteBoolean(false).WriteBoolean(false).WriteNumber(0xFFFFFF).WriteString("");
        texts.EndLine();
    }
    FieldWriter settings;
    settings.WriteNumber(1).WriteString(background).WriteBoolean(false).WriteBoolean(false).WriteString("");
    settings.WriteBoolean(false).WriteNumber(0).WriteString("").WriteString("").WriteString("").EndLine();
    Write(folder_ / "Frames" / (frame + ".fme"), settings.text());
    Write(folder_ / "FramesData" / (frame + ".fm2"), hotspots.text());
    Write(folder_ / "FramesData" / (frame + ".fm3"), actions.text());
    Write(folder_ / "FramesData" / (frame + ".fm1"), texts.text());
}

BenchPlayer::BenchPlayer(const BenchGame& bench)
    : dialogs(std::cerr), project(files, codePage, dialogs, cd, flags, bench.folder() / "config") {
    project.InitializeProject(bench.folder().string());
    platform::DisplaySettings settings{.headless = true};
    screen = std::make_unique<platform::PlayerScreen>(settings, clock, files, true);
    platform::TopWindow& top = screen->LoadWindow("game", 1024, 768);
    window = std::make_unique<app::GameWindow>(project, flags, screen->windows(), top, screen->loop(), modes,
                                               [] {});
    game = &window->game();
    game->ResetAll(false);
    screen->windows().Show(top);
    // A running player has its fonts found already: the welcome window drew with them.
    screen->text().Measure("Text", platform::FontSpec{.name = "Arial", .sizePoints = 12});
}

void BenchPlayer::Open(const std::string& frame) {
    game->frames().OpenFrame(frame, false, 0, 0);
    screen->Draw();
}

void BenchPlayer::ClickTheFirstHotspot() {
    screen->MouseDown({1500 / 15 + 10, 10}, platform::kLeftButton);
    screen->MouseUp({1500 / 15 + 10, 10}, platform::kLeftButton);
    screen->Draw();
}

}  // namespace taviro::bench
