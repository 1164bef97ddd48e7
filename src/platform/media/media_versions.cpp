// Versions as the loaded libraries report them, which may be newer than the headers built against.
#include "platform/media/media_versions.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#include <fluidsynth.h>

namespace taviro::platform::media {
namespace {

std::string Dotted(unsigned version) {
    return std::to_string(version >> 16) + "." + std::to_string((version >> 8) & 0xFF) + "." +
           std::to_string(version & 0xFF);
}

}  // namespace

std::vector<std::string> MediaLibraryVersions() {
    return {"FFmpeg (libavformat " + Dotted(avformat_version()) + ", libavcodec " +
                Dotted(avcodec_version()) + ")",
            std::string("FluidSynth ") + fluid_version_str()};
}

}  // namespace taviro::platform::media
