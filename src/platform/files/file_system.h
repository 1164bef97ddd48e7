// Access to game files on a case-sensitive file system. Game data names files with any mix of
// letter case and with backslashes; every path the player opens goes through here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace taviro::platform {

class FileSystem {
public:
    // The real path for a path as the game writes it: backslashes become the native separator and
    // each component is matched against the real directory entries without regard to letter case.
    // Components that match nothing keep the spelling they were given.
    std::filesystem::path Resolve(std::string_view path);

    // True when a file or folder exists at the path. Never throws: a path the system rejects is missing.
    bool Exists(std::string_view path) noexcept;
    bool IsFile(std::string_view path) noexcept;

    // Names of the regular files in a folder that match a pattern such as "*.fme" ("*" and "?",
    // letter case ignored), sorted without regard to case. A missing folder gives an empty list.
    std::vector<std::string> List(std::string_view folder, std::string_view pattern);

    // The whole content of a file, or nullopt when it cannot be read: missing, a folder, a broken or
    // looping link, not a regular file, unreadable, failing while read, or larger than largestBytes.
    // Never throws.
    std::optional<std::string> ReadFile(std::string_view path, uintmax_t largestBytes = UINTMAX_MAX) noexcept;

    // Creates or replaces a file (and the folders above it); false when it cannot be written.
    bool WriteFile(std::string_view path, std::string_view bytes);

    // Drops every cached directory listing.
    void Forget() { listings_.clear(); }

private:
    struct Listing {
        std::vector<std::string> names;
        std::unordered_map<std::string, std::string> byFoldedName;  // first spelling wins
        std::filesystem::file_time_type modified;
        std::filesystem::file_time_type listedAt;
    };

    // The cached listing of a folder. With refresh, a listing older than the folder is read again:
    // files may appear behind the player's back, and a name that is not found must not be missed.
    const Listing& ListingOf(const std::filesystem::path& folder, bool refresh = false);
    // Applies a test to the resolved path; false for an empty or unusable path.
    template <typename Test>
    bool Holds(std::string_view path, Test test) noexcept;
    // The real name of an entry of the folder: the same spelling first, then any letter case.
    std::optional<std::string> FindEntry(const std::filesystem::path& folder, const std::string& name);

    std::unordered_map<std::string, Listing> listings_;
};

// Letter case folded for comparisons of names: ASCII and the Latin-1 letters of UTF-8 text.
std::string FoldCase(std::string_view utf8);

// True when a name matches a pattern of "*" and "?" without regard to letter case.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The folder that holds the running program.
std::filesystem::path ProgramFolder();

}  // namespace taviro::platform
