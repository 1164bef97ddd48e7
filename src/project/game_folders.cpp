// Windows-style folders over the game's folder and the offered drives.
#include "project/game_folders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace taviro::project {
namespace {

char UpperLetter(char letter) { return static_cast<char>(std::toupper(static_cast<unsigned char>(letter))); }

bool IsDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// The folder names of a path, separated by either slash.
std::vector<std::string> Names(std::string_view path) {
    std::vector<std::string> names;
    std::string name;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!name.empty()) names.push_back(std::move(name));
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty()) names.push_back(std::move(name));
    return names;
}

// The rest of a machine path below a folder, or nullopt when it does not lie inside it.
std::optional<std::string> Below(std::string_view path, const std::string& folder) {
    std::error_code error;
    std::filesystem::path inside = std::filesystem::path(path).lexically_normal();
    std::filesystem::path root = std::filesystem::path(folder).lexically_normal();
    std::filesystem::path rest = inside.lexically_relative(root);
    if (rest.empty() || *rest.begin() == "..") return std::nullopt;
    return rest == "." ? std::string() : rest.string();
}

}  // namespace

GameFolders::GameFolders(platform::FileSystem& files, std::string gameFolder, std::vector<Drive> drives)
    : files_(files) {
    drives_.push_back({'C', std::move(gameFolder), DriveType::Hard});
    for (Drive& drive : drives)
        if (UpperLetter(drive.letter) != 'C') drives_.push_back(std::move(drive));
    std::sort(drives_.begin(), drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

std::vector<std::string> GameFolders::Drives() const {
    std::vector<std::string> names;
    for (const Drive& drive : drives_)
        names.push_back(std::string(1, static_cast<char>(std::tolower(drive.letter))) + ":");
    return names;
}

std::optional<std::string> GameFolders::RootOf(char letter) const {
    for (const Drive& drive : drives_)
        if (UpperLetter(drive.letter) == UpperLetter(letter)) return drive.folder;
    return std::nullopt;
}

std::optional<std::string> GameFolders::Folder(std::string_view path, std::string_view base) const {
    // 1. The drive and the names below its root: a drive letter, a machine path inside an offered
    //    folder, a path from the root of the base's drive, or one relative to the base.
    char letter = IsDriveLetter(base) ? UpperLetter(base[0]) : 'C';
    std::vector<std::string> names;
    if (IsDriveLetter(path)) {
        letter = UpperLetter(path[0]);
        names = Names(path.substr(2));
    } else if (path.starts_with('/')) {
        bool found = false;
        for (const Drive& drive : drives_) {
            if (std::optional<std::string> rest = Below(path, drive.folder)) {
                letter = UpperLetter(drive.letter);
                names = Names(*rest);
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    } else if (path.starts_with('\\')) {
        names = Names(path);
    } else {
        names = Names(IsDriveLetter(base) ? base.substr(2) : std::string_view());
        for (std::string& name : Names(path)) names.push_back(std::move(name));
    }
    std::optional<std::string> root = RootOf(letter);
    if (!root) return std::nullopt;
    // 2. "." stays, ".." goes up but never above the root.
    std::vector<std::string> kept;
    for (std::string& name : names) {
        if (name == ".") continue;
        if (name == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(std::move(name));
    }
    // 3. Each name is found without regard to letter case and must be a folder; the canonical path
    //    spells each as the disk does.
    std::string canonical = std::string(1, letter) + ":\\";
    try {
        std::filesystem::path real(*root);
        for (const std::string& name : kept) {
            std::filesystem::path next = files_.Resolve((real / name).string());
            std::error_code error;
            if (!std::filesystem::is_directory(next, error)) return std::nullopt;
            real = next;
            canonical = platform::JoinPath(canonical, next.filename().string());
        }
        std::error_code error;
        if (!std::filesystem::is_directory(real, error)) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;  // a name the system cannot represent is no folder
    }
    return canonical;
}

std::optional<std::string> GameFolders::RealFolder(const std::string& folder) const {
    std::vector<std::string> parts = platform::PathParts(folder);
    if (parts.empty()) return std::nullopt;
    std::optional<std::string> root = RootOf(parts.front()[0]);
    if (!root) return std::nullopt;
    std::filesystem::path real(*root);
    for (size_t i = 1; i < parts.size(); ++i) real /= parts[i];
    return real.string();
}

std::vector<std::string> GameFolders::Subfolders(const std::string& folder) const {
    std::vector<std::string> names;
    std::optional<std::string> real = RealFolder(folder);
    if (!real) return names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(*real, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code kind;
        if (it->is_directory(kind)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::FoldCase(a) < platform::FoldCase(b);
    });
    return names;
}

std::vector<std::string> GameFolders::Files(const std::string& folder) const {
    std::optional<std::string> real = RealFolder(folder);
    return real ? files_.List(*real, "*") : std::vector<std::string>();
}

}  // namespace taviro::project
