// Writing and reading ".sav" files with the editor's field rules.
#include "saved_games/saved_game_file.h"

#include <cmath>
#include <cstdio>

#include "project/field_reader.h"
#include "project/field_value.h"
#include "project/field_writer.h"
#include "vbscript/date_time.h"
#include "vbscript/number_text.h"

namespace taviro::saved_games {
namespace {

using project::FieldReader;
using project::FieldValue;
using project::FieldWriter;

// A Date as "Write #" writes it: "#2024-07-04 10:30:00#", the date alone at midnight and the time
// alone on day 0.
std::string DateLiteral(double serial) {
    vbscript::CivilTime time = vbscript::FromSerialDate(serial);
    bool hasDate = std::trunc(serial) != 0;
    bool hasTime = time.hour != 0 || time.minute != 0 || time.second != 0;
    char buffer[64];
    if (hasDate && hasTime)
        std::snprintf(buffer, sizeof buffer, "#%04d-%02d-%02d %02d:%02d:%02d#", time.year, time.month,
                      time.day, time.hour, time.minute, time.second);
    else if (hasTime)
        std::snprintf(buffer, sizeof buffer, "#%02d:%02d:%02d#", time.hour, time.minute, time.second);
    else
        std::snprintf(buffer, sizeof buffer, "#%04d-%02d-%02d#", time.year, time.month, time.day);
    return buffer;
}

// The serial date of a "#...#" field: a date, a time, or both; nullopt when it is no date.
std::optional<double> ParseDateLiteral(std::string_view text) {
    if (text.size() < 3 || text.front() != '#' || text.back() != '#') return std::nullopt;
    std::string inner(text.substr(1, text.size() - 2));
    vbscript::CivilTime time;
    int used = 0;
    bool hasDate = false;
    int year = 0, month = 0, day = 0;
    if (std::sscanf(inner.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3) {
        hasDate = true;
        time.year = year;
        time.month = month;
        time.day = day;
        inner.erase(0, static_cast<size_t>(used));
        if (!inner.empty() && inner.front() == ' ') inner.erase(0, 1);
    }
    if (!inner.empty()) {
        used = 0;
        if (std::sscanf(inner.c_str(), "%2d:%2d:%2d%n", &time.hour, &time.minute, &time.second, &used) != 3 ||
            static_cast<size_t>(used) != inner.size())
            return std::nullopt;
    } else if (!hasDate) {
        return std::nullopt;
    }
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 ||
        time.minute > 59 || time.second > 59 || time.hour < 0 || time.minute < 0 || time.second < 0 ||
        time.year < 100 || time.year > 9999)
        return std::nullopt;
    return vbscript::ToSerialDate(time);
}

// Writes a variant value; false when it has no form in the file.
bool WriteValue(FieldWriter& writer, const vbscript::Variant& value) {
    using vbscript::VarType;
    switch (value.type()) {
        case VarType::Empty: writer.WriteEmpty(); return true;
        case VarType::Null: writer.WriteNull(); return true;
        case VarType::Boolean: writer.WriteBoolean(value.boolean()); return true;
        case VarType::Integer: writer.WriteNumber(value.integer()); return true;
        case VarType::Long: writer.WriteNumber(value.longValue()); return true;
        case VarType::Byte: writer.WriteNumber(value.byte()); return true;
        case VarType::Double: writer.WriteNumber(value.doubleValue()); return true;
        case VarType::Single: {
            // A Single keeps its seven digits: 0.1 stays 0.1, not 0.100000001490116.
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.7G", value.doubleValue());
            writer.WriteNumber(std::strtod(buffer, nullptr));
            return true;
        }
        case VarType::Currency:
            writer.WriteNumber(static_cast<double>(value.currency()) / 10000.0);
            return true;
        case VarType::Date: writer.WriteRaw(DateLiteral(value.doubleValue())); return true;
        case VarType::String: writer.WriteString(vbscript::ToUtf8(value.string())); return true;
        default: return false;
    }
}

// A number read into a Variant takes the smallest of Integer, Long and Double that holds it.
vbscript::Variant NumberVariant(double number) {
    if (std::trunc(number) == number && number >= -32768 && number <= 32767)
        return vbscript::Variant(static_cast<int16_t>(number));
    if (std::trunc(number) == number && number >= -2147483648.0 && number <= 2147483647.0)
        return vbscript::Variant(static_cast<int32_t>(number));
    return vbscript::Variant(number);
}

std::optional<vbscript::Variant> ReadValue(FieldReader& reader) {
    bool quoted = reader.NextIsQuoted();
    FieldValue field = reader.ReadVariant();
    struct Visitor {
        bool quoted;
        std::optional<vbscript::Variant> operator()(std::monostate) { return vbscript::Variant(); }
        std::optional<vbscript::Variant> operator()(project::NullField) {
            return vbscript::Variant::MakeNull();
        }
        std::optional<vbscript::Variant> operator()(bool b) { return vbscript::Variant(b); }
        std::optional<vbscript::Variant> operator()(double d) { return NumberVariant(d); }
        std::optional<vbscript::Variant> operator()(const std::string& s) {
            if (quoted && s == kIgnoredValue) return std::nullopt;
            if (!quoted)
                if (std::optional<double> serial = ParseDateLiteral(s))
                    return vbscript::Variant::Date(*serial);
            return vbscript::Variant(vbscript::FromUtf8OrWindows1252(s));
        }
    };
    return std::visit(Visitor{quoted}, field);
}

// A count read into a Variant: a number, or text that is one; error 13 otherwise.
double ReadCount(FieldReader& reader) { return project::ToDouble(reader.ReadVariant()); }

}  // namespace

std::string SaveDateText(int year, int month, int day) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%d", month, day, year);
    return buffer;
}

