// Drive letters as a game of the original's time sees them. The player runs where letters do not
// exist, so each letter from A to V it offers stands for a folder: one the command line maps
// ("--drive D=/media/cdrom"), or a mounted optical disc found at start-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace taviro::project {

enum class DriveType { Unknown, Floppy, Hard, Network, CdRom, RamDisk };

struct Drive {
    char letter = 'D';  // upper case, A to V
    std::string folder;
    DriveType type = DriveType::CdRom;
};

class DriveLetters {
public:
    // Maps a letter (either case, A to V) to a folder as a CD-ROM drive; a later mapping of the same
    // letter replaces the earlier. False for a letter outside A to V.
    bool Map(char letter, std::string folder);
    // Gives each folder the next free letter from D on, as a CD-ROM drive.
    void AddOpticalMedia(const std::vector<std::string>& mountPoints);

    // The drives, in letter order.
    const std::vector<Drive>& drives() const { return drives_; }
    // The drive of a letter (either case), or nullptr.
    const Drive* Find(char letter) const;

    // The letter the original chose when none was stored: "d", replaced by each CD-ROM drive from A
    // to V in turn, so the last one wins.
    std::string DefaultCdDrive() const;

    // The entry of the insert-CD window's list: "D:\ (CD-Rom Drive)".
    static std::string ListEntry(const Drive& drive);

private:
    std::vector<Drive> drives_;
};

// "D=/media/cdrom" as the command line gives it; nullopt when it is not a letter, "=" and a folder.
std::optional<std::pair<char, std::string>> ParseDriveMapping(std::string_view text);

}  // namespace taviro::project
