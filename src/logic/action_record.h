// The action records of a frame (".fm3", ".mr3" for merged frames, ".fm0" for items dropped on
// hotspots): what a hotspot does when it is clicked. Some effects take place while the record is
// being read, as in the original, so a read error leaves them done; the reader hands those to an
// ActionEffects object at the moment they are read and returns the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frames/sound_system.h"
#include "project/field_reader.h"

namespace taviro::logic {

using frames::ChannelEntry;

// The effects that happen while the record is read, in reading order.
class ActionEffects {
public:
    virtual ~ActionEffects() = default;
    // value 0 or 1 sets the integer variable, -1 inverts it.
    virtual void ChangeVariable(const std::string& name, int16_t value) = 0;
    virtual void RemoveAfterUse() = 0;
    virtual void StopMusic() = 0;
    virtual void StopAllSounds() = 0;
    virtual void SetFadeDuration(double seconds) = 0;
    // entry: 1-based number of the channel entry.
    virtual void SetChannel(int entry, const ChannelEntry& channel) = 0;
};

struct ActionRecord {
    bool quit = false;  // when set, nothing after it was read
    bool showMessage = false;
    std::string messageText;
    bool messageInWindow = false;
    bool openFrame = false;
    std::string frameName;
    bool returnToLastFrame = false;
    bool stopMusic = false;
    bool stopAllSounds = false;
    bool playVideo = false;
    std::string videoFile;
    bool videoStretched = false;
    bool videoPlacement = false;
    int16_t videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;
    bool stopFrameSound = false;
    bool playMusic = false;
    std::string musicFile;  // Areas folder
    bool musicLoops = true;
    bool playSound = false;
    std::string soundFile;  // Frames folder
    bool withTransition = false;
    double transitionDurationMs = 0;
    int16_t transitionNumber = 0;
    bool appendScript = false;
    std::string script;  // "|" already turned into double quotes
    bool addItem = false;
    std::string itemName;
    std::string pluginText;  // as stored
};

// Positions the reader on the common fields of hotspot areaIndex's record in a ".fm3"/".mr3"
// file. False when the file holds fewer records.
bool SeekHotspotAction(project::FieldReader& reader, int areaIndex);

// Positions the reader on the common fields of the ".fm0" record of item itemName dropped on
// hotspot areaIndex (key "3_key.drg", letter case ignored). stopping is asked before every record.
bool SeekDroppedItemAction(project::FieldReader& reader, int areaIndex, std::string_view itemName,
                           const std::function<bool()>& stopping);

// Reads the common action fields, handing the effects that happen during reading to effects.
// Throws GameError on a bad field.
ActionRecord ReadActionFields(project::FieldReader& reader, ActionEffects& effects);

}  // namespace taviro::logic
