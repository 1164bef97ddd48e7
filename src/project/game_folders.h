// The folders a game's file, folder and drive lists show: drive C is the game's folder, and each
// drive letter the player offers (a mapped folder or a mounted disc) is its own drive. Nothing else of
// the machine's file system can be listed through them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/list_controls.h"
#include "platform/files/file_system.h"
#include "project/drive_letters.h"

namespace taviro::project {

class GameFolders final : public platform::FolderSource {
public:
    // gameFolder: the project folder; drives: the letters offered besides C (a mapping of C is left out).
    GameFolders(platform::FileSystem& files, std::string gameFolder, std::vector<Drive> drives = {});

    std::vector<std::string> Drives() const override;
    // Takes "C:\Saves", "saves\old", "\Music", "..", and full paths of the machine that lie inside the
    // game's folder or a drive's folder; ".." never climbs above a drive's root.
    std::optional<std::string> Folder(std::string_view path, std::string_view base) const override;
    std::vector<std::string> Subfolders(const std::string& folder) const override;
    std::vector<std::string> Files(const std::string& folder) const override;

    // The folder of the machine behind a canonical folder, or nullopt for a drive that is not offered.
    std::optional<std::string> RealFolder(const std::string& folder) const;

private:
    // The machine's folder of a drive letter (upper case), or nullopt.
    std::optional<std::string> RootOf(char letter) const;

    platform::FileSystem& files_;
    std::vector<Drive> drives_;  // C first
};

}  // namespace taviro::project
