// The one mixer: thirteen voices, one per media player (the eight sound players, the one-time video and
// four for media players that scripts add as components), each with a source, a volume in hundredths of
// a decibel and a repeat flag, summed into the stereo stream the audio device (or the clock, when there
// is no device) asks for. The game thread sends commands; the audio thread renders. The audio thread
// never waits for the game thread: it takes new commands only when the lock is free at once.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/media/audio_source.h"

namespace taviro::platform::media {

class Mixer {
public:
    static constexpr int kVoices = 13;
    // Volume changes reach their new level over this many frames, so that a jump makes no click.
    static constexpr int kRampFrames = kMixRate / 200;

    Mixer();
    ~Mixer();

    // Game thread. Starts a source on a voice from its beginning, replacing what the voice played.
    // `ticket` names this start: Finished(voice) returns it once the source has ended.
    void Start(int voice, std::unique_ptr<AudioSource> source, bool repeat, int volumeHundredthsDb,
               uint64_t ticket);
    // Ends the voice's sound; one that has sounded fades out over a ramp.
    void Stop(int voice);
    // Hundredths of a decibel: 0 is unity. A voice that has not sounded yet takes it without a ramp.
    void SetVolume(int voice, int volumeHundredthsDb);
    // A repeating voice starts its source again at its end instead of ending.
    void SetRepeat(int voice, bool repeat);
    // Makes the voice's source start again from its beginning.
    void Rewind(int voice);
    // Silences everything at once without losing any state (the player's mute).
    void SetMuted(bool muted);
    // The player's own volumes on top of the game's: one for music (sounds that repeat), one for the
    // rest (sounds played once).
    void SetUserVolumes(double musicGain, double soundGain);
    // While paused nothing advances: every sound takes up again where it stopped.
    void SetPaused(bool paused);
    bool paused() const { return paused_.load(); }

    // The ticket of the last start on the voice whose source has ended (0 before any).
    uint64_t Finished(int voice) const { return finished_[static_cast<size_t>(voice)].load(); }

    // The ticket of the last start on the voice that has handed its first samples to the output.
    uint64_t FirstMixed(int voice) const { return firstMixed_[static_cast<size_t>(voice)].load(); }

    // The frames of the voice's sound handed to the output since it started, or started again (by
    // Rewind or by repeating).
    int64_t PlayedFrames(int voice) const { return playedFrames_[static_cast<size_t>(voice)].load(); }

    // Audio thread (or the game thread when there is no device). Writes `frames` stereo frames.
    void Render(float* out, int frames);

    // Game thread: frees the sources the audio thread has let go of.
    void CollectRetired();

    // The gain of a volume in hundredths of a decibel: 0 is unity, -4000 is -40 dB.
    static float GainOf(int volumeHundredthsDb);

private:
    struct Command {
        enum class Kind { Start, Stop, Volume, Repeat, Rewind, Muted, UserVolumes };
        Kind kind = Kind::Stop;
        int voice = 0;
        std::unique_ptr<AudioSource> source;
        bool flag = false;
        int volume = 0;
        uint64_t ticket = 0;
        double musicGain = 1, soundGain = 1;
    };
    struct Voice {
        std::unique_ptr<AudioSource> source;
        bool repeat = false;
        float targetGain = 1;
        float gain = 1;
        bool fresh = true;  // no frame rendered yet: a volume set now applies without a ramp
        uint64_t ticket = 0;
        // A sound stopped or replaced while it sounded fades out over a ramp instead of cutting off.
        std::unique_ptr<AudioSource> tail;
        float tailGain = 0;
        float tailScale = 1;
    };

    static Command MakeCommand(Command::Kind kind, int voice = 0);
    void Send(Command command);
    void Apply(Command& command);
    void Retire(std::unique_ptr<AudioSource> source);
    // Takes the voice's source off it: to the tail when it has sounded, else away at once.
    void Release(Voice& voice);
    void MixTail(Voice& voice, float* out, int frames);
    void MixVoice(int index, float* out, int frames);

    std::mutex commandsLock_;
    std::vector<Command> commands_;                            // guarded by commandsLock_
    std::vector<std::unique_ptr<AudioSource>> retiredShared_;  // guarded by commandsLock_
    // Audio thread only.
    std::vector<Command> applying_;
    std::vector<std::unique_ptr<AudioSource>> retired_;
    std::array<Voice, kVoices> voices_;
    std::vector<float> scratch_;
    bool muted_ = false;
    float musicGain_ = 1, soundGain_ = 1;
    std::array<std::atomic<uint64_t>, kVoices> finished_{};
    std::array<std::atomic<uint64_t>, kVoices> firstMixed_{};
    std::array<std::atomic<int64_t>, kVoices> playedFrames_{};
    std::atomic<bool> paused_ = false;
};

}  // namespace taviro::platform::media
