// Built-ins on the bytes of strings (AscB, ChrB, LenB, LeftB, RightB, MidB, InStrB) and on URL-style
// escapes (Escape, Unescape). A string's bytes are its UTF-16 code units, low byte first.
#include <algorithm>
#include <vector>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
std::vector<uint8_t> BytesOf(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// Bytes back to text: pairs make characters; an odd last byte becomes a character of its own.
std::u16string TextOf(const uint8_t* bytes, size_t count) {
    std::u16string text;
    text.reserve((count + 1) / 2);
    for (size_t i = 0; i + 1 < count; i += 2) text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (count % 2 != 0) text += static_cast<char16_t>(bytes[count - 1]);
    return text;
}

size_t CountArgument(const Variant& value) {
    int32_t count = ToLong(value);
    if (count < 0) Throw(err::kInvalidProcedureCall);
    return static_cast<size_t>(count);
}

Variant LenB(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    return Variant(static_cast<int32_t>(ToString(Arg(a, 0)).size() * 2));
}

Variant AscB(Vm&, std::span<Variant> a) {
    std::u16string text = ToString(Arg(a, 0));
    if (text.empty()) Throw(err::kInvalidProcedureCall);
    return Variant::Byte(static_cast<uint8_t>(text[0] & 0xFF));
}

Variant ChrB(Vm&, std::span<Variant> a) {
    int32_t code = ToLong(Arg(a, 0));
    if (code < 0 || code > 255) Throw(err::kInvalidProcedureCall);
    return Variant(std::u16string(1, static_cast<char16_t>(code)));
}

Variant LeftB(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::vector<uint8_t> bytes = BytesOf(ToString(Arg(a, 0)));
    size_t count = std::min(CountArgument(Arg(a, 1)), bytes.size());
    return Variant(TextOf(bytes.data(), count));
}

Variant RightB(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::vector<uint8_t> bytes = BytesOf(ToString(Arg(a, 0)));
    size_t count = std::min(CountArgument(Arg(a, 1)), bytes.size());
    return Variant(TextOf(bytes.data() + bytes.size() - count, count));
}

Variant MidB(Vm&, std::span<Variant> a) {
    int32_t start = ToLong(Arg(a, 1));
    if (start < 1) Throw(err::kInvalidProcedureCall);
    size_t length = HasArg(a, 2) ? CountArgument(Arg(a, 2)) : SIZE_MAX;
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::vector<uint8_t> bytes = BytesOf(ToString(Arg(a, 0)));
    auto offset = static_cast<size_t>(start) - 1;
    if (offset >= bytes.size()) return Variant(u"");
    size_t count = std::min(length, bytes.size() - offset);
    return Variant(TextOf(bytes.data() + offset, count));
}

// InStrB([start,] text, part[, compare]): the byte position of part, 1-based.
Variant InStrB(Vm&, std::span<Variant> a) {
    auto [start, offset] = ReadOptionalStart(a);
    if (Arg(a, offset).IsNull() || Arg(a, offset + 1).IsNull()) return Variant::MakeNull();
    std::u16string text = ToString(Arg(a, offset)), part = ToString(Arg(a, offset + 1));
    if (a.size() == 4 && HasArg(a, 3) && ToLong(Arg(a, 3)) == 1) {
        text = FoldCase(text);
        part = FoldCase(part);
    }
    std::vector<uint8_t> bytes = BytesOf(text), needle = BytesOf(part);
    if (static_cast<size_t>(start) > bytes.size()) return Variant(int32_t{0});
    if (needle.empty()) return Variant(start);
    auto found = std::search(bytes.begin() + (start - 1), bytes.end(), needle.begin(), needle.end());
    return Variant(found == bytes.end() ? int32_t{0} : static_cast<int32_t>(found - bytes.begin() + 1));
}

// Letters, digits and @*_+-./ stay; other characters below 256 become %XX, the rest %uXXXX.
Variant Escape(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string text = ToString(Arg(a, 0));
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                     std::u16string_view(u"@*_+-./").find(c) != std::u16string_view::npos;
        if (plain) {
            result += c;
        } else if (c < 0x100) {
            result += {u'%', kHex[c >> 4], kHex[c & 0xF]};
        } else {
            result += {u'%', u'u', kHex[c >> 12], kHex[(c >> 8) & 0xF], kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        }
        CheckStringLength(result.size());
    }
    return Variant(std::move(result));
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads count hex digits at text[at]; -1 when they are not all there.
int32_t HexAt(const std::u16string& text, size_t at, size_t count) {
    if (at + count > text.size()) return -1;
    int32_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        int digit = HexDigit(text[at + i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// %XX and %uXXXX become their characters; a % not followed by such digits stays as it is.
Variant Unescape(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string text = ToString(Arg(a, 0));
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            int32_t wide = i + 1 < text.size() && text[i + 1] == u'u' ? HexAt(text, i + 2, 4) : -1;
            if (wide >= 0) {
                result += static_cast<char16_t>(wide);
                i += 5;
                continue;
            }
            int32_t narrow = HexAt(text, i + 1, 2);
            if (narrow >= 0) {
                result += static_cast<char16_t>(narrow);
                i += 2;
                continue;
            }
        }
        result += text[i];
    }
    return Variant(std::move(result));
}
}  // namespace

void RegisterByteAndEscapeBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"LenB", LenB, 1, 1},
                                                      {u"AscB", AscB, 1, 1},
                                                      {u"ChrB", ChrB, 1, 1},
                                                      {u"LeftB", LeftB, 2, 2},
                                                      {u"RightB", RightB, 2, 2},
                                                      {u"MidB", MidB, 2, 3},
                                                      {u"InStrB", InStrB, 2, 4},
                                                      {u"Escape", Escape, 1, 1},
                                                      {u"Unescape", Unescape, 1, 1},
                                                  });
}

}  // namespace taviro::vbscript
