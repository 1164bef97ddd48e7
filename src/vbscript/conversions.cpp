// Subtype conversions.
#include "vbscript/conversions.h"

#include <cmath>

#include "vbscript/array.h"
#include "vbscript/date_time.h"
#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
constexpr double kCurrencyLimit = 922337203685477.5807;

double StringToDouble(const std::u16string& text) {
    double number;
    if (ParseLocalNumber(text, number)) return number;
    Throw(err::kTypeMismatch);
}
}  // namespace

Variant ValueOf(const Variant& value) {
    const Variant& target = value.Target();
    if (target.IsObject()) return DefaultValue(target.object());
    return target;
}

double RoundHalfEven(double value) {
    double rounded = std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
    return rounded;
}

double CheckedDouble(double value) {
    if (!std::isfinite(value)) Throw(err::kOverflow);
    return value;
}

double ToDouble(const Variant& input) {
    const Variant& value = input.Target();
    switch (value.type()) {
        case VarType::Empty: return 0;
        case VarType::Null: Throw(err::kInvalidUseOfNull);
        case VarType::Boolean: return value.boolean() ? -1 : 0;
        case VarType::Byte: return value.byte();
        case VarType::Integer: return value.integer();
        case VarType::Long: return value.longValue();
        case VarType::Single:
        case VarType::Double:
        case VarType::Date: return value.doubleValue();
        case VarType::Currency: return static_cast<double>(value.currency()) / 10000.0;
        case VarType::String: return StringToDouble(value.string());
        case VarType::Object: return ToDouble(DefaultValue(value.object()));
        case VarType::Error: return value.errorCode();
        default: Throw(err::kTypeMismatch);
    }
}

int32_t ToLong(const Variant& input) {
    const Variant& value = input.Target();
    switch (value.type()) {
        case VarType::Long: return value.longValue();
        case VarType::Integer: return value.integer();
        case VarType::Byte: return value.byte();
        case VarType::Boolean: return value.boolean() ? -1 : 0;
        case VarType::Empty: return 0;
        default: break;
    }
    double rounded = RoundHalfEven(ToDouble(value));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) Throw(err::kOverflow);
    return static_cast<int32_t>(rounded);
}

int16_t ToInteger(const Variant& value) {
    double rounded =
        value.Target().type() == VarType::Integer ? value.Target().integer() : RoundHalfEven(ToDouble(value));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) Throw(err::kOverflow);
    return static_cast<int16_t>(rounded);
}

uint8_t ToByte(const Variant& value) {
    double rounded = RoundHalfEven(ToDouble(value));
    if (!(rounded >= 0 && rounded <= 255.0)) Throw(err::kOverflow);
    return static_cast<uint8_t>(rounded);
}

float ToSingle(const Variant& value) {
    double number = ToDouble(value);
    if (std::fabs(number) > 3.402823466e38) Throw(err::kOverflow);
    return static_cast<float>(number);
}

int64_t ToCurrency(const Variant& input) {
    const Variant& value = input.Target();
    if (value.type() == VarType::Currency) return value.currency();
    double number = ToDouble(value);
    if (!(std::fabs(number) <= kCurrencyLimit)) Throw(err::kOverflow);
    return static_cast<int64_t>(RoundHalfEven(number * 10000.0));
}

double ToDate(const Variant& input, int yearWhenMissing) {
    const Variant& value = input.Target();
    if (value.IsString()) {
        double serial;
        if (ParseDate(value.string(), serial, yearWhenMissing, CurrentLocale().dateOrder)) return serial;
        double number;
        if (ParseLocalNumber(value.string(), number)) return number;
        Throw(err::kTypeMismatch);
    }
    double serial = ToDouble(value);
    if (serial < -657434.0 || serial >= 2958466.0) Throw(err::kOverflow);
    return serial;
}

bool ToBoolean(const Variant& input) {
    const Variant& value = input.Target();
    switch (value.type()) {
        case VarType::Boolean: return value.boolean();
        case VarType::String: {
            std::u16string folded = FoldCase(value.string());
            if (folded == u"true" || folded == u"#true#") return true;
            if (folded == u"false" || folded == u"#false#") return false;
            return StringToDouble(value.string()) != 0;
        }
        default: return ToDouble(value) != 0;
    }
}

std::u16string ToString(const Variant& input) {
    const Variant& value = input.Target();
    switch (value.type()) {
        case VarType::String: return value.string();
        case VarType::Empty: return {};
        case VarType::Null: Throw(err::kInvalidUseOfNull);
        case VarType::Boolean: return value.boolean() ? u"True" : u"False";
        case VarType::Byte: return FormatInteger(value.byte());
        case VarType::Integer: return FormatInteger(value.integer());
        case VarType::Long: return FormatInteger(value.longValue());
        case VarType::Single:
            return LocalizeSeparators(FormatSingle(static_cast<float>(value.doubleValue())));
        case VarType::Double: return LocalizeSeparators(FormatDouble(value.doubleValue()));
        case VarType::Currency: return LocalizeSeparators(FormatCurrency(value.currency()));
        case VarType::Date: return FormatDate(value.doubleValue());
        case VarType::Error: return u"Error " + FormatInteger(value.errorCode());
        case VarType::Object: return ToString(DefaultValue(value.object()));
        default: Throw(err::kTypeMismatch);
    }
}

Variant ConvertTo(const Variant& value, VarType type) {
    switch (type) {
        case VarType::Integer: return Variant(ToInteger(value));
        case VarType::Long: return Variant(ToLong(value));
        case VarType::Byte: return Variant::Byte(ToByte(value));
        case VarType::Single: return Variant(ToSingle(value));
        case VarType::Double: return Variant(ToDouble(value));
        case VarType::Currency: return Variant::Currency(ToCurrency(value));
        case VarType::Boolean: return Variant(ToBoolean(value));
        case VarType::String: return Variant(ToString(value));
        default: Throw(err::kTypeMismatch);
    }
}

std::u16string TypeNameOf(const Variant& input) {
    const Variant& value = input.Target();
    switch (value.type()) {
        case VarType::Empty: return u"Empty";
        case VarType::Null: return u"Null";
        case VarType::Integer: return u"Integer";
        case VarType::Long: return u"Long";
        case VarType::Single: return u"Single";
        case VarType::Double: return u"Double";
        case VarType::Currency: return u"Currency";
        case VarType::Date: return u"Date";
        case VarType::String: return u"String";
        case VarType::Object: return value.object() ? value.object()->TypeName() : u"Nothing";
        case VarType::Error: return u"Error";
        case VarType::Boolean: return u"Boolean";
        case VarType::Byte: return u"Byte";
        case VarType::Array: return u"Variant()";
        default: return u"Unknown";
    }
}

}  // namespace taviro::vbscript
