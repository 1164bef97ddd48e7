// The frame settings file (".fme"): background, music, sounds, video, frame timer, frame script
// and the sound-channel records of a frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/field_reader.h"

namespace taviro::frames {

// What the background of a frame is.
enum class BackgroundKind : int16_t { Colour = 0, Picture = 1 };

// The first three fields: what LoadFrameHeader reads.
struct FrameHeader {
    int16_t backgroundKind = 0;   // 0 = plain colour, 1 = picture, anything else = no background
    std::string backgroundValue;  // picture file name (Frames folder), or the colour as a decimal RGB number
    bool tiled = false;
};

// One sound-channel record; values the record does not hold stay empty.
struct ChannelRecord {
    project::FieldValue mode;   // pending command (16-bit)
    project::FieldValue fade;   // fade over the frame's fade duration
    project::FieldValue third;  // third flag
    project::FieldValue level;  // target level, 0..10
    project::FieldValue file;   // sound file name, Areas folder
};

struct FrameSettings {
    FrameHeader header;
    bool restartMusic = false;
    std::string music;  // Areas folder; empty = no music of its own
    bool timerOn = false;
    project::FieldValue timerDelayMs;  // taken as the numeric value of its text
    std::string timerDestination;      // a frame name, "[quit]" or "[last visited frame]"
    std::string video;                 // one-time video; empty = none

    bool stopAllSounds = false;
    bool stopFrameSoundWhenNone = false;
    std::string frameSound;  // Frames folder

    bool videoWithoutRectangle = false;  // played at its own size in the top-left corner
    bool videoByPositionOnly = false;    // played at its own size at videoLeft, videoTop
    int32_t videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;  // pixels

    bool musicLoops = true;

    bool TimerTransitionEnabled = false;
    int32_t TimerTransitionDuration = 0;  // milliseconds
    int16_t TimerTransitionType = 0;

    bool runFrameScript = false;
    std::string frameScript;  // "|" already turned into double quotes

    project::FieldValue channelFadeDurationMs;
    std::vector<ChannelRecord> channels;

    bool videoBeforeFrame = false;
    project::FieldValue pluginData;
};

// Reads the fields up to the end of the file or the first optional group that is missing. A
// record count above 5 values per record ends the reading before the channel records. Read errors
// throw GameError; what was read stays in settings.
void ReadFrameSettings(project::FieldReader& reader, FrameSettings& settings);

// The header alone (fields 1-3).
FrameHeader ReadFrameHeader(project::FieldReader& reader);

}  // namespace taviro::frames
