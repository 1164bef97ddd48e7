// Arithmetic, comparison and logical operators.
#include "vbscript/operators.h"

#include <cmath>
#include <cstring>

#include "vbscript/conversions.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
// Numeric kinds ordered by how wide a result they need.
enum Rank : int { kByte = 1, kInteger, kLong, kSingle, kDouble, kCurrency, kDate };

// The operand with references followed and objects replaced by their default values.
struct Operand {
    Variant holder;
    const Variant* value;
    explicit Operand(const Variant& v) {
        const Variant& target = v.Target();
        if (target.IsObject()) {
            holder = DefaultValue(target.object());
            value = &holder;
        } else {
            value = &target;
        }
    }
    const Variant& operator*() const { return *value; }
    const Variant* operator->() const { return value; }
};

int RankOf(const Variant& v) {
    switch (v.type()) {
        case VarType::Byte: return kByte;
        case VarType::Empty:
        case VarType::Boolean:
        case VarType::Integer: return kInteger;
        case VarType::Long: return kLong;
        case VarType::Single: return kSingle;
        case VarType::Double:
        case VarType::String: return kDouble;
        case VarType::Currency: return kCurrency;
        case VarType::Date: return kDate;
        default: Throw(err::kTypeMismatch);
    }
}

int ResultRank(int left, int right) {
    int rank = left > right ? left : right;
    if (rank == kSingle && (left == kLong || right == kLong)) return kDouble;
    if (rank == kCurrency && (left == kSingle || left == kDouble || right == kSingle || right == kDouble))
        return kDouble;
    return rank;
}

bool IsWhole(int rank) { return rank <= kLong; }

// A whole-number result in the narrowest of the operand rank, Integer, Long or Double.
Variant NarrowWhole(int64_t value, int rank) {
    if (rank == kByte && value >= 0 && value <= 255) return Variant::Byte(static_cast<uint8_t>(value));
    if (rank <= kInteger && value >= -32768 && value <= 32767) return Variant(static_cast<int16_t>(value));
    if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<int32_t>(value));
    return Variant(static_cast<double>(value));
}

int64_t WholeOf(const Variant& v) {
    switch (v.type()) {
        case VarType::Byte: return v.byte();
        case VarType::Boolean: return v.boolean() ? -1 : 0;
        case VarType::Integer: return v.integer();
        case VarType::Long: return v.longValue();
        default: return 0;
    }
}

Variant FromRank(double value, int rank) {
    switch (rank) {
        case kSingle: {
            if (std::fabs(value) > 3.402823466e38) Throw(err::kOverflow);
            return Variant(static_cast<float>(value));
        }
        case kDate:
            if (value < -657434.0 || value >= 2958466.0) Throw(err::kOverflow);
            return Variant::Date(value);
        default: return Variant(CheckedDouble(value));
    }
}

Variant CurrencyResult(double tenThousandths) {
    if (!(std::fabs(tenThousandths) < 9.2233720368547758e18)) Throw(err::kOverflow);
    return Variant::Currency(static_cast<int64_t>(RoundHalfEven(tenThousandths)));
}

enum class ArithmeticOp { Add, Subtract, Multiply };

Variant Arithmetic(const Variant& leftIn, const Variant& rightIn, ArithmeticOp op) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return Variant::MakeNull();
    int rank = ResultRank(RankOf(*left), RankOf(*right));
    if (IsWhole(rank)) {
        int64_t a = WholeOf(*left), b = WholeOf(*right);
        int64_t result = op == ArithmeticOp::Add ? a + b : op == ArithmeticOp::Subtract ? a - b : a * b;
        return NarrowWhole(result, rank);
    }
    if (rank == kCurrency) {
        double a =
            left->type() == VarType::Currency ? static_cast<double>(left->currency()) : ToDouble(*left) * 1e4;
        double b = right->type() == VarType::Currency ? static_cast<double>(right->currency())
                                                      : ToDouble(*right) * 1e4;
        if (op == ArithmeticOp::Add) return CurrencyResult(a + b);
        if (op == ArithmeticOp::Subtract) return CurrencyResult(a - b);
        return CurrencyResult(a * b / 1e4);
    }
    double a = ToDouble(*left), b = ToDouble(*right);
    if (op == ArithmeticOp::Add) return FromRank(a + b, rank);
    if (op == ArithmeticOp::Subtract) {
        // Date minus Date is a number of days; Date minus a number is still a Date.
        if (left->type() == VarType::Date && right->type() == VarType::Date) return Variant(a - b);
        return FromRank(a - b, rank);
    }
    return FromRank(a * b, rank == kDate ? kDouble : rank);
}

