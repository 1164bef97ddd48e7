// The sound channels and media players as the rest of the game uses them: the players of sounds
// and music, the channel table that frames and actions fill, and its fades.
#pragma once

#include <cstdint>
#include <string>

#include "frames/media_player.h"
#include "project/field_reader.h"

namespace taviro::frames {

// The settings of one sound channel that a frame or an action gives.
struct ChannelEntry {
    int16_t command = 0;
    bool fade = false;
    bool loop = false;
    double level = 0;  // 0..10
    std::string file;  // Areas folder
};

// Media players 6 and 7 play the background music and the frame sound.
inline constexpr int kMusicPlayer = 6;
inline constexpr int kFrameSoundPlayer = 7;

class SoundSystem {
public:
    virtual ~SoundSystem() = default;

    // Media player 0..7; throws GameError for another number.
    virtual MediaPlayer& Player(int number) = 0;
    // The media player a channel entry (1..7) uses now: its own number unless a cross-fade moved it.
    virtual MediaPlayer& ChannelPlayer(int entry) = 0;
    virtual bool IsFilePlaying(const std::string& path) = 0;
    virtual void StopAnyWavOrMP3() = 0;

    // An action's channel entry (1-based); throws GameError for an entry the table does not have.
    virtual void SetChannelEntry(int entry, const ChannelEntry& channel) = 0;
    // A frame's channel record (1-based), applied under the table's own conditions; true when applied.
    virtual bool ApplyChannelRecord(int record, const ChannelEntry& channel) = 0;
    virtual void SetFadeDuration(double seconds) = 0;
    // Reads the play/stop commands of a ".chn" file or of an action's hotspot block, and plays them.
    virtual void PlaySoundChannels(project::FieldReader& file) = 0;

    // Applies the pending commands of the table; the fade timer then runs them.
    virtual void StartChannels() = 0;
    virtual void EnableFadeTimer() = 0;
    // Sets volumes for a fade progress of 0..1; 1 completes every fade.
    virtual void FadeStep(double progress) = 0;
    // A new game: players 1 to 7 stop and every channel gets its own player back.
    virtual void ResetPlayers() = 0;
};

}  // namespace taviro::frames
