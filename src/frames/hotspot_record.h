// A record of the hotspot files (".fm2", and ".mr2" for merged frames): where a hotspot lies, its
// picture, pointer, visibility conditions and looping video.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/field_reader.h"

namespace taviro::frames {

struct HotspotRecord {
    int16_t mergedMarker = 0;  // 1 = the hotspot comes from the merged frame
    double leftUnits = 0, topUnits = 0, widthUnits = 0, heightUnits = 0;  // editor units, 15 per pixel
    double animation = 0;  // not 0 = the picture is an animated picture
    bool showsPicture = false;
    std::string picture;                  // Areas folder
    double displayOption = 0;             // 1 = the picture is stretched to the hotspot
    std::string pointer;                  // Icons folder; empty or "default" = the project's pointer
    double hasConditions = 0;             // 0 = always visible unless removed
    std::vector<std::string> mustBeZero;  // list A
    std::vector<std::string> mustBeOne;   // list B
    project::FieldValue animationSpeed;
    bool hasLoopingVideo = false;
    std::string loopingVideo;  // Frames folder
    bool videoSizedToHotspot = false;
    project::FieldValue videoRate;
    project::FieldValue videoPlayCount;
};

// Reads one record up to and including its separator. Throws GameError on a bad field.
HotspotRecord ReadHotspotRecord(project::FieldReader& reader);

// True when the next field ends the record (or the file): the original's IsEndOfRecord.
bool IsEndOfRecord(const project::FieldReader& reader);

// A rectangle in twips.
struct TwipsRectangle {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

// The hotspot's control: the stored rectangle inset by 2 pixels on every side, at least one pixel
// wide and high. twipsPerPixel is the display's factor (15 at 96 dpi).
TwipsRectangle HotspotRectangle(const HotspotRecord& record, int twipsPerPixel);

}  // namespace taviro::frames
