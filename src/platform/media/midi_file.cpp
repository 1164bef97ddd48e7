// One synthesizer and one sequencer per tune, all sharing the soundfont of the library. A tune ends
// exactly at its last event by its tempo map: the sequencer's tick reaching the tune's last tick.
#include "platform/media/midi_file.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/log.h"

namespace taviro::platform::media {
namespace {

// Tunes larger than this are refused rather than read into memory.
constexpr size_t kMaxMidiBytes = 64 * 1024 * 1024;
// The synthesizer renders in small steps so that the end is found within a step.
constexpr int kRenderStepFrames = 64;
// The default gain of FluidSynth is very quiet beside decoded sounds.
constexpr double kSynthGain = 1.0;

void SilenceFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

fluid_settings_t* NewSettings() {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kMixRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid_settings_setint(settings, "synth.polyphony", 64);
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    return settings;
}

uint32_t LittleEndian32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

class MidiTune : public AudioSource {
public:
    MidiTune(std::vector<unsigned char> data, fluid_sfont_t* soundFont)
        : data_(std::move(data)), soundFont_(soundFont) {}

    ~MidiTune() override {
        if (player_) delete_fluid_player(player_);
        // The shared soundfont leaves the synthesizer before it goes, so that it is not freed with it.
        if (synth_ && soundFont_) fluid_synth_remove_sfont(synth_, soundFont_);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    bool Open() {
        settings_ = NewSettings();
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return false;
        if (soundFont_) fluid_synth_add_sfont(synth_, soundFont_);
        return StartPlayer();
    }

    int Read(float* out, int frames) override {
        int written = 0;
        while (written < frames && !ended_) {
            int step = std::min(kRenderStepFrames, frames - written);
            float* at = out + written * kMixChannels;
            fluid_synth_write_float(synth_, step, at, 0, kMixChannels, at, 1, kMixChannels);
            written += step;
            int total = fluid_player_get_total_ticks(player_);
            if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
                fluid_player_get_current_tick(player_) >= total)
                ended_ = true;
        }
        return written;
    }

    bool Rewind() override {
        delete_fluid_player(player_);
        player_ = nullptr;
        fluid_synth_all_sounds_off(synth_, -1);
        fluid_synth_system_reset(synth_);
        return StartPlayer();
    }

private:
    bool StartPlayer() {
        ended_ = false;
        player_ = new_fluid_player(synth_);
        if (!player_) return false;
        if (fluid_player_add_mem(player_, data_.data(), data_.size()) != FLUID_OK) return false;
        return fluid_player_play(player_) == FLUID_OK;
    }

    std::vector<unsigned char> data_;
    fluid_sfont_t* soundFont_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    bool ended_ = false;
};

}  // namespace

SoundFontLibrary::~SoundFontLibrary() {
    if (owner_) delete_fluid_synth(static_cast<fluid_synth_t*>(owner_));
    if (settings_) delete_fluid_settings(static_cast<fluid_settings_t*>(settings_));
}

void* SoundFontLibrary::SoundFont() {
    if (tried_) return soundFont_;
    tried_ = true;
    SilenceFluidSynth();
    auto* settings = NewSettings();
    settings_ = settings;
    auto* owner = new_fluid_synth(settings);
    owner_ = owner;
    if (!owner) return nullptr;
    int id = fluid_synth_sfload(owner, path_.c_str(), 1);
    if (id == FLUID_FAILED) {
        log::Error("The soundfont " + path_ + " cannot be loaded: MIDI tunes play silently.");
        return nullptr;
    }
    soundFont_ = fluid_synth_get_sfont_by_id(owner, id);
    return soundFont_;
}

bool IsMidiFileName(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "mid" || extension == "midi" || extension == "rmi" || extension == "kar";
}

std::vector<unsigned char> StandardMidiData(std::vector<unsigned char> bytes) {
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "MThd", 4) == 0) return bytes;
    // A RIFF MIDI file: "RIFF", size, "RMID", then chunks of id, size and data padded to even.
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "RMID", 4) != 0)
        return {};
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        uint32_t size = LittleEndian32(bytes.data() + at + 4);
        size_t start = at + 8;
        if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            size_t end = std::min(bytes.size(), start + size);
            if (end - start < 4 || std::memcmp(bytes.data() + start, "MThd", 4) != 0) return {};
            return std::vector<unsigned char>(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(end));
        }
        if (size > bytes.size() - start) break;
        at = start + size + (size & 1);
    }
    return {};
}

std::unique_ptr<AudioSource> OpenMidiFile(const std::string& path, SoundFontLibrary& library,
                                          std::string& error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot be read";
        return nullptr;
    }
    auto size = static_cast<size_t>(std::max<std::streamoff>(0, in.tellg()));
    if (size > kMaxMidiBytes) {
        error = "too large for a MIDI tune";
        return nullptr;
    }
    in.seekg(0);
    std::vector<unsigned char> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    std::vector<unsigned char> data = StandardMidiData(std::move(bytes));
    if (data.empty()) {
        error = "not a MIDI tune";
        return nullptr;
    }
    SilenceFluidSynth();
    auto tune = std::make_unique<MidiTune>(std::move(data), static_cast<fluid_sfont_t*>(library.SoundFont()));
    if (!tune->Open()) {
        error = "not a MIDI tune";
        return nullptr;
    }
    return tune;
}

}  // namespace taviro::platform::media
