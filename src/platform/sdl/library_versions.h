// The libraries the player runs on, with their versions, for --version.
#pragma once

#include <string>
#include <vector>

namespace taviro::platform {

// "SDL 2.26.5", "SDL_image 2.6.3", ..., the sound libraries, "Dear ImGui 1.86": as linked at run time
// where the library can tell.
std::vector<std::string> LibraryVersions();

}  // namespace taviro::platform
