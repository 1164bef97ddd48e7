// Fuzz target: any bytes as a sound file, opened as a MIDI tune and by FFmpeg, and played for up to
// ten seconds. Nothing may crash or hang, whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/log.h"
#include "platform/media/decoded_file.h"
#include "platform/media/midi_file.h"

namespace {

using namespace taviro::platform::media;

constexpr int kMostFrames = kMixRate * 10;

void Play(AudioSource& source) {
    std::vector<float> buffer(4096 * kMixChannels);
    for (int frames = 0; frames < kMostFrames;) {
        int read = source.Read(buffer.data(), 4096);
        frames += read;
        if (read < 4096) break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("taviro-sound-fuzz-" + std::to_string(std::random_device{}())))
                                        .string();
    // No soundfont: tunes are timed and played silently, which is all that matters here.
    static SoundFontLibrary library("/nonexistent/soundfont.sf2");
    taviro::platform::log::SetQuiet(true);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string error;
    if (auto tune = OpenMidiFile(path, library, error)) Play(*tune);
    if (auto sound = OpenDecodedFile(path, error)) {
        Play(*sound);
        if (sound->Rewind()) Play(*sound);
    }
    std::filesystem::remove(path);
    return 0;
}
