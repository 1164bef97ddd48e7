// The value of a control property as scripts read and write it, with the original's conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace taviro::platform {

using PropertyValue = std::variant<bool, int32_t, double, std::string>;

// Conversions as the original's property setters do them; each throws GameError "Type mismatch"
// for text that is not a number and "Overflow" for a number out of range.
int32_t ToInteger(const PropertyValue& value);  // True is -1; halves round to even
double ToNumber(const PropertyValue& value);
bool ToBoolean(const PropertyValue& value);      // any number but 0 is True; "True"/"False" as text
std::string ToText(const PropertyValue& value);  // True is "True"

// Twips seen by scripts: 15 to the pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
int32_t PixelsToTwips(int pixels);
int TwipsToPixels(const PropertyValue& twips);  // rounded to the nearest pixel

// Names compared as scripts compare them: without regard to ASCII letter case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace taviro::platform
