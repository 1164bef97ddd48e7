// Numbers as VBScript writes them into text, and text read back as numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taviro::vbscript {

// A Double as CStr writes it: up to 15 significant digits, "1E+20", "1E-05", "0.1", "-0.5".
std::u16string FormatDouble(double value);
// A Single: up to 7 significant digits.
std::u16string FormatSingle(float value);
// A Currency given in ten-thousandths: fixed notation, no trailing zeros ("1.5", "-3").
std::u16string FormatCurrency(int64_t tenThousandths);
// A whole number in decimal.
std::u16string FormatInteger(int64_t value);

// Reads text as a number the way conversions do: surrounding blanks allowed, an optional sign,
// decimal with optional fraction and exponent ("1e3"), commas grouping the whole part ("1,000"),
// or &H hexadecimal and &O octal.
// False when the text is not a number ("", "$5", "1x").
bool ParseNumber(std::u16string_view text, double& value);

// UTF-16 from ASCII text.
std::u16string Widen(std::string_view ascii);
// UTF-8 from UTF-16 (unpaired surrogates become U+FFFD).
std::string ToUtf8(std::u16string_view text);
// UTF-16 from UTF-8; bytes that are not valid UTF-8 make the whole text decode as Windows-1252.
std::u16string FromUtf8OrWindows1252(std::string_view bytes);

}  // namespace taviro::vbscript
