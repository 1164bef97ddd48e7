// Field order of the action records; a record may end at each end check.
#include "logic/action_record.h"

#include "frames/hotspot_record.h"
#include "platform/files/file_system.h"
#include "project/field_value.h"
#include "project/project_information.h"

namespace taviro::logic {
namespace {

using project::FieldReader;
using project::IsSet;

bool ReadFlag(FieldReader& reader) { return IsSet(reader.ReadVariant()); }
std::string ReadText(FieldReader& reader) { return project::ToText(reader.ReadVariant()); }

// Reads a list of variable names and applies value to each as it is read (when apply is set).
void ReadVariableList(FieldReader& reader, bool apply, int16_t value, ActionEffects& effects) {
    for (double count = project::NumericValue(reader.ReadVariant()); count >= 1; --count) {
        std::string name = reader.ReadString();
        if (apply && !name.empty()) effects.ChangeVariable(name, value);
    }
}

}  // namespace

bool SeekHotspotAction(FieldReader& reader, int areaIndex) {
    for (int record = 1; record < areaIndex; ++record) {
        if (reader.AtEnd()) return false;
        reader.SkipRecord();
    }
    if (reader.AtEnd() || areaIndex < 1) return false;
    reader.Skip(10);
    return true;
}

bool SeekDroppedItemAction(FieldReader& reader, int areaIndex, std::string_view itemName,
                           const std::function<bool()>& stopping) {
    const std::string key =
        platform::FoldCase(std::to_string(areaIndex) + "_" + std::string(itemName) + ".drg");
    while (!reader.AtEnd()) {
        if (stopping()) return false;
        reader.Skip();
        if (platform::FoldCase(reader.ReadString()) == key) {
            reader.Skip(8);
            return true;
        }
        reader.SkipRecord();
    }
    return false;
}

ActionRecord ReadActionFields(FieldReader& reader, ActionEffects& effects) {
    ActionRecord action;
    auto ended = [&] { return frames::IsEndOfRecord(reader); };

    // 1-5: one variable set to 0, to 1, inverted, in this order.
    bool changeVariable = reader.ReadInteger() != 0;
    std::string variable = reader.ReadString();
    bool setZero = ReadFlag(reader), setOne = ReadFlag(reader), invert = ReadFlag(reader);
    if (changeVariable && !variable.empty()) {
        if (setZero) effects.ChangeVariable(variable, 0);
        if (setOne) effects.ChangeVariable(variable, 1);
        if (invert) effects.ChangeVariable(variable, -1);
    }

    // 6-10: message, removal after use.
    action.showMessage = ReadFlag(reader);
    action.messageText = ReadText(reader);
    reader.ReadInteger();
    reader.ReadString();
    if (ReadFlag(reader)) effects.RemoveAfterUse();

    // 11: quitting ends everything.
    action.quit = ReadFlag(reader);
    if (action.quit) return action;

    // 12-13: another frame.
    action.openFrame = reader.ReadInteger() != 0;
    action.frameName = reader.ReadString();
    if (ended()) return action;

    // 14-23: music and sounds stopped, video.
    action.stopMusic = reader.ReadInteger() != 0;
    if (action.stopMusic) effects.StopMusic();
    action.stopAllSounds = reader.ReadInteger() != 0;
    if (action.stopAllSounds) effects.StopAllSounds();
    action.playVideo = reader.ReadInteger() != 0;
    action.videoFile = reader.ReadString();
    action.videoStretched = reader.ReadBoolean();
    action.videoPlacement = reader.ReadBoolean();
    action.videoLeft = reader.ReadInteger();
    action.videoTop = reader.ReadInteger();
    action.videoWidth = reader.ReadInteger();
    action.videoHeight = reader.ReadInteger();
    if (ended()) return action;

    // 24-28: frame sound, music, sound.
    action.stopFrameSound = ReadFlag(reader);
    action.playMusic = ReadFlag(reader);
    action.musicFile = ReadText(reader);
    action.playSound = ReadFlag(reader);
    action.soundFile = ReadText(reader);
    if (ended()) return action;

    reader.Skip(3);
    action.returnToLastFrame = ReadFlag(reader);  // 32
    if (ended()) return action;

    reader.Skip(3);
    action.messageInWindow = ReadFlag(reader);  // 36
    if (ended()) return action;

    // 37-43: the variable lists, applied as they are read.
    reader.Skip(3);
    bool changeLists = reader.ReadInteger() != 0;
    ReadVariableList(reader, changeLists, 0, effects);
    ReadVariableList(reader, changeLists, 1, effects);
    ReadVariableList(reader, changeLists, -1, effects);
    if (ended()) return action;

    action.musicLoops = reader.ReadBoolean();  // 44
    if (ended()) return action;

    action.withTransition = project::NumericValue(reader.ReadVariant()) == 1;  // 45
    action.transitionDurationMs = reader.ReadDouble();                         // 46
    if (ended()) return action;

    action.appendScript = reader.ReadBoolean();  // 47
    action.script = project::ReplaceBarsWithQuotes(ReadText(reader));
    if (ended()) return action;

    action.transitionNumber = reader.ReadInteger();  // 49
    if (ended()) return action;

    // 50-60: the sound-channel block.
    reader.Skip(6);
    effects.SetFadeDuration(project::NumericValue(reader.ReadVariant()) / 1000);
    reader.ReadInteger();
    int16_t fieldsPerEntry = reader.ReadInteger();
    int16_t entries = reader.ReadInteger();
    if (fieldsPerEntry > 5) return action;
    for (int entry = 1; entry <= entries; ++entry) {
        ChannelEntry channel;
        if (fieldsPerEntry >= 1) channel.command = reader.ReadInteger();
        if (fieldsPerEntry >= 2) channel.fade = reader.ReadBoolean();
        if (fieldsPerEntry >= 3) channel.loop = reader.ReadBoolean();
        if (fieldsPerEntry >= 4) channel.level = reader.ReadDouble();
        if (fieldsPerEntry >= 5) channel.file = reader.ReadString();
        effects.SetChannel(entry, channel);
    }
    if (ended()) return action;

    action.addItem = reader.ReadBoolean();  // 61
    action.itemName = reader.ReadString();  // 62
    if (ended()) return action;

    action.pluginText = ReadText(reader);  // 63
    return action;
}

}  // namespace taviro::logic
