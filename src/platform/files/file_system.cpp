// Case-insensitive resolution, one path component at a time, with cached directory listings.
#include "platform/files/file_system.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <system_error>

namespace taviro::platform {
namespace fs = std::filesystem;

std::string FoldCase(std::string_view utf8) {
    std::string folded(utf8);
    for (size_t i = 0; i < folded.size(); ++i) {
        auto c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < folded.size()) {
            // U+00C0..U+00DE (but not U+00D7, the multiplication sign) are the Latin-1 capitals.
            auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return folded;
}

namespace {

bool MatchFolded(std::string_view name, std::string_view pattern) {
    // Classic wildcard match with one backtracking point for the last "*".
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string NativeSeparators(std::string_view path) {
    std::string native(path);
    if constexpr (fs::path::preferred_separator == '/') std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    return MatchFolded(FoldCase(name), FoldCase(pattern));
}

const FileSystem::Listing& FileSystem::ListingOf(const fs::path& folder, bool refresh) {
    auto [it, inserted] = listings_.try_emplace(folder.string());
    Listing& listing = it->second;
    std::error_code error;
    if (!inserted && !refresh) return listing;
    fs::file_time_type modified = fs::last_write_time(folder, error);
    if (error) modified = fs::file_time_type::min();
    // A folder changed in the same clock tick as the listing keeps its time stamp, so a listing
    // taken within a moment of the last change is never trusted on refresh.
    bool recent =
        !error && listing.listedAt > modified && listing.listedAt - modified < std::chrono::seconds(2);
    if (!inserted && modified == listing.modified && !recent) return listing;
    listing = Listing{};
    listing.modified = modified;
    listing.listedAt = fs::file_time_type::clock::now();
    for (fs::directory_iterator entries(folder, error), end; !error && entries != end;
         entries.increment(error)) {
        listing.names.push_back(entries->path().filename().string());
    }
    std::sort(listing.names.begin(), listing.names.end());
    for (const std::string& name : listing.names) listing.byFoldedName.try_emplace(FoldCase(name), name);
    return listing;
}

std::optional<std::string> FileSystem::FindEntry(const fs::path& folder, const std::string& name) {
    for (bool refresh : {false, true}) {
        const Listing& listing = ListingOf(folder, refresh);
        if (std::binary_search(listing.names.begin(), listing.names.end(), name)) return name;
        auto found = listing.byFoldedName.find(FoldCase(name));
        if (found != listing.byFoldedName.end()) return found->second;
    }
    return std::nullopt;
}

fs::path FileSystem::Resolve(std::string_view path) {
    fs::path written(NativeSeparators(path));
    fs::path real = written.root_path();
    bool matching = true;
    for (const fs::path& component : written.relative_path()) {
        std::string name = component.string();
        if (name.empty() || name == "." || name == "..") {
            real /= component;
            continue;
        }
        if (matching) {
            std::optional<std::string> found = FindEntry(real.empty() ? fs::path(".") : real, name);
            if (found) {
                real /= *found;
                continue;
            }
            matching = false;
        }
        real /= component;
    }
    return real;
}

template <typename Test>
bool FileSystem::Holds(std::string_view path, Test test) noexcept {
    try {
        std::error_code error;
        return !path.empty() && test(Resolve(path), error);
    } catch (...) {
        return false;  // a path the system cannot even represent is a missing file
    }
}

bool FileSystem::Exists(std::string_view path) noexcept {
    return Holds(path, [](const fs::path& real, std::error_code& error) { return fs::exists(real, error); });
}

bool FileSystem::IsFile(std::string_view path) noexcept {
    return Holds(
        path, [](const fs::path& real, std::error_code& error) { return fs::is_regular_file(real, error); });
}

std::vector<std::string> FileSystem::List(std::string_view folder, std::string_view pattern) {
    fs::path real = Resolve(folder);
    std::string foldedPattern = FoldCase(pattern);
    std::vector<std::string> matches;
    for (const std::string& name : ListingOf(real, true).names) {
        std::error_code error;
        if (MatchFolded(FoldCase(name), foldedPattern) && fs::is_regular_file(real / name, error)) {
            matches.push_back(name);
        }
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const std::string& a, const std::string& b) { return FoldCase(a) < FoldCase(b); });
    return matches;
}

std::optional<std::string> FileSystem::ReadFile(std::string_view path, uintmax_t largestBytes) noexcept {
    if (path.empty()) return std::nullopt;
    try {
        // A folder, a link that leads nowhere or to itself, a device or a pipe is a file that cannot
        // be read: only regular files are opened (a pipe would block the game for ever).
        fs::path real = Resolve(path);
        std::error_code error;
        if (!fs::is_regular_file(real, error)) return std::nullopt;
        uintmax_t size = fs::file_size(real, error);
        if (error || size > largestBytes) return std::nullopt;
        std::ifstream in(real, std::ios::binary);
        if (!in) return std::nullopt;
        // istream::read turns a failing read of the system into badbit; reading through the stream
        // buffer directly would let the library's exception out. The size is only a hint: files of
        // the system may say 0 and hold more, and a file may grow while it is read.
        std::string content;
        content.reserve(static_cast<size_t>(size));
        char buffer[1 << 16];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            content.append(buffer, static_cast<size_t>(in.gcount()));
            if (content.size() > largestBytes) return std::nullopt;
        }
        if (in.bad()) return std::nullopt;
        return content;
    } catch (const std::exception&) {
        return std::nullopt;  // a file too large for memory cannot be read either
    }
}

bool FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
    if (path.empty()) return false;
    fs::path real = Resolve(path);
    std::error_code error;
    if (real.has_parent_path()) fs::create_directories(real.parent_path(), error);
    std::ofstream out(real, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

fs::path ProgramFolder() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path(error);
    return self.parent_path();
}

}  // namespace taviro::platform
