// Conversions of Variants between subtypes, with VBScript's rounding, overflow and Null rules.
#pragma once

#include <cstdint>
#include <string>

#include "vbscript/variant.h"

namespace taviro::vbscript {

// The plain value a Variant stands for: references followed, objects replaced by their default value.
Variant ValueOf(const Variant& value);

// Round half to even, as CInt, CLng and Round do.
double RoundHalfEven(double value);

// Each throws 13 for text that is not a number (or an array), 94 for Null, 6 when out of range.
double ToDouble(const Variant& value);
int32_t ToLong(const Variant& value);
int16_t ToInteger(const Variant& value);
uint8_t ToByte(const Variant& value);
float ToSingle(const Variant& value);
int64_t ToCurrency(const Variant& value);  // in ten-thousandths
// A text reads as a date first, then as a number; a date text without a year takes yearWhenMissing.
double ToDate(const Variant& value, int yearWhenMissing);
bool ToBoolean(const Variant& value);
std::u16string ToString(const Variant& value);

// The subtype conversions CInt, CLng, ... give, as Variants; CDate, which needs the year, is ToDate.
Variant ConvertTo(const Variant& value, VarType type);

// A Double result checked for overflow (VBScript raises 6 rather than producing infinity).
double CheckedDouble(double value);

// TypeName() of a value: "Integer", "String", "Variant()", a class name, "Nothing", ...
std::u16string TypeNameOf(const Variant& value);

}  // namespace taviro::vbscript
