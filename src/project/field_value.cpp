// Conversions of untyped fields.
#include "project/field_value.h"

#include <cctype>
#include <cmath>

#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_writer.h"

namespace taviro::project {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

double Val(std::string_view text) {
    // Val ignores blanks anywhere in the number, so strip them before parsing the longest prefix.
    std::string compact;
    for (char c : text) {
        if (!IsBlank(c)) compact += c;
    }
    size_t length = 0;
    auto digitsAt = [&](size_t i) {
        size_t count = 0;
        while (i + count < compact.size() && std::isdigit(static_cast<unsigned char>(compact[i + count])))
            ++count;
        return count;
    };
    if (length < compact.size() && (compact[length] == '+' || compact[length] == '-')) ++length;
    size_t integerDigits = digitsAt(length);
    length += integerDigits;
    size_t fractionDigits = 0;
    if (length < compact.size() && compact[length] == '.') {
        fractionDigits = digitsAt(length + 1);
        length += 1 + fractionDigits;
    }
    if (integerDigits + fractionDigits == 0) return 0;
    if (length < compact.size() && std::string_view("EeDd").find(compact[length]) != std::string_view::npos) {
        size_t exponent = length + 1;
        if (exponent < compact.size() && (compact[exponent] == '+' || compact[exponent] == '-')) ++exponent;
        if (size_t digits = digitsAt(exponent); digits > 0) length = exponent + digits;
    }
    std::optional<double> number = ParseEditorNumber(std::string_view(compact).substr(0, length));
    if (!number || !std::isfinite(*number)) throw errors::Overflow();
    return *number;
}

std::string ToText(const FieldValue& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return ""; }
        std::string operator()(NullField) const { return ""; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(double d) const { return FormatEditorNumber(d); }
        std::string operator()(const std::string& s) const { return s; }
    };
    return std::visit(Visitor{}, value);
}

double NumericValue(const FieldValue& value) {
    if (const bool* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
    if (const double* d = std::get_if<double>(&value)) return *d;
    return Val(ToText(value));
}

bool IsSet(const FieldValue& value) { return NumericValue(value) != 0; }

double ToDouble(const FieldValue& value) {
    if (const std::string* text = std::get_if<std::string>(&value)) {
        if (text->empty()) throw errors::TypeMismatch();
        std::optional<double> number = ParseEditorNumber(*text);
        if (!number) throw errors::TypeMismatch();
        if (!std::isfinite(*number)) throw errors::Overflow();
        return *number;
    }
    if (std::holds_alternative<NullField>(value)) throw errors::InvalidUseOfNull();
    return NumericValue(value);
}

int16_t ToInteger(const FieldValue& value) {
    double number = std::nearbyint(ToDouble(value));
    if (number < -32768 || number > 32767) throw errors::Overflow();
    return static_cast<int16_t>(number);
}

bool ToBoolean(const FieldValue& value) {
    if (const std::string* text = std::get_if<std::string>(&value)) {
        std::string lower = platform::FoldCase(*text);
        if (lower == "true") return true;
        if (lower == "false") return false;
    }
    return ToDouble(value) != 0;
}

}  // namespace taviro::project
