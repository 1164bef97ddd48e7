// The program's windows and the games played in them: the welcome window first, a fresh game window
// for every game started from it, back to the welcome window when a game ends, and the end of the
// program when the welcome window unloads.
#pragma once

#include <functional>
#include <memory>

#include "app/display_modes.h"
#include "app/game_window.h"
#include "app/welcome_window.h"
#include "platform/automation/state_dump.h"
#include "saved_games/saved_games.h"

namespace taviro::app {

// What the windows need from the screen that shows them.
struct ScreenServices {
    // A new top-level window, hidden, whose labels measure their texts in the screen's fonts.
    std::function<platform::TopWindow&(const std::string& name, int width, int height)> loadWindow;
    std::function<std::optional<platform::Point>(const std::string& path)> pictureSize;
    std::function<void(platform::Canvas& canvas, const std::string& path)> tilePicture;
    std::function<void(const std::string& address)> openAddress;
    // What game scripts ask of the desktop (see Game's members of the same names).
    std::function<bool(const std::string& address)> openDocument;
    std::function<std::unique_ptr<platform::RunningProgram>(const std::string& path)> startProgram;
    std::function<void(const std::string& picturePath, const std::string& file)> savePicture;
    std::function<std::string()> clipboardText;
    std::function<void(const std::string&)> setClipboardText;
    // Where the save and load windows are shown, and the documents folder ("" none) of saved games.
    platform::SavedGameWindows* savedGameWindows = nullptr;
    std::string documentsFolder;
    // The sound of the program, shared by every game it plays; without it each game has its own.
    platform::media::AudioEngine* audio = nullptr;
    // Pictures of the scene and of game pictures for transitions and effects (see Game's members of
    // the same names).
    std::function<void(const platform::Control&, platform::Canvas&, bool desktopOnly)> captureControl;
    std::function<void(platform::Canvas&, const std::string& path, const platform::Rect& area)> copyPicture;
    // Opens or closes the player's own settings window (Ctrl+O).
    std::function<void()> togglePlayerSettings;
    // Writes a screenshot of the game to the player's pictures (Alt+S).
    std::function<void()> takeScreenshot;
    // Told each frame the game has opened: the pictures of the frames it leads to are decoded ahead.
    std::function<void(const std::string& frame)> frameShown;
};

class Player {
public:
    Player(project::Project& project, GameFlags& flags, platform::TopWindows& windows,
           platform::EventLoop& loop, platform::StateDump& dump, DisplayModes& modes, ScreenServices screen);
    ~Player();

    // Loads the welcome window, whose start-up sequence shows it or starts the game at once.
    void Start();

    WelcomeWindow& welcome() { return *welcome_; }
    // The game window while a game is played, else nullptr.
    GameWindow* gameWindow() { return game_.get(); }
    // Saving and loading; nullptr without a screen for their windows.
    saved_games::SavedGames* savedGames() { return savedGames_.get(); }

private:
    // Start on the welcome window: a fresh game window plays a new game.
    void StartGame();
    // Loads a game window, hidden, with its hooks into the program.
    void LoadGameWindow();
    // Load on the welcome window: the load window, and a game window for the game chosen there.
    void LoadGameFromWelcome();
    // The game window has closed: it unloads, and the welcome window shows again or the program ends.
    void UnloadGame();
    void EndProgram();

    project::Project& project_;
    GameFlags& flags_;
    platform::TopWindows& windows_;
    platform::EventLoop& loop_;
    platform::StateDump& dump_;
    DisplayModes& modes_;
    ScreenServices screen_;
    std::unique_ptr<WelcomeWindow> welcome_;
    std::unique_ptr<GameWindow> game_;
    std::unique_ptr<saved_games::SavedGames> savedGames_;
};

}  // namespace taviro::app
