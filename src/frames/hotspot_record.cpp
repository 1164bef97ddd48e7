// Field order of the hotspot records.
#include "frames/hotspot_record.h"

#include <algorithm>
#include <cmath>

#include "project/field_value.h"

namespace taviro::frames {
namespace {

std::vector<std::string> ReadNameList(project::FieldReader& reader) {
    std::vector<std::string> names;
    for (double count = reader.ReadDouble(); count >= 1; --count) names.push_back(reader.ReadString());
    return names;
}

}  // namespace

bool IsEndOfRecord(const project::FieldReader& reader) {
    std::optional<std::string> next = reader.PeekString();
    return !next || *next == project::kRecordSeparator;
}

HotspotRecord ReadHotspotRecord(project::FieldReader& reader) {
    HotspotRecord record;
    reader.Skip();
    record.mergedMarker = reader.ReadInteger();
    reader.Skip(8);
    record.leftUnits = reader.ReadDouble();
    record.topUnits = reader.ReadDouble();
    record.widthUnits = reader.ReadDouble();
    record.heightUnits = reader.ReadDouble();
    record.animation = reader.ReadDouble();
    record.showsPicture = reader.ReadBoolean();
    record.picture = reader.ReadString();
    record.displayOption = reader.ReadDouble();
    record.pointer = reader.ReadString();
    record.hasConditions = reader.ReadDouble();
    record.mustBeZero = ReadNameList(reader);
    record.mustBeOne = ReadNameList(reader);
    // Fields 23 to 33 are optional. Editors stop writing them at fixed points; checking before every
    // one of them keeps a shorter record from swallowing the separator.
    auto present = [&] { return !IsEndOfRecord(reader); };
    if (present()) record.animationSpeed = reader.ReadVariant();
    if (present()) record.hasLoopingVideo = reader.ReadBoolean();
    if (present()) record.loopingVideo = reader.ReadString();
    if (present()) record.videoSizedToHotspot = reader.ReadBoolean();
    for (int ignored = 0; ignored < 3 && present(); ++ignored) reader.Skip();
    if (present()) record.videoRate = reader.ReadVariant();
    if (present()) record.videoPlayCount = reader.ReadVariant();
    reader.SkipRecord();
    return record;
}

TwipsRectangle HotspotRectangle(const HotspotRecord& record, int twipsPerPixel) {
    const double t = twipsPerPixel;
    auto twips = [](double value) { return static_cast<int32_t>(std::clamp(std::round(value), -2e9, 2e9)); };
    TwipsRectangle rectangle;
    rectangle.left = twips(record.leftUnits * t / 15 + 2 * t);
    rectangle.top = twips(record.topUnits * t / 15 + 2 * t);
    rectangle.width = std::max(twips(record.widthUnits * t / 15 - 4 * t), twipsPerPixel);
    rectangle.height = std::max(twips(record.heightUnits * t / 15 - 4 * t), twipsPerPixel);
    return rectangle;
}

}  // namespace taviro::frames
