// The sound channels without a sound device: players keep their file, play count, volume and state
// as the game sets them, so the game's decisions about music and sounds hold, but nothing is heard.
// Stands in for the mixer until the media players exist.
#pragma once

#include <array>

#include "frames/sound_system.h"

namespace taviro::frames {

class QuietPlayer : public MediaPlayer {
public:
    void SetFileName(const std::string& path) override { file_ = path; }
    std::string FileName() const override { return file_; }
    void SetPlayCount(int count) override { playCount_ = count; }
    void SetVolume(int volumeCentibels) override { volume_ = volumeCentibels; }
    PlayState GetPlayState() const override { return state_; }
    void Play() override { state_ = file_.empty() ? PlayState::Stopped : PlayState::Playing; }
    void Stop() override { state_ = PlayState::Stopped; }

    int playCount() const { return playCount_; }
    int volume() const { return volume_; }

private:
    std::string file_;
    int playCount_ = 1;
    int volume_ = 0;
    PlayState state_ = PlayState::Stopped;
};

class QuietSounds : public SoundSystem {
public:
    MediaPlayer& Player(int number) override;
    bool IsFilePlaying(const std::string& path) override;
    void StopAnyWavOrMP3() override;
    void SetChannelEntry(int entry, const ChannelEntry& channel) override;
    bool ApplyChannelRecord(int record, const ChannelEntry& channel) override;
    void SetFadeDuration(double seconds) override { fadeSeconds_ = seconds; }
    void PlaySoundChannels(project::FieldReader&) override {}
    void StartChannels() override {}
    void EnableFadeTimer() override {}
    void FadeStep(double) override {}

    const QuietPlayer& player(int number) const { return players_.at(static_cast<size_t>(number)); }

private:
    std::array<QuietPlayer, 8> players_;
    std::array<ChannelEntry, 8> channels_;
    double fadeSeconds_ = 0;
};

}  // namespace taviro::frames
