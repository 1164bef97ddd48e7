// Conversions of untyped fields (FieldValue) with the original's rules, for the "Variant" fields
// of the frame and action files.
#pragma once

#include <cstdint>
#include <string>

#include "project/field_reader.h"

namespace taviro::project {

// The value as text: numbers as the original prints them, True/False, "" for Empty and Null.
std::string ToText(const FieldValue& value);

// The leading number of the value's text, as the original's Val: "12abc" is 12, "abc" is 0.
double NumericValue(const FieldValue& value);

// A flag: True when the value is a non-zero number, True, or a text whose leading number is not 0.
bool IsSet(const FieldValue& value);

// Conversions to typed values; error 13 for text that is not a number, error 6 out of range.
double ToDouble(const FieldValue& value);
int16_t ToInteger(const FieldValue& value);
bool ToBoolean(const FieldValue& value);

// The leading number of a text, as Val: blanks skipped, sign, digits, ".", exponent.
double Val(std::string_view text);

}  // namespace taviro::project
