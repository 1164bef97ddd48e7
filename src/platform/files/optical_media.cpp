// Optical discs from the system's table of mounted file systems.
#include "platform/files/optical_media.h"

#include <fstream>
#include <sstream>

namespace taviro::platform {
namespace {

// The table writes blanks, tabs, line breaks and backslashes in names as three octal digits.
std::string Unescape(std::string_view field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                            field.substr(i + 1, 3).find_first_not_of("01234567") == std::string_view::npos;
        if (escape) {
            text += static_cast<char>(std::stoi(std::string(field.substr(i + 1, 3)), nullptr, 8) & 0xFF);
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

}  // namespace

std::vector<std::string> OpticalMountPoints(std::string_view mountsTable) {
    std::vector<std::string> points;
    std::istringstream lines{std::string(mountsTable)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (type == "iso9660" || type == "udf") points.push_back(Unescape(mountPoint));
    }
    return points;
}

std::vector<std::string> MountedOpticalMedia() {
#ifdef __linux__
    std::ifstream in("/proc/mounts");
    if (!in) return {};
    std::stringstream table;
    table << in.rdbuf();
    return OpticalMountPoints(table.str());
#else
    return {};
#endif
}

}  // namespace taviro::platform
