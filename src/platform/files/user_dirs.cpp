// Reading the XDG user directories.
#include "platform/files/user_dirs.h"

#include <cstdlib>
#include <fstream>

namespace taviro::platform {
namespace {

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The line of key in a user-dirs.dirs file: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::optional<std::string> UserDirsEntry(const std::string& file, std::string_view key,
                                         const std::string& home) {
    std::ifstream in(file);
    std::string line;
    std::optional<std::string> found;
    const std::string prefix = std::string(key) + "=";
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        std::string_view rest = std::string_view(line).substr(start);
        if (!rest.starts_with(prefix)) continue;
        rest.remove_prefix(prefix.size());
        while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t'))
            rest.remove_suffix(1);
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        std::string value(rest);
        if (value.starts_with("$HOME")) value = home + value.substr(5);
        // Only absolute paths are valid entries; the last valid line wins.
        if (value.starts_with("/")) found = value;
    }
    return found;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::string UserDirectory(const char* key, std::string_view fallbackName,
                          const EnvironmentLookup& environment) {
    // 1. The variable itself.
    if (auto direct = environment(key); direct && !direct->empty()) return WithoutTrailingSeparator(*direct);
    std::string home = environment("HOME").value_or("");
    // 2. The user-dirs.dirs file of the configuration folder.
    std::string config = environment("XDG_CONFIG_HOME").value_or("");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (!config.empty())
        if (auto entry = UserDirsEntry(config + "/user-dirs.dirs", key, home); entry && *entry != "/")
            return WithoutTrailingSeparator(*entry);
    // 3. The usual folder of the home.
    if (home.empty()) return "";
    return WithoutTrailingSeparator(home) + "/" + std::string(fallbackName);
}

std::string PicturesFolder(const EnvironmentLookup& environment) {
    return UserDirectory("XDG_PICTURES_DIR", "Pictures", environment);
}

}  // namespace taviro::platform
