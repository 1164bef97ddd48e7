// A record of the text files (".fm1", and ".mr1" for merged frames): a label drawn on the frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/controls/control_kinds.h"
#include "project/field_reader.h"

namespace taviro::frames {

struct TextRecord {
    int16_t mergedMarker = 0;            // 1 = the text comes from the merged frame
    std::string caption;                 // "[empty]" already turned into ""
    double leftUnits = 0, topUnits = 0;  // editor units, 15 per pixel
    bool bold = false;
    bool italic = false;
    std::string fontName = "Arial";
    double fontSizeUnits = 0;  // points as designed at 15 units per pixel
    bool strikeout = false;
    bool underline = false;
    int32_t colour = 0;  // RGB number: red in the low byte
};

// Reads one record. Fields that cannot be read, and fields missing at the end of the file, keep
// their defaults: the player ignores errors statement by statement here. Never throws.
TextRecord ReadTextRecord(project::FieldReader& reader);

// The label's font size in points: the size as designed at 15 twips per pixel, scaled to the
// display (twipsPerPixel, 15 at 96 dpi) so that the text keeps its size in pixels.
double TextFontSizePoints(const TextRecord& record, int twipsPerPixel);

// The font the record's label is drawn in on this display.
platform::FontSpec TextFont(const TextRecord& record);

}  // namespace taviro::frames
