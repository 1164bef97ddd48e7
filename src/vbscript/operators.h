// VBScript's operators on Variants, with their result subtypes, overflow promotion and Null rules.
#pragma once

#include "vbscript/variant.h"

namespace taviro::vbscript {

// Operands are plain values or references (followed); objects give their default value.
Variant Add(const Variant& left, const Variant& right);       // numbers add; two strings concatenate
Variant Subtract(const Variant& left, const Variant& right);  // Date - Date is a Double
Variant Multiply(const Variant& left, const Variant& right);
Variant Divide(const Variant& left, const Variant& right);     // always Double
Variant IntDivide(const Variant& left, const Variant& right);  // "\": operands rounded to Long first
Variant Modulo(const Variant& left, const Variant& right);
Variant Power(const Variant& left, const Variant& right);
Variant Negate(const Variant& operand);
Variant Concat(const Variant& left, const Variant& right);  // Null only when both are Null

enum class Comparison : uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };
// How a string meets a number: by default the number is the smaller; when the number is written as a
// literal in the script, the string is read as a number, as the original engine does.
enum class LiteralSide : uint8_t { None, LeftIsLiteral, RightIsLiteral };
// A Boolean, or Null when either side is Null.
Variant Compare(const Variant& left, const Variant& right, Comparison comparison,
                LiteralSide literal = LiteralSide::None);
// -1, 0 or 1 comparing as "=" does; used by Select Case. Null compares as unequal (returns 2).
int CompareValues(const Variant& left, const Variant& right, LiteralSide literal = LiteralSide::None);

Variant Not(const Variant& operand);
Variant And(const Variant& left, const Variant& right);
Variant Or(const Variant& left, const Variant& right);
Variant Xor(const Variant& left, const Variant& right);
Variant Eqv(const Variant& left, const Variant& right);
Variant Imp(const Variant& left, const Variant& right);
// Object identity; throws 424 when either side is not an object.
bool Is(const Variant& left, const Variant& right);

// The truth of a condition (If, While, ...): Null is False; text must read as a Boolean or number.
bool IsTrue(const Variant& condition);

}  // namespace taviro::vbscript
