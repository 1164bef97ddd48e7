// The channel start and the fade steps follow a fixed order; the numbered comments follow it.
#include "frames/sound_channels.h"

#include "frames/hotspot_record.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_value.h"

namespace taviro::frames {
namespace {

constexpr int64_t kFadeTickMs = 100;
constexpr int kChnLeadingFields = 21;
constexpr int kChnChannels = 5;

bool EndsInMid(const std::string& name) {
    return name.size() > 4 && platform::FoldCase(name.substr(name.size() - 3)) == "mid";
}

}  // namespace

SoundChannels::SoundChannels(project::Project& project, platform::TimerQueue& timers,
                             PlayerFactory makePlayer)
    : project_(project),
      clock_(timers.clock()),
      makePlayer_(std::move(makePlayer)),
      TimerAudioFade(timers, [this] { FadeTick(); }) {
    TimerAudioFade.SetIntervalMs(kFadeTickMs);
    TimerAudioFade.SetEnabled(false);
    for (int number = 1; number <= 7; ++number) {
        players_[static_cast<size_t>(number)] = makePlayer_(number);
        table_[static_cast<size_t>(number)].player = static_cast<int16_t>(number);
    }
}

void SoundChannels::CheckPlayerNumber(int number) const {
    if (number < 0 || number > 7) throw GameError(9, "Subscript out of range");
}

MediaPlayer& SoundChannels::Player(int number) {
    CheckPlayerNumber(number);
    auto& player = players_[static_cast<size_t>(number)];
    if (!player) player = makePlayer_(number);
    return *player;
}

MediaPlayer& SoundChannels::ChannelPlayer(int entry) {
    CheckPlayerNumber(entry);
    return Player(table_[static_cast<size_t>(entry)].player);
}

const MediaPlayer* SoundChannels::ExistingPlayer(int number) const {
    if (number < 0 || number > 7) return nullptr;
    return players_[static_cast<size_t>(number)].get();
}

bool SoundChannels::IsFilePlaying(const std::string& path) {
    for (int number = 1; number <= 7; ++number) {
        MediaPlayer& player = Player(number);
        if (player.FileName() == path && player.GetPlayState() == PlayState::Playing) return true;
    }
    return false;
}

void SoundChannels::StopAnyWavOrMP3() {
    for (int number = 1; number <= 7; ++number) {
        MediaPlayer& player = Player(number);
        if (player.FileName().size() > 4 && player.GetPlayState() == PlayState::Playing) player.Stop();
    }
}

void SoundChannels::ResetPlayers() {
    TimerAudioFade.SetEnabled(false);
    for (int number = 1; number <= 7; ++number) {
        Player(number).Stop();
        table_[static_cast<size_t>(number)].player = static_cast<int16_t>(number);
    }
}

void ChannelState::Take(const ChannelEntry& values) {
    mode = values.command;
    fade = values.fade;
    loop = values.loop;
    previousLevel = level;
    level = values.level;
    file = values.file;
}

void SoundChannels::SetChannelEntry(int entry, const ChannelEntry& values) {
    CheckPlayerNumber(entry);
    ChannelState& channel = table_[static_cast<size_t>(entry)];
    channel.Take(values);
    channel.previousPlayer = 0;
}

bool SoundChannels::ApplyChannelRecord(int record, const ChannelEntry& values) {
    if (record < 1 || record > 7) return false;
    ChannelState& channel = table_[static_cast<size_t>(record)];
    // A record changes the entry only when it brings a command the entry lacks, or a file to one that has
    // none.
    if (!((values.command > 1 && channel.mode < 2) || (!values.file.empty() && channel.file.empty())))
        return false;
    channel.Take(values);
    channel.changed = true;
    return true;
}

void SoundChannels::PlaySoundChannels(project::FieldReader& file) {
    try {
        // 1. The leading fields mean nothing to the player.
        file.Skip(kChnLeadingFields);
        // 2. One group per channel 1 to 5: stop, then play.
        for (int number = 1; number <= kChnChannels; ++number) {
            if (IsEndOfRecord(file)) return;
            file.Skip();
            bool stop = file.ReadBoolean();
            bool play = file.ReadBoolean();
            std::string name = file.ReadString();
            bool once = project::NumericValue(file.ReadVariant()) == 0;
            MediaPlayer& player = ChannelPlayer(number);
            if (stop) player.Stop();
            if (play && !name.empty()) {
                player.Stop();
                player.SetFileName(project_.LocateProjectFile(project_.paths.AreasPath + name));
                player.SetPlayCount(once ? 1 : 0);
                player.SetVolume(VolumeToPlayerUnits(8));
                player.Play();
            }
        }
    } catch (const std::exception&) {
        // 3. A damaged file ends the reading; what it started plays on.
        project_.reports().ShowErrorReport(" Unable to load old sound system information.");
    }
}

void SoundChannels::StartChannels() {
    for (int number = 1; number <= 7; ++number) {
        ChannelState& channel = table_[static_cast<size_t>(number)];
        if (channel.fade) {
            // 1. With a fade, only the pending file starts now, at level 0; the fade steps do the rest.
            if (!channel.file.empty()) StartPendingFile(channel, true);
        } else {
            // 2. Without a fade, every command is carried out at once.
            if (channel.mode == 3) Player(channel.player).Stop();
            if (!channel.file.empty()) StartPendingFile(channel, false);
            if (channel.mode == 4) Player(channel.player).SetVolume(VolumeToPlayerUnits(channel.level));
            channel.mode = 0;
        }
    }
    // 3. The fade begins at the first tick of the fade timer.
    fadeStartSeconds_ = 0;
}

void SoundChannels::StartPendingFile(ChannelState& channel, bool withFade) {
    const std::string path = project_.LocateProjectFile(project_.paths.AreasPath + channel.file);
    if (!project_.files().IsFile(path)) {
        channel.file.clear();
        return;
    }
    // A frame that names the sound already playing leaves it undisturbed.
    if (channel.changed && IsFilePlaying(path)) return ClearCommand(channel);
    // Only one MIDI tune plays at a time.
    if (EndsInMid(channel.file)) {
        for (int number = 0; number <= 7; ++number) {
            MediaPlayer* player = players_[static_cast<size_t>(number)].get();
            if (player && EndsInMid(player->FileName()) && player->GetPlayState() == PlayState::Playing)
                player->Stop();
        }
    }
    if (!withFade) return StartSoundOnPlayer(channel.player, channel, channel.level);
    // A channel still playing moves to a free player and fades the old sound out on its own; the
    // channel that owned the free player takes the old number in exchange.
    channel.previousPlayer = 0;
    if (Player(channel.player).GetPlayState() == PlayState::Playing) {
        if (int free = FreePlayer(); free != 0) {
            channel.previousPlayer = channel.player;
            for (int other = 1; other <= 7; ++other) {
                ChannelState& owner = table_[static_cast<size_t>(other)];
                if (&owner != &channel && owner.player == free) owner.player = channel.player;
            }
            channel.player = static_cast<int16_t>(free);
        }
    }
    StartSoundOnPlayer(channel.player, channel, 0);
}

void SoundChannels::StartSoundOnPlayer(int number, const ChannelState& channel, double level) {
    MediaPlayer& player = Player(number);
    player.Stop();
    player.SetFileName("");
    player.SetPlayCount(channel.loop ? 0 : 1);
    // The volume goes first, so that not one sample of the new sound plays at the old volume; the
    // player ends with the same settings either way.
    player.SetVolume(VolumeToPlayerUnits(level));
    player.SetFileName(project_.LocateProjectFile(project_.paths.AreasPath + channel.file));
    player.SetVolume(VolumeToPlayerUnits(level));
}

int SoundChannels::FreePlayer() {
    for (int number = 1; number <= 7; ++number) {
        if (Player(number).GetPlayState() != PlayState::Playing) return number;
    }
    return 0;
}

void SoundChannels::ClearCommand(ChannelState& channel) {
    channel.mode = 0;
    channel.file.clear();
    channel.previousPlayer = 0;
    channel.fade = false;
}

void SoundChannels::FadeStep(double progress) {
    for (int number = 1; number <= 7; ++number) {
        ChannelState& channel = table_[static_cast<size_t>(number)];
        if (!channel.fade) {
            if (progress >= 1) ClearCommand(channel);
            continue;
        }
        MediaPlayer& player = Player(channel.player);
        if (progress < 1) {
            if (channel.mode == 3) {
                player.SetVolume(VolumeToPlayerUnits((1 - progress) * channel.previousLevel));
            } else if (channel.mode == 4) {
                player.SetVolume(VolumeToPlayerUnits(channel.previousLevel +
                                                     (channel.level - channel.previousLevel) * progress));
            } else if (!channel.file.empty()) {
                player.SetVolume(VolumeToPlayerUnits(progress * channel.level));
                if (channel.previousPlayer != 0) {
                    Player(channel.previousPlayer)
                        .SetVolume(VolumeToPlayerUnits((1 - progress) * channel.previousLevel));
                }
            }
            continue;
        }
        if (channel.mode == 3) {
            player.Stop();
        } else if (channel.mode == 4) {
            player.SetVolume(VolumeToPlayerUnits(channel.level));
        } else if (!channel.file.empty()) {
            player.SetVolume(VolumeToPlayerUnits(channel.level));
            if (channel.previousPlayer != 0) Player(channel.previousPlayer).Stop();
        }
        ClearCommand(channel);
    }
}

void SoundChannels::FadeTick() {
    const double nowSeconds = static_cast<double>(clock_.NowMs()) / 1000;
    // 1. The first tick starts the fade's clock.
    if (fadeStartSeconds_ == 0) {
        fadeStartSeconds_ = nowSeconds;
        return;
    }
    // 2-3. Then each tick sets the volumes for the time passed, and the last one completes them.
    const double elapsed = nowSeconds - fadeStartSeconds_;
    if (elapsed >= 0 && elapsed < FrameFadeDuration) return FadeStep(elapsed / FrameFadeDuration);
    FadeStep(1.0);
    TimerAudioFade.SetEnabled(false);
}

}  // namespace taviro::frames
