// FormatNumber, FormatCurrency and FormatPercent in the current locale: its separators, its currency
// symbol and where it writes negative amounts of money.
#include <cmath>
#include <cstdio>
#include <string>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
struct NumberFormat {
    int digits = 2;
    bool leadingDigit = true;
    bool parentheses = false;
    bool groupDigits = true;
};

// Tristate arguments: vbTrue (-1), vbFalse (0), vbUseDefault (-2) or omitted for the default.
bool TristateArgument(std::span<Variant> a, size_t i, bool fallback) {
    if (!HasArg(a, i)) return fallback;
    int32_t value = ToLong(Arg(a, i));
    return value == -2 ? fallback : value != 0;
}

NumberFormat FormatArguments(std::span<Variant> a, bool parenthesesByDefault) {
    NumberFormat format;
    if (HasArg(a, 1)) {
        int32_t digits = ToLong(Arg(a, 1));
        if (digits < -1 || digits > 255) Throw(err::kInvalidProcedureCall);
        if (digits != -1) format.digits = digits;
    }
    format.leadingDigit = TristateArgument(a, 2, true);
    format.parentheses = TristateArgument(a, 3, parenthesesByDefault);
    format.groupDigits = TristateArgument(a, 4, true);
    return format;
}

// The magnitude of value with the given number of decimals, rounded half away from zero on its
// 15 significant digits (the digits CStr shows), so 0.125 gives 0.13 and 2.675 gives 2.68.
std::string FixedDigits(double value, int decimals, bool& isZero) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string mantissa;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.') mantissa += *p;
    }
    int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    if (value == 0) exponent = 0;
    int before = exponent + 1;  // digits before the decimal point
    int keep = before + decimals;
    std::string digits;
    if (keep < 0) {
        digits.clear();
    } else if (keep >= static_cast<int>(mantissa.size())) {
        digits = mantissa + std::string(static_cast<size_t>(keep) - mantissa.size(), '0');
    } else {
        digits = mantissa.substr(0, static_cast<size_t>(keep));
        if (mantissa[static_cast<size_t>(keep)] >= '5') {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++before;
            }
        }
    }
    // Pad on the left so there is at least one digit before the point and all the decimals.
    int total = before + decimals;
    if (static_cast<int>(digits.size()) < total) {
        digits.insert(0, static_cast<size_t>(total) - digits.size(), '0');
    }
    if (before < 1) {
        digits.insert(0, static_cast<size_t>(1 - before), '0');
        before = 1;
    }
    isZero = digits.find_first_not_of('0') == std::string::npos;
    std::string whole = digits.substr(0, static_cast<size_t>(before));
    size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    std::string fraction = digits.substr(static_cast<size_t>(before));
    return fraction.empty() ? whole : whole + "." + fraction;
}

// The number with its prefix and suffix; a minus goes before the prefix, or after it when
// minusAfterPrefix ("€ -1,00").
std::u16string Formatted(double value, const NumberFormat& format, std::u16string_view prefix,
                         std::u16string_view suffix, bool minusAfterPrefix = false) {
    bool isZero = false;
    std::string text = FixedDigits(value, format.digits, isZero);
    size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string rest = point == std::string::npos ? "" : text.substr(point);
    if (format.groupDigits) {
        for (size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, ",");
    }
    if (whole == "0" && !format.leadingDigit && !rest.empty()) whole.clear();
    std::u16string number = LocalizeSeparators(Widen(whole + rest));
    bool negative = value < 0 && !isZero;
    if (negative && !format.parentheses && minusAfterPrefix)
        return std::u16string(prefix) + u"-" + number + std::u16string(suffix);
    std::u16string body = std::u16string(prefix) + number + std::u16string(suffix);
    if (!negative) return body;
    return format.parentheses ? u"(" + body + u")" : u"-" + body;
}

Variant FormatNumber(Vm&, std::span<Variant> a) {
    NumberFormat format = FormatArguments(a, false);
    return Variant(Formatted(ToDouble(Arg(a, 0)), format, u"", u""));
}

Variant FormatCurrency(Vm&, std::span<Variant> a) {
    // Negative amounts stand in parentheses by default where Windows writes them so (US English).
    const LocaleConventions& locale = CurrentLocale();
    using NegativeCurrency = LocaleConventions::NegativeCurrency;
    NumberFormat format = FormatArguments(a, locale.negativeCurrency == NegativeCurrency::Parentheses);
    // The locale's symbol, before or after the amount, with a blank where the locale puts one.
    std::u16string blank = locale.currencySpaced ? u" " : u"";
    if (locale.currencyFirst)
        return Variant(Formatted(ToDouble(Arg(a, 0)), format, locale.currencySymbol + blank, u"",
                                 locale.negativeCurrency == NegativeCurrency::MinusAfterSymbol));
    return Variant(Formatted(ToDouble(Arg(a, 0)), format, u"", blank + locale.currencySymbol));
}

Variant FormatPercent(Vm&, std::span<Variant> a) {
    NumberFormat format = FormatArguments(a, false);
    return Variant(Formatted(CheckedDouble(ToDouble(Arg(a, 0)) * 100.0), format, u"", u"%"));
}
}  // namespace

void RegisterFormatBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"FormatNumber", FormatNumber, 1, 5},
                                                      {u"FormatCurrency", FormatCurrency, 1, 5},
                                                      {u"FormatPercent", FormatPercent, 1, 5},
                                                  });
}

}  // namespace taviro::vbscript
