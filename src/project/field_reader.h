// Reads the editor's text files field by field, with the rules of the original's "Input #":
// strings in double quotes (no escapes, so they may hold commas and line breaks), bare fields up
// to the next comma or line end with blanks trimmed, #TRUE#, #FALSE#, #NULL#, numbers with "."
// as the decimal point. Every read error throws GameError with the original's number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace taviro::project {

// A field read without a type: what the file holds.
struct NullField {
    bool operator==(const NullField&) const = default;
};
using FieldValue = std::variant<std::monostate, NullField, bool, double, std::string>;

// The editor writes text files of a few kilobytes; a larger one than this is damaged, and reading it
// would only slow down every operation that reads it. Readers treat it as a file that cannot be read.
inline constexpr uintmax_t kLargestTextFileBytes = 16 * 1024 * 1024;

// The string that ends every record of the hotspot, action, item and sound files.
inline constexpr std::string_view kRecordSeparator = "----- SEPARATOR -----";

class FieldReader {
public:
    // text: the whole file, already decoded to UTF-8.
    explicit FieldReader(std::string text);

    // True when nothing but blanks and line breaks is left (the original's EOF test).
    bool AtEnd() const;

    std::string ReadString();
    int16_t ReadInteger();  // error 6 "Overflow" out of range
    int32_t ReadLong();     // error 6 "Overflow" out of range
    double ReadDouble();
    bool ReadBoolean();  // #TRUE#/#FALSE#, numbers (non-zero is True), "True"/"False"
    FieldValue ReadVariant();
    void Skip(int fields = 1);

    // The next field as a string, without consuming it; nullopt at the end of the file.
    std::optional<std::string> PeekString() const;
    // True when the next field is a quoted string (a bare "#...#" field is then no literal).
    bool NextIsQuoted() const;

    // Reads fields up to and including the record separator.
    void SkipRecord();

    // Reads the rest of the current line ("Line Input #"); the line break is consumed, not returned.
    std::string ReadLine();

    // Position in the text, for reports and tests.
    size_t position() const { return position_; }

private:
    enum class Kind { Bare, Quoted, True, False, Null };
    struct Field {
        Kind kind = Kind::Bare;
        std::string_view text;
        size_t next = 0;             // where the field after this one starts
        bool endsWithComma = false;  // a further field follows, even an empty one at the end
    };

    Field Scan(size_t at) const;
    Field Next();  // error 62 at the end of the file
    double ReadNumber();

    std::string text_;
    size_t position_ = 0;
    bool fieldFollows_ = false;
};

// Parses a number as the editor writes it: optional sign, digits, ".", exponent with E or D.
// Surrounding blanks are allowed; nullopt when the text is not such a number.
std::optional<double> ParseEditorNumber(std::string_view text);

}  // namespace taviro::project
