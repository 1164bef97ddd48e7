// A media player as the game uses it: sounds, music and videos are played by such players, which
// the platform provides. Volumes are hundredths of a decibel, 0 = full volume.
#pragma once

#include <string>

namespace taviro::frames {

// The play states the game tests.
enum class PlayState { Stopped = 0, Paused = 1, Playing = 2 };

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Setting a file starts it when the player starts by itself (sound players do).
    virtual void SetFileName(const std::string& path) = 0;
    virtual std::string FileName() const = 0;
    // 1 = play once, 0 = repeat without end.
    virtual void SetPlayCount(int count) = 0;
    virtual int PlayCount() const = 0;
    // Hundredths of a decibel: 0 is full volume, -4000 is -40 dB. Applies at once, also while playing.
    virtual void SetVolume(int volumeHundredthsDb) = 0;
    virtual int Volume() const = 0;
    virtual PlayState GetPlayState() const = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // Seconds from the start of the playing sound, 0 when none plays; setting 0 starts it again.
    virtual double CurrentPosition() const = 0;
    virtual void SetCurrentPosition(double seconds) = 0;
};

// The volume of a sound level of 0..10: (level - 10) x 400 hundredths of a decibel, rounded.
int VolumeToPlayerUnits(double level);

}  // namespace taviro::frames
