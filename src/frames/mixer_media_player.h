// A sound player of the game on a voice of the player's mixer.
#pragma once

#include "frames/media_player.h"
#include "platform/files/file_system.h"
#include "platform/media/sound_player.h"

namespace taviro::frames {

class MixerMediaPlayer : public MediaPlayer {
public:
    // The file names the game gives are found through `files` (any letter case, backslashes).
    MixerMediaPlayer(platform::media::AudioEngine& engine, platform::FileSystem& files, int voice)
        : files_(files), player_(std::make_unique<platform::media::SoundPlayer>(engine, voice)) {}

    void SetFileName(const std::string& path) override;
    std::string FileName() const override { return fileName_; }
    void SetPlayCount(int count) override { player_->SetPlayCount(count); }
    int PlayCount() const override { return player_->playCount(); }
    void SetVolume(int volumeHundredthsDb) override { player_->SetVolume(volumeHundredthsDb); }
    int Volume() const override { return player_->volume(); }
    PlayState GetPlayState() const override;
    void Play() override { player_->Play(); }
    void Stop() override { player_->Stop(); }
    double CurrentPosition() const override { return player_->CurrentPosition(); }
    void SetCurrentPosition(double seconds) override { player_->SetCurrentPosition(seconds); }

private:
    platform::FileSystem& files_;
    std::string fileName_;  // as the game gave it
    std::unique_ptr<platform::media::SoundPlayer> player_;
};

}  // namespace taviro::frames
