// Field order of the text records. Which of the four style flags is bold, italic, strikeout and
// underline is our reading of the label font's four switches, in the order the editor writes them.
#include "frames/text_record.h"

#include "platform/files/file_system.h"
#include "platform/game_error.h"

namespace taviro::frames {
namespace {

// Runs one read; a bad field, or a field the file ends before, leaves the value as it was: the
// player ignores the failures of each statement here, so a cut-off last text still shows.
template <typename Read>
void Tolerant(project::FieldReader& reader, Read read) {
    if (reader.AtEnd()) return;
    try {
        read();
    } catch (const std::exception&) {
    }
}

}  // namespace

TextRecord ReadTextRecord(project::FieldReader& reader) {
    TextRecord record;
    Tolerant(reader, [&] { reader.Skip(); });
    Tolerant(reader, [&] { record.mergedMarker = reader.ReadInteger(); });
    for (int ignored = 0; ignored < 8; ++ignored) Tolerant(reader, [&] { reader.Skip(); });
    Tolerant(reader, [&] {
        std::string caption = reader.ReadString();
        record.caption = platform::FoldCase(caption) == "[empty]" ? "" : caption;
    });
    Tolerant(reader, [&] { record.leftUnits = reader.ReadDouble(); });
    Tolerant(reader, [&] { record.topUnits = reader.ReadDouble(); });
    Tolerant(reader, [&] { record.bold = reader.ReadBoolean(); });
    Tolerant(reader, [&] { record.italic = reader.ReadBoolean(); });
    Tolerant(reader, [&] {
        std::string font = reader.ReadString();
        if (!font.empty()) record.fontName = font;
    });
    Tolerant(reader, [&] { record.fontSizeUnits = reader.ReadDouble(); });
    Tolerant(reader, [&] { record.strikeout = reader.ReadBoolean(); });
    Tolerant(reader, [&] { record.underline = reader.ReadBoolean(); });
    Tolerant(reader, [&] { record.colour = reader.ReadLong(); });
    Tolerant(reader, [&] { reader.Skip(); });
    return record;
}

double TextFontSizePoints(const TextRecord& record, int twipsPerPixel) {
    return record.fontSizeUnits * twipsPerPixel / 15;
}

platform::FontSpec TextFont(const TextRecord& record) {
    return {.name = record.fontName,
            .sizePoints = TextFontSizePoints(record, platform::kTwipsPerPixel),
            .bold = record.bold,
            .italic = record.italic,
            .underline = record.underline,
            .strikeout = record.strikeout};
}

}  // namespace taviro::frames
