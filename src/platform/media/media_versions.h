// The versions of the sound libraries in use, for --version.
#pragma once

#include <string>
#include <vector>

namespace taviro::platform::media {

// "FFmpeg (libavformat 59.27.100, libavcodec 59.37.100)", "FluidSynth 2.3.1": as linked at run time.
std::vector<std::string> MediaLibraryVersions();

}  // namespace taviro::platform::media
