// Field scanning with the original's "Input #" rules.
#include "project/field_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/game_error.h"

namespace taviro::project {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Characters that may follow the last field without making a further field: blanks, line
// breaks, NULs and the DOS end-of-file mark.
bool IsTrailing(char c) { return IsBlank(c) || IsLineBreak(c) || c == '\0' || c == '\x1a'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// Rounds half to even, as the original's integer conversions do.
double RoundHalfEven(double value) { return std::nearbyint(value); }

}  // namespace

std::optional<double> ParseEditorNumber(std::string_view text) {
    text = TrimBlanks(text);
    std::string normalized;
    normalized.reserve(text.size());
    size_t i = 0;
    size_t digits = 0;
    auto copyDigits = [&] {
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
            normalized += text[i];
        }
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalized += text[i++];
    copyDigits();
    if (i < text.size() && text[i] == '.') {
        normalized += text[i++];
        copyDigits();
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        normalized += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalized += text[i++];
        size_t exponentDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            normalized += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    const char* begin = normalized.data() + (normalized[0] == '+' ? 1 : 0);
    double value = 0;
    auto [end, error] = std::from_chars(begin, normalized.data() + normalized.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small is zero; too large is infinite, which the typed reads report as an overflow.
        bool tiny = normalized.find("e-") != std::string::npos;
        bool negative = normalized[0] == '-';
        return tiny ? 0.0 : negative ? -HUGE_VAL : HUGE_VAL;
    }
    if (error != std::errc() || end != normalized.data() + normalized.size()) return std::nullopt;
    return value;
}

FieldReader::FieldReader(std::string text) : text_(std::move(text)) {}

bool FieldReader::AtEnd() const {
    if (fieldFollows_) return false;
    for (size_t i = position_; i < text_.size(); ++i) {
        if (!IsTrailing(text_[i])) return false;
    }
    return true;
}

FieldReader::Field FieldReader::Scan(size_t at) const {
    std::string_view all(text_);
    while (at < all.size() && IsBlank(all[at])) ++at;
    Field field;
    size_t end;
    if (at < all.size() && all[at] == '"') {
        // A quoted field ends only at the next quote; anything between it and the delimiter is dropped.
        size_t close = all.find('"', at + 1);
        if (close == std::string_view::npos) close = all.size();
        field.kind = Kind::Quoted;
        field.text = all.substr(at + 1, close - at - 1);
        end = close == all.size() ? close : close + 1;
        while (end < all.size() && all[end] != ',' && !IsLineBreak(all[end])) ++end;
    } else {
        end = at;
        while (end < all.size() && all[end] != ',' && !IsLineBreak(all[end])) ++end;
        field.text = TrimBlanks(all.substr(at, end - at));
        if (field.text.size() > 2 && field.text.front() == '#' && field.text.back() == '#') {
            std::string_view inner = field.text.substr(1, field.text.size() - 2);
            if (EqualsIgnoringCase(inner, "TRUE")) field.kind = Kind::True;
            if (EqualsIgnoringCase(inner, "FALSE")) field.kind = Kind::False;
            if (EqualsIgnoringCase(inner, "NULL")) field.kind = Kind::Null;
        }
    }
    if (end < all.size()) {
        field.endsWithComma = all[end] == ',';
        if (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ++end;
        ++end;
    }
    field.next = end;
    return field;
}

FieldReader::Field FieldReader::Next() {
    if (AtEnd()) throw errors::InputPastEndOfFile();
    Field field = Scan(position_);
    position_ = field.next;
    fieldFollows_ = field.endsWithComma;
    return field;
}

std::string FieldReader::ReadString() {
    Field field = Next();
    switch (field.kind) {
        case Kind::True: return "True";
        case Kind::False: return "False";
        case Kind::Null: throw errors::InvalidUseOfNull();
        case Kind::Bare:
        case Kind::Quoted: break;
    }
    return std::string(field.text);
}

double FieldReader::ReadNumber() {
    Field field = Next();
    switch (field.kind) {
        case Kind::True: return -1;
        case Kind::False: return 0;
        case Kind::Null: throw errors::InvalidUseOfNull();
        case Kind::Bare:
        case Kind::Quoted: break;
    }
    if (TrimBlanks(field.text).empty()) return 0;
    std::optional<double> number = ParseEditorNumber(field.text);
    if (!number) throw errors::TypeMismatch();
    if (!std::isfinite(*number)) throw errors::Overflow();
    return *number;
}

int16_t FieldReader::ReadInteger() {
    double value = RoundHalfEven(ReadNumber());
    if (value < -32768 || value > 32767) throw errors::Overflow();
    return static_cast<int16_t>(value);
}

int32_t FieldReader::ReadLong() {
    double value = RoundHalfEven(ReadNumber());
    if (value < -2147483648.0 || value > 2147483647.0) throw errors::Overflow();
    return static_cast<int32_t>(value);
}

double FieldReader::ReadDouble() { return ReadNumber(); }

bool FieldReader::ReadBoolean() {
    Field field = Next();
    switch (field.kind) {
        case Kind::True: return true;
        case Kind::False: return false;
        case Kind::Null: throw errors::InvalidUseOfNull();
        case Kind::Bare:
        case Kind::Quoted: break;
    }
    std::string_view text = TrimBlanks(field.text);
    if (text.empty()) return false;
    if (EqualsIgnoringCase(text, "True")) return true;
    if (EqualsIgnoringCase(text, "False")) return false;
    std::optional<double> number = ParseEditorNumber(text);
    if (!number) throw errors::TypeMismatch();
    return *number != 0;
}

FieldValue FieldReader::ReadVariant() {
    Field field = Next();
    switch (field.kind) {
        case Kind::True: return true;
        case Kind::False: return false;
        case Kind::Null: return NullField{};
        case Kind::Quoted: return std::string(field.text);
        case Kind::Bare: break;
    }
    if (field.text.empty()) return std::monostate{};
    if (std::optional<double> number = ParseEditorNumber(field.text)) return *number;
    return std::string(field.text);
}

void FieldReader::Skip(int fields) {
    for (int i = 0; i < fields; ++i) Next();
}

std::optional<std::string> FieldReader::PeekString() const {
    if (AtEnd()) return std::nullopt;
    return std::string(Scan(position_).text);
}

bool FieldReader::NextIsQuoted() const { return !AtEnd() && Scan(position_).kind == Kind::Quoted; }

void FieldReader::SkipRecord() {
    while (true) {
        Field field = Next();
        if (field.text == kRecordSeparator) return;
    }
}

std::string FieldReader::ReadLine() {
    if (position_ >= text_.size()) throw errors::InputPastEndOfFile();
    size_t end = position_;
    while (end < text_.size() && !IsLineBreak(text_[end])) ++end;
    std::string line = text_.substr(position_, end - position_);
    fieldFollows_ = false;
    if (end < text_.size()) {
        if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ++end;
        ++end;
    }
    position_ = end;
    return line;
}

}  // namespace taviro::project
