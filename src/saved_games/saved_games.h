// Saving, loading and removing saved games through the save window and the load window. Both windows
// are modal over the game: they are shown, and what the player does in them runs as handlers while
// the game window takes no input; the caller hears when the window has closed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs/saved_game_window.h"
#include "project/project.h"
#include "saved_games/save_folder.h"
#include "saved_games/saved_games_services.h"

namespace taviro::saved_games {

class SavedGames {
public:
    // documents: the documents folder ("" none); localTimeMs: the local time for the save date.
    SavedGames(project::Project& project, platform::SavedGameWindows& windows, const std::string& documents,
               std::function<int64_t()> localTimeMs);

    // The folder games are saved to (which scripts' file access may reach too).
    const SaveFolder& folder() const { return folder_; }

    // Shows the save window for the game; `closed` runs once it has closed.
    void ShowSaveWindow(SavedGamesServices& game, std::function<void()> closed);
    // Shows the load window. `target` gives the game to load into once a saved game is chosen (the
    // welcome window loads a game window then). `closed` runs once it has closed: loaded or cancelled.
    void ShowLoadWindow(std::function<SavedGamesServices&()> target, std::function<void(bool loaded)> closed);

    // Closes the open window without a word to whoever opened it: the game it belongs to is going.
    void Dismiss();
    // The open window, or nullptr.
    const platform::SavedGameWindow* openWindow() const { return open_ ? &window_ : nullptr; }

    // The save window's SAVE: true when the game was saved.
    bool Save(const std::string& name, SavedGamesServices& game);
    // The save window's Remove Selected.
    void RemoveSelected();
    // The load window's LOAD with the selected name.
    void LoadSelected();
    // Loads the saved game of that name into the game (steps 2 to 13).
    void Load(const std::string& name, SavedGamesServices& game);

    // The text of a saved game of the game in play, as a save would write it (UTF-8).
    std::string SavedGameText(SavedGamesServices& game) const;

private:
    void Open(platform::SavedGameWindow::Kind kind);
    void Close(bool loaded);
    void Refresh();
    void OnButton(platform::SavedGameWindow::Button button);
    void Inform(const std::string& title, const std::string& text);
    void ReportLoadFailure(const std::string& path, const std::string& description);

    project::Project& project_;
    platform::SavedGameWindows& windows_;
    SaveFolder folder_;
    std::function<int64_t()> localTimeMs_;
    platform::SavedGameWindow window_;
    bool open_ = false;
    SavedGamesServices* saving_ = nullptr;
    std::function<SavedGamesServices&()> loadTarget_;
    std::function<void(bool loaded)> closed_;
};

}  // namespace taviro::saved_games
