// One media player on a voice of the mixer, as games use it: setting a file name starts it, a play
// count of 0 repeats without end, the volume is in hundredths of a decibel and applies at once.
#pragma once

#include <cstdint>
#include <string>

#include "platform/media/audio_engine.h"

namespace taviro::platform::media {

class SoundPlayer {
public:
    // The play states games test: 2 playing, 0 stopped (or never given a file that plays).
    static constexpr int kStopped = 0;
    static constexpr int kPlaying = 2;

    SoundPlayer(AudioEngine& engine, int voice) : engine_(engine), voice_(voice) {}
    ~SoundPlayer() { Stop(); }
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops what plays and starts the file from its beginning. A file that is missing or cannot be
    // decoded leaves the player stopped with that name, and says so in the log. "" only stops.
    void SetFileName(const std::string& path);
    const std::string& fileName() const { return fileName_; }
    // 1 plays once; 0 repeats without end (and so does any other count but 1).
    void SetPlayCount(int count);
    int playCount() const { return playCount_; }
    void SetVolume(int volumeHundredthsDb);
    int volume() const { return volumeHundredthsDb_; }
    // Playing until the sound has ended or was stopped.
    int PlayState();
    // Starts the file again from its beginning unless it plays already.
    void Play();
    void Stop();
    // Position 0 starts the playing sound again from its beginning.
    void SetCurrentPosition(double seconds);
    // Seconds of the playing sound heard so far (since it last started again); 0 when not playing.
    double CurrentPosition();

private:
    void StartFile();

    AudioEngine& engine_;
    int voice_;
    std::string fileName_;
    int playCount_ = 1;
    int volumeHundredthsDb_ = 0;
    bool playing_ = false;
    uint64_t ticket_ = 0;
};

}  // namespace taviro::platform::media