bool IsTextOrEmpty(const Variant& v) { return v.IsString() || v.IsEmpty(); }

// Integer-valued operands of \, Mod and the logical operators, and the subtype of their result.
struct WholeOperands {
    int64_t left, right;
    int rank;
};

WholeOperands ToWholeOperands(const Variant& left, const Variant& right) {
    int leftRank = RankOf(left), rightRank = RankOf(right);
    int rank = (leftRank == kByte && rightRank == kByte)         ? kByte
               : (leftRank <= kInteger && rightRank <= kInteger) ? kInteger
                                                                 : kLong;
    return {ToLong(left), ToLong(right), rank};
}

int CompareNumbers(double a, double b) { return a < b ? -1 : a > b ? 1 : 0; }

int CompareText(const std::u16string& a, const std::u16string& b) {
    int result = a.compare(b);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

bool IsNumberLike(const Variant& v) { return v.IsNumeric() || v.IsEmpty(); }

// -1/0/1, or 2 when either side is Null.
int Order(const Variant& leftIn, const Variant& rightIn, LiteralSide literal) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return 2;
    if (left->IsArray() || right->IsArray()) Throw(err::kTypeMismatch);
    if (left->IsString() && right->IsString()) return CompareText(left->string(), right->string());
    if (left->IsString() || right->IsString()) {
        const Variant& text = left->IsString() ? *left : *right;
        const Variant& other = left->IsString() ? *right : *left;
        bool textOnLeft = left->IsString();
        if (other.IsEmpty()) {
            return textOnLeft ? CompareText(text.string(), u"") : CompareText(u"", text.string());
        }
        bool otherIsLiteral = (literal == LiteralSide::LeftIsLiteral && !textOnLeft) ||
                              (literal == LiteralSide::RightIsLiteral && textOnLeft);
        // A string is greater than any number held in a variable, and read as a number next to a number
        // written in the code (failing with 13 when it is not one).
        int order = otherIsLiteral ? CompareNumbers(ToDouble(text), ToDouble(other)) : 1;
        return textOnLeft ? order : -order;
    }
    if (left->type() == VarType::Currency && right->type() == VarType::Currency) {
        return left->currency() < right->currency() ? -1 : left->currency() > right->currency() ? 1 : 0;
    }
    if (IsNumberLike(*left) && IsNumberLike(*right)) return CompareNumbers(ToDouble(*left), ToDouble(*right));
    Throw(err::kTypeMismatch);
}

Variant Logical(const Variant& leftIn, const Variant& rightIn, int64_t (*combine)(int64_t, int64_t),
                int nullRule) {
    Operand left(leftIn), right(rightIn);
    // nullRule: 0 = Null with anything is Null; 1 = And (False And Null is False); 2 = Or (True Or Null is
    // True); 3 = Imp (False Imp Null and Null Imp True are True)
    if (left->IsNull() || right->IsNull()) {
        const Variant& other = left->IsNull() ? *right : *left;
        if (!other.IsNull()) {
            int64_t bits = ToLong(other);
            if (nullRule == 1 && bits == 0)
                return other.type() == VarType::Boolean ? Variant(false) : NarrowWhole(0, kInteger);
            if (nullRule == 2 && bits == -1 && other.type() == VarType::Boolean) return Variant(true);
            // Imp: False Imp Null and Null Imp True are True, whatever the unknown side holds.
            bool otherOnLeft = right->IsNull();
            if (nullRule == 3 && bits == (otherOnLeft ? 0 : -1))
                return other.type() == VarType::Boolean ? Variant(true) : NarrowWhole(-1, kInteger);
        }
        return Variant::MakeNull();
    }
    if (left->type() == VarType::Boolean && right->type() == VarType::Boolean) {
        return Variant(combine(WholeOf(*left), WholeOf(*right)) != 0);
    }
    WholeOperands operands = ToWholeOperands(*left, *right);
    int64_t result = combine(operands.left, operands.right);
    if (operands.rank == kByte) return Variant::Byte(static_cast<uint8_t>(result & 0xFF));
    if (operands.rank == kInteger) return Variant(static_cast<int16_t>(result));
    return Variant(static_cast<int32_t>(result));
}
}  // namespace

