// A player's state lives here on the game thread; the mixer only tells when a sound has ended.
#include "platform/media/sound_player.h"

#include "platform/log.h"

namespace taviro::platform::media {

void SoundPlayer::SetFileName(const std::string& path) {
    Stop();
    fileName_ = path;
    if (!path.empty()) StartFile();
}

void SoundPlayer::StartFile() {
    std::string error;
    std::unique_ptr<AudioSource> source = engine_.Open(fileName_, error);
    if (!source) {
        log::Error("The sound " + fileName_ + " cannot be played: " + error);
        return;
    }
    ticket_ = engine_.NextTicket();
    engine_.mixer().Start(voice_, std::move(source), playCount_ != 1, volumeHundredthsDb_, ticket_);
    playing_ = true;
}

void SoundPlayer::SetPlayCount(int count) {
    playCount_ = count;
    if (playing_) engine_.mixer().SetRepeat(voice_, count != 1);
}

void SoundPlayer::SetVolume(int volumeHundredthsDb) {
    volumeHundredthsDb_ = volumeHundredthsDb;
    if (playing_) engine_.mixer().SetVolume(voice_, volumeHundredthsDb);
}

int SoundPlayer::PlayState() {
    if (playing_) {
        engine_.Pump();
        if (engine_.mixer().Finished(voice_) == ticket_) playing_ = false;
    }
    return playing_ ? kPlaying : kStopped;
}

void SoundPlayer::Play() {
    if (PlayState() == kPlaying || fileName_.empty()) return;
    StartFile();
}

void SoundPlayer::Stop() {
    if (!playing_) return;
    engine_.mixer().Stop(voice_);
    playing_ = false;
}

double SoundPlayer::CurrentPosition() {
    // A start the mixer has not taken yet has played nothing.
    if (PlayState() != kPlaying || engine_.mixer().FirstMixed(voice_) != ticket_) return 0;
    return static_cast<double>(engine_.mixer().PlayedFrames(voice_)) / kMixRate;
}

void SoundPlayer::SetCurrentPosition(double seconds) {
    if (seconds == 0 && playing_) engine_.mixer().Rewind(voice_);
}

}  // namespace taviro::platform::media
