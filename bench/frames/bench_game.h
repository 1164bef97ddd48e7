// The game the frame benchmarks play: 1024x768 frames, each with a JPEG background of noise, 30
// hotspots with 64x64 pictures and 20 texts, and a headless player showing it as the program does.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/game_window.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/sdl/player_screen.h"

namespace taviro::bench {

// A game folder in the temporary folder, removed with the object.
class BenchGame {
public:
    // name: the folder's name; firstFrame: the frame the game starts with.
    BenchGame(const std::string& name, const std::string& firstFrame);
    ~BenchGame();
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    // A frame whose background and hotspot pictures are made from the seed; hotspot i opens
    // destination(i); its texts start with textPrefix.
    void WriteFrame(const std::string& frame, const std::string& background, unsigned seed,
                    const std::function<std::string(int hotspot)>& destination,
                    const std::string& textPrefix);

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// A player showing a game headless, with a fresh picture cache and its fonts already found.
struct BenchPlayer {
    explicit BenchPlayer(const BenchGame& game);

    // Opens a frame as a script would, and draws it.
    void Open(const std::string& frame);
    // A click on hotspot 1, which lies at the same place in every frame, and the frame drawn.
    void ClickTheFirstHotspot();

    platform::FileSystem files;
    platform::CodePage codePage{1252};
    platform::ConsoleDialogs dialogs;
    project::NoCd cd;
    GameFlags flags;
    project::Project project;
    platform::VirtualClock clock;
    std::unique_ptr<platform::PlayerScreen> screen;
    app::DisplayModes modes{{1920, 1080}};
    std::unique_ptr<app::GameWindow> window;
    app::Game* game = nullptr;
};

}  // namespace taviro::bench