Variant Add(const Variant& leftIn, const Variant& rightIn) {
    const Variant& l = leftIn.Target();
    const Variant& r = rightIn.Target();
    if (l.type() == VarType::Integer && r.type() == VarType::Integer) {
        return NarrowWhole(int64_t{l.integer()} + r.integer(), kInteger);
    }
    if (l.type() == VarType::Double && r.type() == VarType::Double) {
        return Variant(CheckedDouble(l.doubleValue() + r.doubleValue()));
    }
    if ((l.IsString() && IsTextOrEmpty(r)) || (r.IsString() && l.IsEmpty())) {
        CheckStringLength((l.IsString() ? l.string().size() : 0) + (r.IsString() ? r.string().size() : 0));
        return Variant(ToString(l) + ToString(r));
    }
    return Arithmetic(l, r, ArithmeticOp::Add);
}

Variant Subtract(const Variant& left, const Variant& right) {
    const Variant& l = left.Target();
    const Variant& r = right.Target();
    if (l.type() == VarType::Integer && r.type() == VarType::Integer) {
        return NarrowWhole(int64_t{l.integer()} - r.integer(), kInteger);
    }
    return Arithmetic(l, r, ArithmeticOp::Subtract);
}

Variant Multiply(const Variant& left, const Variant& right) {
    return Arithmetic(left, right, ArithmeticOp::Multiply);
}

Variant Divide(const Variant& leftIn, const Variant& rightIn) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return Variant::MakeNull();
    RankOf(*left), RankOf(*right);
    double a = ToDouble(*left), b = ToDouble(*right);
    if (b == 0) Throw(a == 0 ? err::kOverflow : err::kDivisionByZero);
    return Variant(CheckedDouble(a / b));
}

Variant IntDivide(const Variant& leftIn, const Variant& rightIn) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return Variant::MakeNull();
    WholeOperands operands = ToWholeOperands(*left, *right);
    if (operands.right == 0) Throw(err::kDivisionByZero);
    int64_t result = operands.left / operands.right;
    if (result > INT32_MAX) Throw(err::kOverflow);
    return NarrowWhole(result, operands.rank);
}

Variant Modulo(const Variant& leftIn, const Variant& rightIn) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return Variant::MakeNull();
    WholeOperands operands = ToWholeOperands(*left, *right);
    if (operands.right == 0) Throw(err::kDivisionByZero);
    return NarrowWhole(operands.left % operands.right, operands.rank);
}

Variant Power(const Variant& leftIn, const Variant& rightIn) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() || right->IsNull()) return Variant::MakeNull();
    double base = ToDouble(*left), exponent = ToDouble(*right);
    if (base == 0 && exponent < 0) Throw(err::kInvalidProcedureCall);
    double result = std::pow(base, exponent);
    if (std::isnan(result)) Throw(err::kInvalidProcedureCall);
    return Variant(CheckedDouble(result));
}

