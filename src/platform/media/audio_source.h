// A source of sound for the mixer: a decoded file, a MIDI tune or silence all look the same to it.
// Every source delivers interleaved stereo float samples at the mixer's rate.
#pragma once

#include <memory>
#include <string>

namespace taviro::platform::media {

// The mixer's format: what every source delivers and what the device is asked for.
inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Writes up to `frames` stereo frames to `out`; fewer than asked means the sound has ended.
    // Called on the audio thread only, never at the same time from two threads.
    virtual int Read(float* out, int frames) = 0;
    // Starts again from the beginning, for a sound that repeats; false when it cannot.
    virtual bool Rewind() = 0;
};

}  // namespace taviro::platform::media
