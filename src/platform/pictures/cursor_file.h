// What the header of a .cur or .ico file says that SDL_image does not tell: the kind of file and the
// hot spot of a cursor.
#pragma once

#include <optional>
#include <string_view>

#include "platform/controls/geometry.h"

namespace taviro::platform {

// The hot spot of the first image of a .cur file (its directory entry keeps it where an icon keeps
// planes and bit count), or nullopt when the bytes are not a cursor file.
std::optional<Point> CursorHotSpot(std::string_view fileBytes);

// True when the bytes start with an icon (type 1) or cursor (type 2) directory.
bool IsIconOrCursor(std::string_view fileBytes);

}  // namespace taviro::platform
