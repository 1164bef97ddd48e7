// Sound files decoded by FFmpeg (WAV, MP3, WMA, OGG, MP2, AU, AIFF, and whatever else it knows),
// streamed: only a packet and a decoded frame are held at a time, whatever the file's length.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media/audio_source.h"

namespace taviro::platform::media {

// Opens a file by its content (its extension does not matter); nullptr with `error` set when it
// holds no sound that can be decoded.
std::unique_ptr<AudioSource> OpenDecodedFile(const std::string& path, std::string& error);

// Opens the sound of a file from `startMs` into it, played `rate` times as fast: resampled, so that
// its pitch follows the speed as a tape's would. nullptr with `error` set as above.
std::unique_ptr<AudioSource> OpenDecodedFileAt(const std::string& path, int64_t startMs, double rate,
                                               std::string& error);

}  // namespace taviro::platform::media
