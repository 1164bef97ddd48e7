// A video player as the game and its scripts use it: a file, play, pause and stop, a position, a
// rate and a play count, with its pictures drawn into a picture box of the scene on the game clock.
// Its sound, when it is given a voice of the mixer, plays on that voice.
#pragma once

#include <memory>
#include <string>

#include "frames/media_player.h"
#include "platform/controls/control_kinds.h"
#include "platform/events/timer.h"
#include "platform/files/file_system.h"

namespace taviro::platform::media {
class AudioEngine;
class VideoDecoder;
}  // namespace taviro::platform::media

namespace taviro::frames {

class VideoPlayer {
public:
    // Pictures follow the clock of `timers`; the sound plays on `voice` of `audio` (none when null).
    // The file names the game gives are found through `files` (any letter case, backslashes).
    VideoPlayer(platform::TimerQueue& timers, platform::FileSystem& files,
                platform::media::AudioEngine* audio = nullptr, int voice = 0);
    ~VideoPlayer();
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    // The picture box the pictures are drawn into, at its size; nullptr draws nothing. The owner
    // clears it before the box goes.
    void SetDisplay(platform::PictureBox* display);
    platform::PictureBox* display() const { return display_; }

    // Stops what plays and opens the file (a full path as the game names it); starts it when AutoStart is on.
    // Throws GameError when the file is missing or holds no video that can be played; the player is then
    // stopped with that name and no picture.
    void SetFileName(const std::string& path);
    const std::string& fileName() const { return fileName_; }

    bool autoStart = true;
    // At its end a video goes back to its first picture.
    bool autoRewind = true;
    // A click on the picture pauses the video, and another resumes it.
    bool clickToPlay = true;

    // Playback speed, 1 = normal; 0 or less counts as 1.
    void SetRate(double rate);
    double rate() const { return rate_; }
    // 1 plays once; 0 repeats without end; n plays n times.
    void SetPlayCount(int count) { playCount_ = count; }
    int playCount() const { return playCount_; }
    // Hundredths of a decibel, 0 = full volume.
    void SetVolume(int volumeHundredthsDb);
    int volume() const { return volume_; }
    void SetMute(bool mute);
    bool mute() const { return mute_; }

    // The video's own size in pixels; 0 without a file that plays.
    int ImageSourceWidth() const;
    int ImageSourceHeight() const;
    // The length in seconds, once known (the file's own figure before the end was reached); 0 without one.
    double Duration() const;

    // Playing, paused, or stopped (also ended and never started).
    PlayState GetPlayState();
    // Starts from the current position, or resumes a paused video; nothing while it plays.
    void Play();
    void Pause();
    // Stops and goes back to the start.
    void Stop();
    // Seconds from the start of the video.
    double CurrentPosition();
    void SetCurrentPosition(double seconds);

    // Brings the state and the picture up to the clock. Called by the player's own timer while it plays.
    void Advance();
    // Pauses or resumes on a click on the picture when ClickToPlay is on.
    void ClickOnPicture();

private:
    int64_t PositionMs() const;
    // Starts the pictures and the sound from a position of the video.
    void StartAt(int64_t positionMs);
    void Halt(int64_t positionMs);
    void OpenDecoder();
    // Opens the sound at a position of the video, at the video's rate (none at rates without sound).
    void StartSound(int64_t positionMs);
    void StopSound();
    int SoundVolume() const;

    platform::TimerQueue& timers_;
    platform::FileSystem& files_;
    platform::Timer timer_;
    platform::media::AudioEngine* audio_;
    int voice_;
    bool sounding_ = false;
    platform::PictureBox* display_ = nullptr;
    std::unique_ptr<platform::media::VideoDecoder> decoder_;
    bool decoderUsed_ = false;
    std::string fileName_;
    std::string realPath_;
    bool seekPending_ = false;  // paused, then moved: Play starts the pictures again from there
    double rate_ = 1;
    int playCount_ = 1;
    int playsDone_ = 0;
    int volume_ = 0;
    bool mute_ = false;
    PlayState state_ = PlayState::Stopped;
    int64_t heldPositionMs_ = 0;   // the position while not playing
    int64_t startPositionMs_ = 0;  // while playing: the position at startedAtMs_
    int64_t startedAtMs_ = 0;
    int64_t knownEndMs_ = 0;  // the end of the pictures, once a decoder has reached it
};

}  // namespace taviro::frames
