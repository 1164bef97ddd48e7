// Where a screenshot of the game goes: a new PNG file named after the game and the time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taviro::platform {

// A path in folder that no file holds yet: "<title> <YYYY-MM-DD HH-MM-SS>.png", then " 2", " 3", ...
// for shots of the same second. localTimeMs: milliseconds since 1 January 1970, local time. Letters
// a file name cannot hold ("/", control characters) become "_"; an empty title is "Taviro".
std::string NewScreenshotPath(const std::string& folder, std::string_view title, int64_t localTimeMs);

}  // namespace taviro::platform