Variant Negate(const Variant& operandIn) {
    Operand operand(operandIn);
    const Variant& v = *operand;
    switch (v.type()) {
        case VarType::Null: return Variant::MakeNull();
        case VarType::Empty: return Variant(int16_t{0});
        case VarType::Boolean:
        case VarType::Byte:
        case VarType::Integer: return NarrowWhole(-WholeOf(v), kInteger);
        case VarType::Long: return NarrowWhole(-WholeOf(v), kLong);
        case VarType::Single: return Variant(static_cast<float>(-v.doubleValue()));
        case VarType::Double: return Variant(-v.doubleValue());
        case VarType::Date: return Variant::Date(-v.doubleValue());
        case VarType::Currency:
            if (v.currency() == INT64_MIN) Throw(err::kOverflow);
            return Variant::Currency(-v.currency());
        case VarType::String: return Variant(-ToDouble(v));
        default: Throw(err::kTypeMismatch);
    }
}

Variant Concat(const Variant& leftIn, const Variant& rightIn) {
    Operand left(leftIn), right(rightIn);
    if (left->IsNull() && right->IsNull()) return Variant::MakeNull();
    if (left->IsArray() || right->IsArray()) Throw(err::kTypeMismatch);
    std::u16string text = left->IsNull() ? std::u16string() : ToString(*left);
    if (!right->IsNull()) {
        if (right->IsString()) {
            CheckStringLength(text.size() + right->string().size());
            text += right->string();
        } else {
            text += ToString(*right);
        }
    }
    return Variant(std::move(text));
}

Variant Compare(const Variant& left, const Variant& right, Comparison comparison, LiteralSide literal) {
    int order = Order(left, right, literal);
    if (order == 2) return Variant::MakeNull();
    switch (comparison) {
        case Comparison::Equal: return Variant(order == 0);
        case Comparison::NotEqual: return Variant(order != 0);
        case Comparison::Less: return Variant(order < 0);
        case Comparison::LessEqual: return Variant(order <= 0);
        case Comparison::Greater: return Variant(order > 0);
        case Comparison::GreaterEqual: return Variant(order >= 0);
    }
    return Variant::MakeNull();
}

int CompareValues(const Variant& left, const Variant& right, LiteralSide literal) {
    return Order(left, right, literal);
}

Variant Not(const Variant& operandIn) {
    Operand operand(operandIn);
    const Variant& v = *operand;
    switch (v.type()) {
        case VarType::Null: return Variant::MakeNull();
        case VarType::Boolean: return Variant(!v.boolean());
        case VarType::Byte: return Variant::Byte(static_cast<uint8_t>(~v.byte()));
        case VarType::Empty:
        case VarType::Integer: return Variant(static_cast<int16_t>(~WholeOf(v)));
        default: return Variant(static_cast<int32_t>(~ToLong(v)));
    }
}

Variant And(const Variant& left, const Variant& right) {
    return Logical(
        left, right, [](int64_t a, int64_t b) { return a & b; }, 1);
}
Variant Or(const Variant& left, const Variant& right) {
    return Logical(
        left, right, [](int64_t a, int64_t b) { return a | b; }, 2);
}
Variant Xor(const Variant& left, const Variant& right) {
    return Logical(
        left, right, [](int64_t a, int64_t b) { return a ^ b; }, 0);
}
Variant Eqv(const Variant& left, const Variant& right) {
    return Logical(
        left, right, [](int64_t a, int64_t b) { return ~(a ^ b); }, 0);
}
Variant Imp(const Variant& left, const Variant& right) {
    return Logical(
        left, right, [](int64_t a, int64_t b) { return ~a | b; }, 3);
}

bool Is(const Variant& leftIn, const Variant& rightIn) {
    const Variant& left = leftIn.Target();
    const Variant& right = rightIn.Target();
    if (!left.IsObject() || !right.IsObject()) Throw(err::kObjectRequired);
    return left.object() == right.object();
}

bool IsTrue(const Variant& conditionIn) {
    const Variant& condition = conditionIn.Target();
    if (condition.type() == VarType::Boolean) return condition.boolean();
    if (condition.IsNull()) return false;
    Operand value(condition);
    if (value->IsNull()) return false;
    return ToBoolean(*value);
}

}  // namespace taviro::vbscript
