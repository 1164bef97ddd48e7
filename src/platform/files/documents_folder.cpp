// The documents folder of the XDG user directories.
#include "platform/files/documents_folder.h"

#include <cstdlib>
#include <fstream>

namespace taviro::platform {
namespace {

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The XDG_DOCUMENTS_DIR line of a user-dirs.dirs file: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::optional<std::string> UserDirsEntry(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    std::string line;
    std::optional<std::string> found;
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        std::string_view rest = std::string_view(line).substr(start);
        if (!rest.starts_with(kKey)) continue;
        rest.remove_prefix(kKey.size());
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

std::string DocumentsFolder(const EnvironmentLookup& environment) {
    // 1. The variable itself.
    if (auto direct = environment("XDG_DOCUMENTS_DIR"); direct && !direct->empty())
        return WithoutTrailingSeparator(*direct);
    std::string home = environment("HOME").value_or("");
    // 2. The user-dirs.dirs file of the configuration folder.
    std::string config = environment("XDG_CONFIG_HOME").value_or("");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (!config.empty())
        if (auto entry = UserDirsEntry(config + "/user-dirs.dirs", home); entry && *entry != "/")
            return WithoutTrailingSeparator(*entry);
    // 3. The usual folder of the home.
    if (home.empty()) return "";
    return WithoutTrailingSeparator(home) + "/Documents";
}

std::string DocumentsFolder() {
    return DocumentsFolder([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value) return std::nullopt;
        return std::string(value);
    });
}

}  // namespace taviro::platform
