// The seven sound channels over the media players 0 to 7: the channel table that frames and actions
// fill, the channel start that carries out its pending commands, the fades driven by the audio fade
// timer on the game clock, cross-fades on a free player, and the routines that stop sounds.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "frames/sound_system.h"
#include "platform/events/timer.h"
#include "project/project.h"

namespace taviro::frames {

// One entry of the channel table.
struct ChannelState {
    int16_t mode = 0;  // 3 fade out and stop, 4 change level, 0 none
    std::string file;  // pending file to start, in the Areas folder
    bool fade = false;
    bool loop = false;
    int16_t player = 0;          // the media player the channel uses now
    int16_t previousPlayer = 0;  // the player still fading out the old sound; 0 none
    double previousLevel = 0;
    double level = 0;
    bool changed = false;  // a frame's channel record was applied

    // Takes the command, fade, loop, level and file of a frame's or an action's entry; the level it
    // had becomes the level a fade starts from.
    void Take(const ChannelEntry& values);
};

class SoundChannels : public SoundSystem {
public:
    // Makes media player `number`; the players exist for as long as the channels.
    using PlayerFactory = std::function<std::unique_ptr<MediaPlayer>(int number)>;

    SoundChannels(project::Project& project, platform::TimerQueue& timers, PlayerFactory makePlayer);

    // SoundSystem
    MediaPlayer& Player(int number) override;
    MediaPlayer& ChannelPlayer(int entry) override;
    bool IsFilePlaying(const std::string& path) override;
    void StopAnyWavOrMP3() override;
    void SetChannelEntry(int entry, const ChannelEntry& channel) override;
    bool ApplyChannelRecord(int record, const ChannelEntry& channel) override;
    void SetFadeDuration(double seconds) override { FrameFadeDuration = seconds; }
    void PlaySoundChannels(project::FieldReader& file) override;
    void StartChannels() override;
    void EnableFadeTimer() override { TimerAudioFade.SetEnabled(true); }
    void FadeStep(double progress) override;
    void ResetPlayers() override;

    // The media players that exist, by number (players 1 to 7 always; 0 once it is asked for).
    const MediaPlayer* ExistingPlayer(int number) const;
    // The channel table's entry 0..7, and the audio fade timer, for the state and for tests.
    const ChannelState& channel(int number) const { return table_.at(static_cast<size_t>(number)); }
    const platform::Timer& fadeTimer() const { return TimerAudioFade; }

private:
    // Starts a channel's pending file, or drops it when it is missing or already plays.
    void StartPendingFile(ChannelState& channel, bool withFade);
    // Starts the channel's file on a player at a level of 0..10.
    void StartSoundOnPlayer(int player, const ChannelState& channel, double level);
    // The first of players 1 to 7 that is not playing, or 0.
    int FreePlayer();
    // The tick of the audio fade timer.
    void FadeTick();
    // The command is done: no mode, no file, no previous player, no fade.
    void ClearCommand(ChannelState& channel);
    // Throws GameError for a number outside 0..7.
    void CheckPlayerNumber(int number) const;

    project::Project& project_;
    const platform::Clock& clock_;
    PlayerFactory makePlayer_;
    std::array<std::unique_ptr<MediaPlayer>, 8> players_;
    std::array<ChannelState, 8> table_;
    double FrameFadeDuration = 0;  // seconds
    double fadeStartSeconds_ = 0;  // game clock; 0 = the fade has not started
    platform::Timer TimerAudioFade;
};

}  // namespace taviro::frames
