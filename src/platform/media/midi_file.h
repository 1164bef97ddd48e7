// MIDI tunes (.mid, and .rmi, whose RIFF "data" chunk holds the tune) rendered by FluidSynth with one
// General MIDI soundfont, loaded once and shared by every tune.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/audio_source.h"

namespace taviro::platform::media {

// The soundfont every MIDI tune plays with. Loaded at the first tune; a tune plays silently (for
// its full length) when no soundfont can be loaded.
class SoundFontLibrary {
public:
    // The packaged General MIDI soundfont of the system.
    static constexpr const char* kDefaultPath = "/usr/share/sounds/sf2/default-GM.sf2";

    explicit SoundFontLibrary(std::string path = kDefaultPath) : path_(std::move(path)) {}
    ~SoundFontLibrary();
    SoundFontLibrary(const SoundFontLibrary&) = delete;
    SoundFontLibrary& operator=(const SoundFontLibrary&) = delete;

    // The loaded soundfont (a fluid_sfont_t), or nullptr when it cannot be loaded. Game thread.
    void* SoundFont();

private:
    std::string path_;
    bool tried_ = false;
    void* settings_ = nullptr;
    void* owner_ = nullptr;  // a synthesizer that only holds the soundfont
    void* soundFont_ = nullptr;
};

// True for names that FluidSynth plays: ".mid", ".midi", ".rmi", ".kar" in any letter case.
bool IsMidiFileName(const std::string& path);

// Opens a MIDI tune; nullptr with `error` set when the file is missing or is no MIDI tune.
std::unique_ptr<AudioSource> OpenMidiFile(const std::string& path, SoundFontLibrary& library,
                                          std::string& error);

// The standard MIDI data of a file: the file itself, or the "data" chunk of a RIFF MIDI file.
// Empty when the bytes hold neither.
std::vector<unsigned char> StandardMidiData(std::vector<unsigned char> bytes);

}  // namespace taviro::platform::media
