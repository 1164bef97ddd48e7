// Conversions of property values.
#include "platform/controls/property_value.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/game_error.h"

namespace taviro::platform {
namespace {

double ParseNumber(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    size_t start = trimmed.find_first_not_of(' ');
    if (start == std::string::npos) throw errors::TypeMismatch();
    trimmed = trimmed.substr(start);
    if (SameName(trimmed, "True")) return -1;
    if (SameName(trimmed, "False")) return 0;
    char* end = nullptr;
    double number = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(number)) throw errors::TypeMismatch();
    return number;
}

}  // namespace

double ToNumber(const PropertyValue& value) {
    if (auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
    if (auto* i = std::get_if<int32_t>(&value)) return *i;
    if (auto* d = std::get_if<double>(&value)) return *d;
    return ParseNumber(std::get<std::string>(value));
}

int32_t ToInteger(const PropertyValue& value) {
    if (auto* i = std::get_if<int32_t>(&value)) return *i;
    double number = std::nearbyint(ToNumber(value));  // the default rounding mode rounds halves to even
    if (!(number >= std::numeric_limits<int32_t>::min() && number <= std::numeric_limits<int32_t>::max()))
        throw errors::Overflow();
    return static_cast<int32_t>(number);
}

bool ToBoolean(const PropertyValue& value) {
    if (auto* b = std::get_if<bool>(&value)) return *b;
    return ToNumber(value) != 0;
}

std::string ToText(const PropertyValue& value) {
    if (auto* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
    if (auto* i = std::get_if<int32_t>(&value)) return std::to_string(*i);
    if (auto* d = std::get_if<double>(&value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", *d);
        return buffer;
    }
    return std::get<std::string>(value);
}

int32_t PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

int TwipsToPixels(const PropertyValue& twips) {
    double pixels = std::round(ToNumber(twips) / kTwipsPerPixel);
    if (!(std::fabs(pixels) <= 1'000'000)) throw errors::Overflow();
    return static_cast<int>(pixels);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace taviro::platform
