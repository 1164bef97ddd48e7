// The CD locator of a game played from CD: its media files lie on the CD, in a folder named after
// the project title with the sub-folders "Frames" and "Areas", and the player asks for the right CD
// when a file is not there. The drive letter is chosen once and kept in the per-user settings.
#pragma once

#include <functional>

#include "platform/dialogs/run_from_cd_window.h"
#include "project/cd_file_location.h"
#include "project/cd_index.h"
#include "project/drive_letters.h"
#include "project/game_flags.h"

namespace taviro::project {

class CdLocator final : public CdFileLocation {
public:
    // drives: the letters the player offers; flags: GameStopping, which Cancel sets.
    CdLocator(const DriveLetters& drives, GameFlags& flags) : drives_(drives), flags_(flags) {}

    // Reads "CDContents" when the project is a CD project; a damaged index is reported.
    void LoadCdIndex(Project& project) override;
    // The file's path on the CD; asks for the CD (through the window) while it is not there.
    std::optional<std::string> LocateOnCd(Project& project, std::string_view path) override;
    std::vector<Drive> Drives() const override { return drives_.drives(); }

    // True when "RunFromCD.dat" and "CDContents" are both there.
    bool IsCdProject(Project& project) const;
    const CdIndex& index() const { return index_; }

    // The insert-CD window; without it the player cannot ask, and a missing CD counts as Cancel.
    platform::RunFromCdWindows* windows = nullptr;
    // What the game does around the question, while a game window is open: stop everything that
    // plays, stop the game (after Cancel), start the timed events again (after the CD was found).
    std::function<void()> stopPlaying;
    std::function<void()> stopGame;
    std::function<void()> restartTimedEvents;

private:
    // The drive letter from the settings, or the default drive, stored.
    char DriveLetter(Project& project) const;
    // The file on the CD of the letter, in the folder; "" when the letter has no drive.
    std::string CdPath(Project& project, char letter, const char* folder, const std::string& title) const;
    // The path, or the path under the title's scrambled name, that holds a file; nullopt for neither.
    std::optional<std::string> Existing(Project& project, const std::string& path) const;
    // Shows the insert-CD window; false when the player cancelled.
    bool AskForCd(Project& project, int cdNumber);

    const DriveLetters& drives_;
    GameFlags& flags_;
    CdIndex index_;
};

}  // namespace taviro::project
