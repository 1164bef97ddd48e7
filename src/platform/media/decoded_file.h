// Sound files decoded by FFmpeg (WAV, MP3, WMA, OGG, MP2, AU, AIFF, and whatever else it knows),
// streamed: only a packet and a decoded frame are held at a time, whatever the file's length.
#pragma once

#include <memory>
#include <string>

#include "platform/media/audio_source.h"

namespace taviro::platform::media {

// Opens a file by its content (its extension does not matter); nullptr with `error` set when it
// holds no sound that can be decoded.
std::unique_ptr<AudioSource> OpenDecodedFile(const std::string& path, std::string& error);

}  // namespace taviro::platform::media
