// The game's names of files become real paths; the play state comes from the mixer.
#include "frames/mixer_media_player.h"

namespace taviro::frames {

void MixerMediaPlayer::SetFileName(const std::string& path) {
    fileName_ = path;
    player_->SetFileName(path.empty() ? std::string() : files_.Resolve(path).string());
}

PlayState MixerMediaPlayer::GetPlayState() const {
    return player_->PlayState() == platform::media::SoundPlayer::kPlaying ? PlayState::Playing
                                                                          : PlayState::Stopped;
}

}  // namespace taviro::frames
