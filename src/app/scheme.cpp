// Field order of "Scheme.txt".
#include "app/scheme.h"

#include "platform/game_error.h"

namespace taviro::app {
namespace {

// Reads a value; a bad field gives nullopt, the end of the file ends the reading.
template <typename Read>
auto Tolerant(Read read) -> std::optional<decltype(read())> {
    try {
        return read();
    } catch (const GameError& error) {
        if (error.number() == errors::InputPastEndOfFile().number()) throw;
        return std::nullopt;
    }
}

}  // namespace

std::optional<Scheme> ReadScheme(project::FieldReader& reader) {
    Scheme scheme;
    try {
        // 1-3. Three skipped values, then the button pictures.
        reader.Skip(3);
        int16_t count = Tolerant([&] { return reader.ReadInteger(); }).value_or(0);
        if (count <= 0) return std::nullopt;
        for (int i = 0; i < count; ++i) {
            scheme.buttonPictures.push_back(
                Tolerant([&] { return reader.ReadString(); }).value_or("[default]"));
        }
        // 5-9. The format, the background and the colours.
        scheme.format = Tolerant([&] { return reader.ReadInteger(); }).value_or(0);
        if (scheme.format == 0) return std::nullopt;
        scheme.background = Tolerant([&] { return reader.ReadString(); }).value_or("");
        scheme.titleColour = Tolerant([&] { return reader.ReadLong(); });
        scheme.labelColour = Tolerant([&] { return reader.ReadLong(); });
        if (scheme.format >= 4) scheme.buttonColour = Tolerant([&] { return reader.ReadLong(); });
        // 11-12. Optional: the title's value, then the logo.
        if (reader.AtEnd()) return scheme;
        reader.Skip(3);
        scheme.titleValue = reader.ReadVariant();
        if (reader.AtEnd()) return scheme;
        reader.Skip();
        scheme.logoStyle = Tolerant([&] { return reader.ReadInteger(); }).value_or(0);
        scheme.logoPlacement = Tolerant([&] { return reader.ReadBoolean(); }).value_or(false);
    } catch (const GameError&) {
        // A scheme that ends early is silently incomplete.
    }
    return scheme;
}

}  // namespace taviro::app
