// Players and channels that keep their state.
#include "frames/quiet_sounds.h"

#include "platform/game_error.h"

namespace taviro::frames {
namespace {

void CheckEntry(int number) {
    if (number < 0 || number > 7) throw GameError(9, "Subscript out of range");
}

}  // namespace

MediaPlayer& QuietSounds::Player(int number) {
    CheckEntry(number);
    return players_[static_cast<size_t>(number)];
}

bool QuietSounds::IsFilePlaying(const std::string& path) {
    for (const QuietPlayer& player : players_) {
        if (player.GetPlayState() == PlayState::Playing && player.FileName() == path) return true;
    }
    return false;
}

void QuietSounds::StopAnyWavOrMP3() {
    for (QuietPlayer& player : players_) player.Stop();
}

void QuietSounds::SetChannelEntry(int entry, const ChannelEntry& channel) {
    CheckEntry(entry);
    channels_[static_cast<size_t>(entry)] = channel;
}

bool QuietSounds::ApplyChannelRecord(int record, const ChannelEntry& channel) {
    CheckEntry(record);
    channels_[static_cast<size_t>(record)] = channel;
    return true;
}

}  // namespace taviro::frames
