// Drive letters mapped to folders.
#include "project/drive_letters.h"

#include <algorithm>

namespace taviro::project {
namespace {

char Upper(char letter) {
    return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
}
bool IsDriveLetter(char letter) { return Upper(letter) >= 'A' && Upper(letter) <= 'V'; }

}  // namespace

bool DriveLetters::Map(char letter, std::string folder) {
    if (!IsDriveLetter(letter)) return false;
    letter = Upper(letter);
    std::erase_if(drives_, [letter](const Drive& drive) { return drive.letter == letter; });
    drives_.push_back({letter, std::move(folder), DriveType::CdRom});
    std::sort(drives_.begin(), drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return true;
}

void DriveLetters::AddOpticalMedia(const std::vector<std::string>& mountPoints) {
    char letter = 'D';
    for (const std::string& folder : mountPoints) {
        while (letter <= 'V' && Find(letter)) ++letter;
        if (letter > 'V') return;
        Map(letter, folder);
    }
}

const Drive* DriveLetters::Find(char letter) const {
    letter = Upper(letter);
    for (const Drive& drive : drives_)
        if (drive.letter == letter) return &drive;
    return nullptr;
}

std::string DriveLetters::DefaultCdDrive() const {
    std::string letter = "d";
    for (const Drive& drive : drives_)
        if (drive.type == DriveType::CdRom) letter = std::string(1, drive.letter);
    return letter;
}

std::string DriveLetters::ListEntry(const Drive& drive) {
    const char* kind = "";
    switch (drive.type) {
        case DriveType::Floppy: kind = "(Floppy Drive)"; break;
        case DriveType::Hard: kind = "(Hard Drive)"; break;
        case DriveType::Network: kind = "(Network Drive)"; break;
        case DriveType::CdRom: kind = "(CD-Rom Drive)"; break;
        case DriveType::RamDisk: kind = "(RAM Disk)"; break;
        case DriveType::Unknown: break;
    }
    return std::string(1, drive.letter) + ":\\ " + kind;
}

std::optional<std::pair<char, std::string>> ParseDriveMapping(std::string_view text) {
    if (text.size() < 3 || text[1] != '=' || !IsDriveLetter(text[0])) return std::nullopt;
    return std::pair{Upper(text[0]), std::string(text.substr(2))};
}

}  // namespace taviro::project
