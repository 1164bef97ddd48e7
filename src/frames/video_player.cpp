// The player keeps its state on the game thread; the decoder only hands it pictures. The position
// of a playing video is worked out from the clock, so it is exact on the virtual clock.
#include "frames/video_player.h"

#include <algorithm>
#include <cmath>

#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/media/audio_engine.h"
#include "platform/media/decoded_file.h"
#include "platform/media/video_decoder.h"

namespace taviro::frames {
namespace {

// The volume that silences a muted video.
constexpr int kSilent = -10000;
// The rates at which a video's sound plays, resampled: beyond them it would be a drone or a
// squeak rather than speech or music, and the video plays silently.
constexpr double kSlowestSoundRate = 0.5;
constexpr double kFastestSoundRate = 2;

}  // namespace

VideoPlayer::VideoPlayer(platform::TimerQueue& timers, platform::FileSystem& files,
                         platform::media::AudioEngine* audio, int voice)
    : timers_(timers), files_(files), timer_(timers, [this] { Advance(); }), audio_(audio), voice_(voice) {}

VideoPlayer::~VideoPlayer() { StopSound(); }

void VideoPlayer::SetDisplay(platform::PictureBox* display) { display_ = display; }

void VideoPlayer::OpenDecoder() {
    std::string error;
    realPath_ = files_.Resolve(fileName_).string();
    decoder_ = platform::media::VideoDecoder::Open(realPath_, error);
    decoderUsed_ = false;
    if (!decoder_) throw GameError(321, "Invalid file format: " + error);
}

void VideoPlayer::SetFileName(const std::string& path) {
    Stop();
    fileName_ = path;
    decoder_.reset();
    if (display_) display_->canvas().Clear();
    knownEndMs_ = 0;
    if (path.empty()) return;
    OpenDecoder();
    if (autoStart) Play();
}

void VideoPlayer::SetRate(double rate) {
    int64_t position = PositionMs();
    rate_ = std::isfinite(rate) && rate > 0 ? std::min(rate, 100.0) : 1.0;
    if (state_ != PlayState::Playing) return;
    // The position goes on from where it is at the new speed.
    startPositionMs_ = position;
    startedAtMs_ = timers_.clock().NowMs();
    StopSound();
    StartSound(position);
}

int VideoPlayer::SoundVolume() const { return mute_ ? kSilent : volume_; }

void VideoPlayer::SetVolume(int volumeHundredthsDb) {
    volume_ = std::clamp(volumeHundredthsDb, kSilent, 0);
    if (sounding_) audio_->mixer().SetVolume(voice_, SoundVolume());
}

void VideoPlayer::SetMute(bool mute) {
    mute_ = mute;
    if (sounding_) audio_->mixer().SetVolume(voice_, SoundVolume());
}

int VideoPlayer::ImageSourceWidth() const { return decoder_ ? decoder_->width() : 0; }
int VideoPlayer::ImageSourceHeight() const { return decoder_ ? decoder_->height() : 0; }

double VideoPlayer::Duration() const {
    if (knownEndMs_ > 0) return static_cast<double>(knownEndMs_) / 1000;
    return decoder_ ? static_cast<double>(decoder_->durationMs()) / 1000 : 0;
}

int64_t VideoPlayer::PositionMs() const {
    if (state_ != PlayState::Playing) return heldPositionMs_;
    auto elapsed = static_cast<double>(timers_.clock().NowMs() - startedAtMs_);
    return startPositionMs_ + static_cast<int64_t>(elapsed * rate_);
}

PlayState VideoPlayer::GetPlayState() {
    Advance();
    return state_;
}

void VideoPlayer::StartAt(int64_t positionMs) {
    // A decoder runs from the start once: a later start opens the file again.
    if (!decoder_ || decoderUsed_) OpenDecoder();
    int width = display_ ? display_->bounds().width : 0;
    int height = display_ ? display_->bounds().height : 0;
    decoder_->Start(width, height);
    decoderUsed_ = true;
    state_ = PlayState::Playing;
    startPositionMs_ = positionMs;
    startedAtMs_ = timers_.clock().NowMs();
    StopSound();
    StartSound(positionMs);
    timer_.SetIntervalMs(std::clamp<int64_t>(
        static_cast<int64_t>(static_cast<double>(decoder_->frameIntervalMs()) / rate_), 10, 100));
    timer_.SetEnabled(true);
    Advance();
}

void VideoPlayer::Halt(int64_t positionMs) {
    heldPositionMs_ = positionMs;
    state_ = PlayState::Stopped;
    timer_.SetIntervalMs(0);
    StopSound();
}

void VideoPlayer::Play() {
    if (fileName_.empty() || state_ == PlayState::Playing) return;
    if (state_ == PlayState::Paused && !seekPending_) {
        state_ = PlayState::Playing;
        startPositionMs_ = heldPositionMs_;
        startedAtMs_ = timers_.clock().NowMs();
        StartSound(heldPositionMs_);
        timer_.SetEnabled(true);
        return;
    }
    playsDone_ = 0;
    seekPending_ = false;
    StartAt(heldPositionMs_);
}

void VideoPlayer::Pause() {
    if (state_ != PlayState::Playing) return;
    heldPositionMs_ = PositionMs();
    state_ = PlayState::Paused;
    timer_.SetEnabled(false);
    // The mixer's voice cannot hold a sound: it ends, and Play opens it again where the pictures are.
    StopSound();
}

void VideoPlayer::Stop() { Halt(0); }

double VideoPlayer::CurrentPosition() {
    Advance();
    return static_cast<double>(PositionMs()) / 1000;
}

void VideoPlayer::SetCurrentPosition(double seconds) {
    int64_t positionMs = std::isfinite(seconds) && seconds > 0 ? static_cast<int64_t>(seconds * 1000) : 0;
    positionMs = std::min<int64_t>(positionMs, int64_t{24} * 3600 * 1000);
    if (state_ != PlayState::Playing) {
        heldPositionMs_ = positionMs;
        // Paused, or stopped: a later Play starts from there.
        seekPending_ = state_ == PlayState::Paused;
        return;
    }
    StartAt(positionMs);
}

void VideoPlayer::Advance() {
    if (state_ != PlayState::Playing || !decoder_) return;
    int64_t position = PositionMs();
    auto picture = decoder_->TakePictureAt(position, timers_.clock().IsVirtual());
    if (picture && display_ && picture->width > 0 && picture->height > 0) {
        platform::Canvas& canvas = display_->canvas();
        platform::PixelView view{picture->pixels.data(), picture->width, picture->height, picture->width};
        canvas.Copy(view, {0, 0, picture->width, picture->height}, 0, 0);
    }
    std::optional<int64_t> end = decoder_->endMs();
    if (!end || position < *end) return;
    knownEndMs_ = *end;
    ++playsDone_;
    // A video with no picture at all ends at once rather than starting again without end.
    bool again = *end > 0 && (playCount_ != 1 && (playCount_ <= 0 || playsDone_ < playCount_));
    if (again) {
        StartAt(0);
        return;
    }
    Halt(autoRewind ? 0 : *end);
}

void VideoPlayer::ClickOnPicture() {
    if (!clickToPlay) return;
    if (GetPlayState() == PlayState::Playing)
        Pause();
    else if (state_ == PlayState::Paused)
        Play();
}

void VideoPlayer::StartSound(int64_t positionMs) {
    if (!audio_ || rate_ < kSlowestSoundRate || rate_ > kFastestSoundRate) return;
    std::string error;
    auto source = platform::media::OpenDecodedFileAt(realPath_, positionMs, rate_, error);
    // A video without sound is usual; it plays silently.
    if (!source) return;
    audio_->mixer().Start(voice_, std::move(source), false, SoundVolume(), audio_->NextTicket());
    sounding_ = true;
}

void VideoPlayer::StopSound() {
    if (!sounding_) return;
    audio_->mixer().Stop(voice_);
    sounding_ = false;
}

}  // namespace taviro::frames
