// Mixing: each voice reads its source into a scratch buffer and adds it to the output with a gain
// that moves linearly towards its target, so that volume changes are smooth.
#include "platform/media/mixer.h"

#include <algorithm>
#include <cmath>

namespace taviro::platform::media {

Mixer::Command Mixer::MakeCommand(Command::Kind kind, int voice) {
    Command command;
    command.kind = kind;
    command.voice = voice;
    return command;
}

Mixer::Mixer() {
    commands_.reserve(64);
    applying_.reserve(64);
}

Mixer::~Mixer() = default;

float Mixer::GainOf(int volumeHundredthsDb) {
    if (volumeHundredthsDb >= 0) return 1.0F;
    if (volumeHundredthsDb <= -10000) return 0.0F;
    return static_cast<float>(std::pow(10.0, volumeHundredthsDb / 2000.0));
}

void Mixer::Send(Command command) {
    std::lock_guard lock(commandsLock_);
    commands_.push_back(std::move(command));
}

void Mixer::Start(int voice, std::unique_ptr<AudioSource> source, bool repeat, int volumeHundredthsDb,
                  uint64_t ticket) {
    Command command = MakeCommand(Command::Kind::Start, voice);
    command.source = std::move(source);
    command.flag = repeat;
    command.volume = volumeHundredthsDb;
    command.ticket = ticket;
    Send(std::move(command));
}

void Mixer::Stop(int voice) { Send(MakeCommand(Command::Kind::Stop, voice)); }

void Mixer::SetVolume(int voice, int volumeHundredthsDb) {
    Command command = MakeCommand(Command::Kind::Volume, voice);
    command.volume = volumeHundredthsDb;
    Send(std::move(command));
}

void Mixer::SetRepeat(int voice, bool repeat) {
    Command command = MakeCommand(Command::Kind::Repeat, voice);
    command.flag = repeat;
    Send(std::move(command));
}

void Mixer::Rewind(int voice) { Send(MakeCommand(Command::Kind::Rewind, voice)); }

void Mixer::SetMuted(bool muted) {
    Command command = MakeCommand(Command::Kind::Muted);
    command.flag = muted;
    Send(std::move(command));
}

void Mixer::SetUserVolumes(double musicGain, double soundGain) {
    Command command = MakeCommand(Command::Kind::UserVolumes);
    command.musicGain = musicGain;
    command.soundGain = soundGain;
    Send(std::move(command));
}

void Mixer::SetPaused(bool paused) { paused_.store(paused); }

void Mixer::CollectRetired() {
    std::vector<std::unique_ptr<AudioSource>> retired;
    {
        std::lock_guard lock(commandsLock_);
        retired.swap(retiredShared_);
    }
}

void Mixer::Retire(std::unique_ptr<AudioSource> source) {
    if (source) retired_.push_back(std::move(source));
}

void Mixer::Release(Voice& voice) {
    if (!voice.source) return;
    if (voice.fresh) return Retire(std::move(voice.source));
    Retire(std::move(voice.tail));
    voice.tail = std::move(voice.source);
    voice.tailGain = voice.gain;
    voice.tailScale = muted_ ? 0.0F : (voice.repeat ? musicGain_ : soundGain_);
}

void Mixer::MixTail(Voice& voice, float* out, int frames) {
    if (!voice.tail) return;
    const float step = 1.0F / kRampFrames;
    int count = std::min(frames, static_cast<int>(std::ceil(voice.tailGain / step)));
    int read = voice.tail->Read(scratch_.data(), count);
    for (int frame = 0; frame < read; ++frame) {
        voice.tailGain = std::max(0.0F, voice.tailGain - step);
        float gain = voice.tailGain * voice.tailScale;
        out[frame * 2] += scratch_[static_cast<size_t>(frame) * 2] * gain;
        out[frame * 2 + 1] += scratch_[static_cast<size_t>(frame) * 2 + 1] * gain;
    }
    if (read < count || voice.tailGain <= 0) Retire(std::move(voice.tail));
}

void Mixer::Apply(Command& command) {
    Voice& voice = voices_[static_cast<size_t>(std::clamp(command.voice, 0, kVoices - 1))];
    switch (command.kind) {
        case Command::Kind::Start:
            Release(voice);
            voice.source = std::move(command.source);
            voice.repeat = command.flag;
            voice.targetGain = voice.gain = GainOf(command.volume);
            voice.fresh = true;
            voice.ticket = command.ticket;
            playedFrames_[static_cast<size_t>(command.voice)].store(0);
            break;
        case Command::Kind::Stop: Release(voice); break;
        case Command::Kind::Volume:
            voice.targetGain = GainOf(command.volume);
            if (voice.fresh) voice.gain = voice.targetGain;
            break;
        case Command::Kind::Repeat: voice.repeat = command.flag; break;
        case Command::Kind::Rewind:
            playedFrames_[static_cast<size_t>(command.voice)].store(0);
            if (voice.source && !voice.source->Rewind()) {
                Retire(std::move(voice.source));
                finished_[static_cast<size_t>(&voice - voices_.data())].store(voice.ticket);
            }
            break;
        case Command::Kind::Muted: muted_ = command.flag; break;
        case Command::Kind::UserVolumes:
            musicGain_ = static_cast<float>(command.musicGain);
            soundGain_ = static_cast<float>(command.soundGain);
            break;
    }
}

void Mixer::Render(float* out, int frames) {
    std::fill_n(out, static_cast<size_t>(frames) * kMixChannels, 0.0F);
    // 1. New commands, when the game thread is not sending at this very moment; old sources go back.
    {
        std::unique_lock lock(commandsLock_, std::try_to_lock);
        if (lock.owns_lock()) {
            applying_.swap(commands_);
            for (auto& source : retired_) retiredShared_.push_back(std::move(source));
            retired_.clear();
        }
    }
    for (Command& command : applying_) Apply(command);
    applying_.clear();
    if (paused_.load()) return;
    // 2. Every voice adds its sound.
    if (scratch_.size() < static_cast<size_t>(frames) * kMixChannels)
        scratch_.resize(static_cast<size_t>(frames) * kMixChannels);
    for (int index = 0; index < kVoices; ++index) {
        MixTail(voices_[static_cast<size_t>(index)], out, frames);
        MixVoice(index, out, frames);
    }
}

void Mixer::MixVoice(int index, float* out, int frames) {
    Voice& voice = voices_[static_cast<size_t>(index)];
    if (!voice.source) return;
    // 1. Read the source, starting it again when it repeats; a source that gives nothing right after
    // starting again has ended for good.
    int filled = 0;
    bool rewound = false;
    int64_t played = playedFrames_[static_cast<size_t>(index)].load();
    while (filled < frames) {
        int read = voice.source->Read(scratch_.data() + filled * kMixChannels, frames - filled);
        filled += read;
        played += read;
        if (read > 0) rewound = false;
        if (filled == frames) break;
        if (rewound || !voice.repeat || !voice.source->Rewind()) {
            Retire(std::move(voice.source));
            finished_[static_cast<size_t>(index)].store(voice.ticket);
            break;
        }
        rewound = true;
        played = 0;
    }
    playedFrames_[static_cast<size_t>(index)].store(played);
    if (voice.fresh && filled > 0) firstMixed_[static_cast<size_t>(index)].store(voice.ticket);
    voice.fresh = false;
    // 2. Add it with the voice's gain, moving towards its target.
    float user = voice.repeat ? musicGain_ : soundGain_;
    float scale = muted_ ? 0.0F : user;
    const float step = 1.0F / kRampFrames;
    for (int frame = 0; frame < filled; ++frame) {
        if (voice.gain != voice.targetGain) {
            float difference = voice.targetGain - voice.gain;
            voice.gain = std::abs(difference) <= step ? voice.targetGain
                                                      : voice.gain + std::copysign(step, difference);
        }
        float gain = voice.gain * scale;
        out[frame * 2] += scratch_[static_cast<size_t>(frame) * 2] * gain;
        out[frame * 2 + 1] += scratch_[static_cast<size_t>(frame) * 2 + 1] * gain;
    }
}

}  // namespace taviro::platform::media
