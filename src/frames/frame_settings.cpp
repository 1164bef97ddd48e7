// Field order of the ".fme" file.
#include "frames/frame_settings.h"

#include "project/field_value.h"
#include "project/project_information.h"

namespace taviro::frames {

FrameHeader ReadFrameHeader(project::FieldReader& reader) {
    FrameHeader header;
    header.backgroundKind = reader.ReadInteger();
    header.backgroundValue = reader.ReadString();
    header.tiled = reader.ReadBoolean();
    return header;
}

void ReadFrameSettings(project::FieldReader& reader, FrameSettings& settings) {
    // 1-10: background, music, frame timer, one-time video.
    settings.header = ReadFrameHeader(reader);
    settings.restartMusic = reader.ReadBoolean();
    settings.music = reader.ReadString();
    settings.timerOn = reader.ReadBoolean();
    settings.timerDelayMs = reader.ReadVariant();
    settings.timerDestination = reader.ReadString();
    settings.video = reader.ReadString();
    reader.Skip();
    if (reader.AtEnd()) return;

    // 11-13: sounds.
    settings.stopAllSounds = reader.ReadBoolean();
    settings.stopFrameSoundWhenNone = reader.ReadBoolean();
    settings.frameSound = reader.ReadString();
    if (reader.AtEnd()) return;

    // 14-22: video placement.
    reader.Skip(3);
    settings.videoWithoutRectangle = reader.ReadBoolean();
    settings.videoByPositionOnly = reader.ReadBoolean();
    settings.videoLeft = reader.ReadLong();
    settings.videoTop = reader.ReadLong();
    settings.videoWidth = reader.ReadLong();
    settings.videoHeight = reader.ReadLong();
    if (reader.AtEnd()) return;

    settings.musicLoops = reader.ReadBoolean();  // 23
    if (reader.AtEnd()) return;

    settings.TimerTransitionEnabled = reader.ReadBoolean();  // 24
    settings.TimerTransitionDuration = reader.ReadLong();    // 25
    if (reader.AtEnd()) return;

    settings.TimerTransitionType = reader.ReadInteger();  // 26
    if (reader.AtEnd()) return;

    // 27-28: the frame script.
    settings.runFrameScript = reader.ReadBoolean();
    settings.frameScript = project::ReplaceBarsWithQuotes(project::ToText(reader.ReadVariant()));
    if (reader.AtEnd()) return;

    // 29-39: sound channels.
    reader.Skip(6);
    settings.channelFadeDurationMs = reader.ReadVariant();
    reader.ReadInteger();
    int16_t valuesPerRecord = reader.ReadInteger();
    int16_t records = reader.ReadInteger();
    if (valuesPerRecord > 5) return;
    for (int record = 0; record < records; ++record) {
        ChannelRecord channel;
        project::FieldValue* values[5] = {&channel.mode, &channel.fade, &channel.third, &channel.level,
                                          &channel.file};
        for (int value = 0; value < valuesPerRecord; ++value) *values[value] = reader.ReadVariant();
        settings.channels.push_back(std::move(channel));
    }
    if (reader.AtEnd()) return;

    settings.videoBeforeFrame = reader.ReadBoolean();
    if (reader.AtEnd()) return;

    settings.pluginData = reader.ReadVariant();
}

}  // namespace taviro::frames
