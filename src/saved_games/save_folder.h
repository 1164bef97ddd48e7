// The folder of a game's saved games and the names in it: documents folder + "/Savegames/" + the
// game's title, or the project folder when there is no documents folder (and, for listing and
// loading, when the game's folder does not exist).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/files/file_system.h"

namespace taviro::saved_games {

// The ten characters a save name may not hold, in the order the reports list them.
inline constexpr std::string_view kForbiddenCharacters = "\"\\/:*?<>|,";
// The forbidden characters as the reports show them: a double quote, then the rest apart.
std::string ForbiddenCharactersText();
// Names of the temporary files of saves under way; never "*.sav".
inline constexpr std::string_view kTemporaryPrefix = "~saving-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";

class SaveFolder {
public:
    // documents: the documents folder, "" for none; title: the game's title; projectPath ends in "/".
    SaveFolder(std::string documents, std::string_view title, std::string projectPath);

    // Where games are saved, ending in "/".
    const std::string& path() const { return path_; }
    // Creates each missing level of path(); a level that cannot be made is left for the save to fail.
    void Create() const;
    // Where games are listed and loaded from: path() when it is a folder, else the project folder.
    std::string ReadingPath(platform::FileSystem& files) const;

private:
    std::string path_;
    std::string projectPath_;
    std::string documents_;
};

// The names (without ".sav") of the saved games of a folder, newest first by file time; equal
// times keep the folder's order. Temporary files left by an interrupted save are removed.
std::vector<std::string> ListSavedGames(const std::string& folder, platform::FileSystem& files);

// True when the name box may hold the name: no more than 32 characters, and each one written in the
// game's code page (a name the code page cannot hold would be saved under another name).
bool FitsCodePage(const std::string& name, const platform::CodePage& codePage);

}  // namespace taviro::saved_games
