// Conversions between numbers and text following VBScript's rules.
#include "vbscript/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace taviro::vbscript {

namespace {
std::u16string FormatWithPrecision(double value, int significantDigits) {
    if (value == 0) return u"0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
    return Widen(buffer);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; }

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return 99;
}

// "&H1F" / "&O17" / "&17": the value as a Long's bits when it fits 32 bits, as the original does.
bool ParseRadix(std::u16string_view digits, int radix, double& value) {
    if (digits.empty()) return false;
    uint64_t number = 0;
    for (char16_t c : digits) {
        int digit = DigitValue(c);
        if (digit >= radix) return false;
        number = number * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
        if (number > 0xFFFFFFFFull) return false;
    }
    value = number > 0x7FFFFFFFull ? static_cast<double>(static_cast<int32_t>(number))
                                   : static_cast<double>(number);
    return true;
}
}  // namespace

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::u16string FormatDouble(double value) { return FormatWithPrecision(value, 15); }

std::u16string FormatSingle(float value) { return FormatWithPrecision(value, 7); }

std::u16string FormatInteger(int64_t value) { return Widen(std::to_string(value)); }

std::u16string FormatCurrency(int64_t tenThousandths) {
    bool negative = tenThousandths < 0;
    uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(tenThousandths) : static_cast<uint64_t>(tenThousandths);
    std::string text = std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string tail = digits;
        while (!tail.empty() && tail.back() == '0') tail.pop_back();
        text += "." + tail;
    }
    return Widen((negative ? "-" : "") + text);
}

bool ParseNumber(std::u16string_view text, double& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::u16string_view body = text.substr(begin, end - begin);
    if (body.empty()) return false;
    if (body[0] == u'&') {
        if (body.size() >= 2 && (body[1] == u'H' || body[1] == u'h'))
            return ParseRadix(body.substr(2), 16, value);
        if (body.size() >= 2 && (body[1] == u'O' || body[1] == u'o'))
            return ParseRadix(body.substr(2), 8, value);
        return ParseRadix(body.substr(1), 8, value);
    }
    // Copy the accepted characters to ASCII for strtod, checking the shape as we go.
    std::string ascii;
    size_t i = 0;
    if (body[i] == u'+' || body[i] == u'-') ascii += static_cast<char>(body[i++]);
    while (i < body.size() && IsBlank(body[i])) ++i;
    size_t digits = 0;
    // Digits of the whole part, where commas may group thousands ("1,000") as in US English text.
    while (i < body.size() && ((body[i] >= u'0' && body[i] <= u'9') || (body[i] == u',' && digits > 0))) {
        if (body[i] != u',') {
            ascii += static_cast<char>(body[i]);
            ++digits;
        }
        ++i;
    }
    if (i < body.size() && body[i] == u'.') {
        ascii += '.';
        ++i;
        while (i < body.size() && body[i] >= u'0' && body[i] <= u'9')
            ascii += static_cast<char>(body[i++]), ++digits;
    }
    if (digits == 0) return false;
    if (i < body.size() && (body[i] == u'e' || body[i] == u'E' || body[i] == u'd' || body[i] == u'D')) {
        ascii += 'e';
        ++i;
        if (i < body.size() && (body[i] == u'+' || body[i] == u'-')) ascii += static_cast<char>(body[i++]);
        size_t exponentDigits = 0;
        while (i < body.size() && body[i] >= u'0' && body[i] <= u'9') {
            ascii += static_cast<char>(body[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) return false;
    }
    if (i != body.size()) return false;
    value = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(value);
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {
bool DecodeUtf8(std::string_view bytes, std::u16string& out) {
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        uint32_t c;
        int extra;
        if (byte < 0x80) {
            out += static_cast<char16_t>(byte);
            ++i;
            continue;
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            c = byte & 0x1F, extra = 1;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            c = byte & 0x0F, extra = 2;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            c = byte & 0x07, extra = 3;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= bytes.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
            (extra == 3 && (c < 0x10000 || c > 0x10FFFF)))
            return false;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// Windows-1252's characters 0x80..0x9F; the rest of the code page matches Latin-1.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::u16string FromUtf8OrWindows1252(std::string_view bytes) {
    std::u16string out;
    if (DecodeUtf8(bytes, out)) return out;
    out.clear();
    for (char byte : bytes) {
        auto b = static_cast<unsigned char>(byte);
        out += (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

}  // namespace taviro::vbscript
