// Reading the icon directory of .ico and .cur files.
#include "platform/pictures/cursor_file.h"

#include <cstdint>

namespace taviro::platform {
namespace {

// The directory: reserved 0, type (1 icon, 2 cursor), count; then 16-byte entries.
constexpr size_t kHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;

uint16_t Word(std::string_view bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

std::optional<uint16_t> DirectoryType(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes + kEntryBytes) return std::nullopt;
    if (Word(bytes, 0) != 0 || Word(bytes, 4) == 0) return std::nullopt;
    uint16_t type = Word(bytes, 2);
    if (type != 1 && type != 2) return std::nullopt;
    return type;
}

}  // namespace

std::optional<Point> CursorHotSpot(std::string_view fileBytes) {
    if (DirectoryType(fileBytes) != 2) return std::nullopt;
    return Point{Word(fileBytes, kHeaderBytes + 4), Word(fileBytes, kHeaderBytes + 6)};
}

bool IsIconOrCursor(std::string_view fileBytes) { return DirectoryType(fileBytes).has_value(); }

}  // namespace taviro::platform
