// The save, remove and load commands of the two windows.
#include "saved_games/saved_games.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "platform/files/replacing_file.h"
#include "platform/game_error.h"
#include "saved_games/resume_file.h"

namespace taviro::saved_games {
namespace {

using Window = platform::SavedGameWindow;

// Larger files are no saved game of any real game; reading them would only exhaust memory.
constexpr size_t kLargestSavedGameBytes = 64u << 20;

}  // namespace

SavedGames::SavedGames(project::Project& project, platform::SavedGameWindows& windows,
                       const std::string& documents, std::function<int64_t()> localTimeMs)
    : project_(project),
      windows_(windows),
      folder_(documents, project.information.ProjectTitle, project.paths.ProjectPath),
      localTimeMs_(std::move(localTimeMs)) {
    window_.acceptsName = [this](const std::string& text) { return FitsCodePage(text, project_.codePage()); };
    window_.onButton = [this](Window::Button button) { OnButton(button); };
}

void SavedGames::ShowSaveWindow(SavedGamesServices& game, std::function<void()> closed) {
    if (open_) return;
    saving_ = &game;
    closed_ = [closed = std::move(closed)](bool) {
        if (closed) closed();
    };
    Open(Window::Kind::Save);
}

void SavedGames::ShowLoadWindow(std::function<SavedGamesServices&()> target,
                                std::function<void(bool loaded)> closed) {
    if (open_) return;
    loadTarget_ = std::move(target);
    closed_ = std::move(closed);
    Open(Window::Kind::Load);
}

void SavedGames::Open(Window::Kind kind) {
    const project::InterfaceTexts& texts = project_.UITexts;
    window_.kind = kind;
    window_.enabled = true;
    window_.selected = -1;
    window_.cancelCaption = texts[11];
    if (kind == Window::Kind::Save) {
        // The name box keeps what was typed last time in this run.
        window_.caption = texts[21];
        window_.prompt = texts[23];
        window_.okCaption = texts[25];
        window_.removeCaption = texts[22];
    } else {
        window_.caption = texts[17];
        window_.prompt = texts[18];
        window_.okCaption = texts[19];
        window_.removeCaption.clear();
    }
    Refresh();
    open_ = true;
    windows_.Show(window_);
}

void SavedGames::Close(bool loaded) {
    if (!open_) return;
    windows_.Close(window_);
    open_ = false;
    saving_ = nullptr;
    auto closed = std::move(closed_);
    closed_ = nullptr;
    if (closed) closed(loaded);
}

void SavedGames::Dismiss() {
    closed_ = nullptr;
    Close(false);
}

void SavedGames::Refresh() {
    window_.names = ListSavedGames(folder_.ReadingPath(project_.files()), project_.files());
    if (window_.selected >= static_cast<int>(window_.names.size())) window_.selected = -1;
}

void SavedGames::OnButton(Window::Button button) {
    if (!open_ || !window_.enabled) return;
    switch (button) {
        case Window::Button::Ok:
            if (window_.kind == Window::Kind::Load) {
                LoadSelected();
            } else if (saving_ && Save(window_.name, *saving_)) {
                Close(false);
            }
            break;
        case Window::Button::Remove: RemoveSelected(); break;
        case Window::Button::Cancel: Close(false); break;
    }
}

void SavedGames::Inform(const std::string& title, const std::string& text) {
    platform::MessageBoxRequest request{title, text, platform::MessageIcon::Information,
                                        platform::MessageButtons::Ok};
    project_.reports().dialogs().MessageBox(request);
}

std::string SavedGames::SavedGameText(SavedGamesServices& game) const {
    SavedGame saved = game.CurrentGame();
    saved.projectName = project_.information.ProjectName;
    saved.projectTitle = project_.information.ProjectTitle;
    using namespace std::chrono;
    const int64_t localMs = localTimeMs_ ? localTimeMs_() : 0;
    year_month_day day{floor<days>(sys_time<milliseconds>(milliseconds(localMs)))};
    saved.date =
        SaveDateText(static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
                     static_cast<int>(static_cast<unsigned>(day.day())));
    return WriteSavedGame(saved);
}

bool SavedGames::Save(const std::string& name, SavedGamesServices& game) {
    const project::InterfaceTexts& texts = project_.UITexts;
    platform::Dialogs& dialogs = project_.reports().dialogs();
    // 1. The folder, with each missing level.
    folder_.Create();
    // 2. No forbidden character.
    if (name.find_first_of(kForbiddenCharacters) != std::string::npos) {
        Inform(project_.information.ProjectTitle, texts[35] + "\n" + ForbiddenCharactersText());
        return false;
    }
    // 3. A name.
    if (name.empty()) {
        Inform(texts[21], texts[23]);
        return false;
    }
    // 4. Replacing asks first; a name that differs only in letter case is the same saved game.
    platform::FileSystem& files = project_.files();
    files.Forget();
    const std::string shownPath = folder_.path() + name + ".sav";
    const std::filesystem::path target = files.Resolve(shownPath);
    if (files.IsFile(shownPath)) {
        platform::MessageBoxRequest question{texts[21], "'" + name + "' " + texts[24],
                                             platform::MessageIcon::Question,
                                             platform::MessageButtons::OkCancel};
        if (dialogs.MessageBox(question) == platform::MessageAnswer::Cancel) return false;
    }
    // 5-6. Written beside the old file, on the disk, then in its place: the old one stays whole until then.
    std::string bytes = project_.codePage().Encode(SavedGameText(game));
    bool saved = false;
    {
        std::filesystem::path temporary =
            target.parent_path() / (std::string(kTemporaryPrefix) + name + std::string(kTemporarySuffix));
        platform::ReplacingFile file(temporary);
        saved = file.ok() && file.Write(bytes) && file.Flush() && file.ReplaceInto(target);
    }
    files.Forget();
    if (!saved) {
        project_.reports().ShowErrorReport(" Unable to save '" + shownPath +
                                           "'.\nVerify that this file is not Read-Only and that it does not "
                                           "contain any of the following characters: " +
                                           ForbiddenCharactersText());
        return false;
    }
    return true;
}

void SavedGames::RemoveSelected() {
    const project::InterfaceTexts& texts = project_.UITexts;
    if (window_.selected < 0 || window_.selected >= static_cast<int>(window_.names.size())) {
        Inform(project_.information.ProjectTitle, texts[9]);
        return;
    }
    const std::string name = window_.names[static_cast<size_t>(window_.selected)];
    platform::MessageBoxRequest question{texts[21], texts[27] + " '" + name + "'?",
                                         platform::MessageIcon::Question, platform::MessageButtons::OkCancel};
    if (project_.reports().dialogs().MessageBox(question) != platform::MessageAnswer::Ok) return;
    platform::FileSystem& files = project_.files();
    std::error_code error;
    bool removed = std::filesystem::remove(files.Resolve(folder_.ReadingPath(files) + name + ".sav"), error);
    files.Forget();
    if (!removed || error) project_.reports().ShowErrorReport(" Unable to remove '" + name + "'.");
    window_.selected = -1;
    Refresh();
}

void SavedGames::LoadSelected() {
    // 1. Something chosen.
    if (window_.selected < 0 || window_.selected >= static_cast<int>(window_.names.size())) {
        Inform(project_.UITexts[17], project_.UITexts[9]);
        return;
    }
    const std::string name = window_.names[static_cast<size_t>(window_.selected)];
    SavedGamesServices* game = nullptr;
    try {
        game = &loadTarget_();
    } catch (const std::exception& failure) {
        // No game window to load into: the player may try again or cancel.
        return ReportLoadFailure(folder_.ReadingPath(project_.files()) + name + ".sav",
                                 AsGameError(failure).description());
    }
    Load(name, *game);
}

void SavedGames::ReportLoadFailure(const std::string& path, const std::string& description) {
    project_.reports().ShowErrorReport(" Unable to load '" + path + "'.\n\n" + description);
}

void SavedGames::Load(const std::string& name, SavedGamesServices& game) {
    platform::FileSystem& files = project_.files();
    // 2. The windows wait under the hourglass while the display settles.
    window_.enabled = false;
    game.BeginLoading();
    game.WaitWithEvents(300);
    game.ApplyLoadGameDisplayMode();
    game.WaitWithEvents(300);
    // 3. A fresh game to load into.
    game.ResetForLoad();
    // 4. The file.
    const std::string path = folder_.ReadingPath(files) + name + ".sav";
    game.WaitWithEvents(500);
    SavedGameReading reading;
    std::error_code error;
    std::filesystem::path real = files.Resolve(path);
    uintmax_t size = std::filesystem::file_size(real, error);
    std::optional<std::string> bytes;
    if (error) {
        reading.failure = errors::FileNotFound();
    } else if (size > kLargestSavedGameBytes) {
        reading.failure = GameError(7, "Out of memory");
    } else if (!(bytes = files.ReadFile(path))) {
        reading.failure = errors::PathFileAccessError();
    } else {
        reading = ReadSavedGame(project_.codePage().Decode(*bytes));
    }
    // 5-11. What was read, in the file's order; a half-read file leaves the game as far as it got.
    const SavedGame& saved = reading.game;
    for (const auto& [variable, value] : saved.variables) game.ChangeVariableValue(variable, value);
    for (const auto& [frame, number] : saved.removedHotspots) game.AddRemovedHotspot(frame, number);
    for (const std::string& item : saved.items) game.AddPickedObject(item);
    if (saved.history) {
        game.ClearHistory();
        for (const std::string& frame : *saved.history) game.AddToHistory(frame);
    }
    if (saved.variants)
        for (const auto& [variable, value] : *saved.variants)
            if (value) game.ChangeVariableVariantValue(variable, *value);
    if (reading.failure) {
        ReportLoadFailure(path, reading.failure->description());
        // The player gets the window back to load another game or quit.
        Close(true);
        game.ShowScene();
        game.ShowGameWindow();
        game.EndLoading();
        return;
    }
    // 12. The load window goes.
    Close(true);
    // 13. The resume frame opens after the start-up script.
    const std::string frame =
        GetResumeLocation(saved.location, project_.ReadTextFile(project_.paths.ConfigPath + "Resume"));
    game.SetCurrentFrameName(frame);
    game.WaitWithEvents(200);
    game.ExecuteOnLoadVBScript();
    game.ShowScene();
    game.WaitWithEvents(200);
    game.OpenFrame(frame);
    game.WaitWithEvents(300);
    game.ShowGameWindow();
    game.ApplyLoadGameDisplayMode();
    game.WaitWithEvents(300);
    game.EndLoading();
}

}  // namespace taviro::saved_games