std::string WriteSavedGame(const SavedGame& game) {
    FieldWriter writer;
    // 1. Where the game was.
    writer.WriteString(game.location).EndLine();
    // 2-3. Integer variables.
    writer.WriteNumber(static_cast<double>(game.variables.size())).EndLine();
    for (const auto& [name, value] : game.variables) writer.WriteString(name).WriteNumber(value).EndLine();
    // 4-5. Removed hotspots.
    writer.WriteNumber(static_cast<double>(game.removedHotspots.size())).EndLine();
    for (const auto& [frame, number] : game.removedHotspots)
        writer.WriteString(frame).WriteNumber(number).EndLine();
    // 6-7. Items.
    writer.WriteNumber(static_cast<double>(game.items.size())).EndLine();
    for (const std::string& item : game.items) writer.WriteString(item).EndLine();
    // 8-9. History.
    const std::vector<std::string> noHistory;
    const std::vector<std::string>& history = game.history ? *game.history : noHistory;
    writer.WriteNumber(static_cast<double>(history.size())).EndLine();
    for (const std::string& frame : history) writer.WriteString(frame).EndLine();
    // 10-16. Three empty strings, the project's name and title, the date, the version.
    for (int i = 0; i < 3; ++i) writer.WriteString("").EndLine();
    writer.WriteString(game.projectName).EndLine();
    writer.WriteString(game.projectTitle).EndLine();
    writer.WriteString(game.date).EndLine();
    writer.WriteString(kVersionField).EndLine();
    // 17-18. Variant variables; a value without a form in the file is written as a marker instead.
    size_t variantCount = game.variants ? game.variants->size() : 0;
    writer.WriteNumber(static_cast<double>(variantCount)).EndLine();
    if (game.variants)
        for (const auto& [name, value] : *game.variants) {
            writer.WriteString(name);
            if (!value || !WriteValue(writer, *value)) writer.WriteString(kIgnoredValue);
            writer.EndLine();
        }
    return writer.text();
}

SavedGameReading ReadSavedGame(std::string text) {
    SavedGameReading reading;
    SavedGame& game = reading.game;
    FieldReader reader(std::move(text));
    try {
        // 5. Where the game was.
        game.location = project::ToText(reader.ReadVariant());
        // 6. Integer variables: the count is an Integer.
        int16_t variables = reader.ReadInteger();
        for (int i = 1; i <= variables; ++i) {
            std::string name = reader.ReadString();
            game.variables.emplace_back(std::move(name), reader.ReadInteger());
        }
        // 7. Removed hotspots.
        double removed = ReadCount(reader);
        for (double i = 1; i <= removed; ++i) {
            std::string frame = reader.ReadString();
            game.removedHotspots.emplace_back(std::move(frame), reader.ReadInteger());
        }
        // 8. Items.
        double items = ReadCount(reader);
        for (double i = 1; i <= items; ++i) game.items.push_back(project::ToText(reader.ReadVariant()));
        // 9. The history, when the file goes on.
        if (reader.AtEnd()) return reading;
        game.history.emplace();
        double history = ReadCount(reader);
        for (double i = 1; i <= history; ++i) game.history->push_back(project::ToText(reader.ReadVariant()));
        // 10. Seven descriptive fields.
        if (reader.AtEnd()) return reading;
        reader.Skip(7);
        // 11. Variant variables.
        if (reader.AtEnd()) return reading;
        game.variants.emplace();
        double variants = ReadCount(reader);
        for (double i = 1; i <= variants; ++i) {
            std::string name = reader.ReadString();
            game.variants->emplace_back(std::move(name), ReadValue(reader));
        }
    } catch (const std::exception& failure) {
        reading.failure = AsGameError(failure);
    }
    return reading;
}

}  // namespace taviro::saved_games
