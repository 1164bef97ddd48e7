// The sound of the player: the mixer, the device it plays on, and the soundfont of MIDI tunes.
// With no device (headless play, or none on the machine, or one that went away) the mixer renders
// into nothing at the pace of the game clock, so that sounds still end when their length is over:
// on the virtual clock at the same time in every run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/media/midi_file.h"
#include "platform/media/mixer.h"

namespace taviro::platform::media {

class AudioEngine {
public:
    // useDevice: open the audio device (false in headless play). An empty soundfont path takes the
    // system's General MIDI soundfont.
    AudioEngine(const Clock& clock, bool useDevice, const std::string& soundFontPath = {});
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // The mixer, also for pausing and resuming every sound at once.
    Mixer& mixer() { return mixer_; }

    // Opens a sound file: MIDI tunes by their name, everything else by FFmpeg. nullptr with `error`
    // set when it cannot be played.
    std::unique_ptr<AudioSource> Open(const std::string& path, std::string& error);

    // Brings the sound up to the clock. Game thread; cheap with a device.
    void Pump();

    // The player's mute: every sound plays on, silently, and the game sees no difference.
    void SetMuted(bool muted) {
        muted_ = muted;
        mixer_.SetMuted(muted);
    }
    bool muted() const { return muted_; }

    // A new ticket for a start on the mixer.
    uint64_t NextTicket() { return ++lastTicket_; }
    uint64_t lastTicket() const { return lastTicket_; }
    // False when the mixer renders on the clock instead (no device, or it went away).
    bool hasDevice() const { return device_ != 0; }

    // For an engine made without a device: sounds wait, unplayed, for OpenDevice, which the player
    // calls once its first window is on screen so that opening the device does not delay it.
    void AwaitDevice() { awaitingDevice_ = true; }
    // Opens the audio device if none is open; without one the sounds go on at the clock's pace from now.
    void OpenDevice();

private:
    void CloseDevice();
    void RenderToClock();

    const Clock& clock_;
    // Before the mixer, so that it outlives the tunes in the mixer's voices that share its soundfont.
    SoundFontLibrary soundFonts_;
    Mixer mixer_;
    uint32_t device_ = 0;
    bool awaitingDevice_ = false;
    // Without a device: the clock time the rendering started from, and how much has been rendered.
    int64_t renderStartMs_ = 0;
    int64_t renderedFrames_ = 0;
    std::vector<float> buffer_;
    uint64_t lastTicket_ = 0;
    bool muted_ = false;
};

}  // namespace taviro::platform::media
