// String built-ins: Len, Mid, Left, Right, InStr, Replace, Trim, Split, Join, Chr, Asc, ...
#include <algorithm>

#include "vbscript/array.h"
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
// Windows-1252's characters 0x80..0x9F; Chr and Asc map through this code page as the original does.
constexpr char16_t kHighCharacters[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                          0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The count argument of Left, Right, Mid, Space and String: a non-negative Long.
size_t CountArgument(const Variant& value) {
    int32_t count = ToLong(value);
    if (count < 0) Throw(err::kInvalidProcedureCall);
    return static_cast<size_t>(count);
}

// The text of a value without copying it when it is already a String; storage holds any other's text.
const std::u16string& TextOf(const Variant& value, std::u16string& storage) {
    if (value.IsString()) return value.string();
    storage = ToString(value);
    return storage;
}

// A String result: single characters come from the shared ones.
Variant TextResult(std::u16string_view text) {
    return text.size() == 1 ? Variant::Character(text[0]) : Variant(std::u16string(text));
}

bool TextCompare(std::span<Variant> arguments, size_t index) {
    return HasArg(arguments, index) && ToLong(Arg(arguments, index)) == 1;
}

Variant Len(Vm&, std::span<Variant> a) {
    const Variant& value = Arg(a, 0);
    if (value.IsNull()) return Variant::MakeNull();
    std::u16string storage;
    return Variant(static_cast<int32_t>(TextOf(value, storage).size()));
}

Variant Left(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string storage;
    const std::u16string& text = TextOf(Arg(a, 0), storage);
    return TextResult(std::u16string_view(text).substr(0, std::min(CountArgument(Arg(a, 1)), text.size())));
}

Variant Right(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string storage;
    const std::u16string& text = TextOf(Arg(a, 0), storage);
    size_t count = std::min(CountArgument(Arg(a, 1)), text.size());
    return TextResult(std::u16string_view(text).substr(text.size() - count));
}

Variant Mid(Vm&, std::span<Variant> a) {
    int32_t start = ToLong(Arg(a, 1));
    if (start < 1) Throw(err::kInvalidProcedureCall);
    size_t length = HasArg(a, 2) ? CountArgument(Arg(a, 2)) : SIZE_MAX;
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string storage;
    const std::u16string& text = TextOf(Arg(a, 0), storage);
    if (static_cast<size_t>(start) > text.size()) return Variant(u"");
    return TextResult(std::u16string_view(text).substr(static_cast<size_t>(start) - 1, length));
}

Variant UCase(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string text = ToString(Arg(a, 0));
    for (char16_t& c : text) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<char16_t>(c - 32);
    }
    return Variant(std::move(text));
}

Variant LCase(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    return Variant(FoldCase(ToString(Arg(a, 0))));
}

bool IsSpace(char16_t c) { return c == u' '; }

Variant TrimSides(std::span<Variant> a, bool left, bool right) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string storage;
    const std::u16string& text = TextOf(Arg(a, 0), storage);
    size_t begin = 0, end = text.size();
    if (left)
        while (begin < end && IsSpace(text[begin])) ++begin;
    if (right)
        while (end > begin && IsSpace(text[end - 1])) --end;
    return Variant(text.substr(begin, end - begin));
}
Variant Trim(Vm&, std::span<Variant> a) { return TrimSides(a, true, true); }
Variant LTrim(Vm&, std::span<Variant> a) { return TrimSides(a, true, false); }
Variant RTrim(Vm&, std::span<Variant> a) { return TrimSides(a, false, true); }

Variant Space(Vm&, std::span<Variant> a) {
    size_t count = CountArgument(Arg(a, 0));
    CheckStringLength(count);
    return Variant(std::u16string(count, u' '));
}

Variant StringOf(Vm&, std::span<Variant> a) {
    size_t count = CountArgument(Arg(a, 0));
    const Variant& pattern = Arg(a, 1);
    if (pattern.IsNull()) return Variant::MakeNull();
    char16_t c;
    if (pattern.IsString()) {
        if (pattern.string().empty()) Throw(err::kInvalidProcedureCall);
        c = pattern.string()[0];
    } else {
        c = static_cast<char16_t>(ToLong(pattern) & 0xFF);
    }
    CheckStringLength(count);
    return Variant(std::u16string(count, c));
}

Variant StrReverse(Vm&, std::span<Variant> a) {
    std::u16string text = ToString(Arg(a, 0));
    std::reverse(text.begin(), text.end());
    return Variant(std::move(text));
}

Variant Chr(Vm&, std::span<Variant> a) {
    int32_t code = ToLong(Arg(a, 0));
    if (code < 0 || code > 255) Throw(err::kInvalidProcedureCall);
    char16_t c = code >= 0x80 && code < 0xA0 ? kHighCharacters[code - 0x80] : static_cast<char16_t>(code);
    return Variant::Character(c);
}

Variant ChrW(Vm&, std::span<Variant> a) {
    int32_t code = ToLong(Arg(a, 0));
    if (code < -32768 || code > 65535) Throw(err::kInvalidProcedureCall);
    return Variant::Character(static_cast<char16_t>(code & 0xFFFF));
}

char16_t FirstCharacter(const Variant& value) {
    std::u16string storage;
    const std::u16string& text = TextOf(value, storage);
    if (text.empty()) Throw(err::kInvalidProcedureCall);
    return text[0];
}

Variant Asc(Vm&, std::span<Variant> a) {
    char16_t c = FirstCharacter(Arg(a, 0));
    for (int i = 0; i < 32; ++i) {
        if (kHighCharacters[i] == c) return Variant(static_cast<int16_t>(0x80 + i));
    }
    if (c > 0xFF) return Variant(static_cast<int16_t>('?'));
    return Variant(static_cast<int16_t>(c));
}

Variant AscW(Vm&, std::span<Variant> a) {
    char16_t c = FirstCharacter(Arg(a, 0));
    return Variant(static_cast<int16_t>(static_cast<int16_t>(c)));
}

// Where part first occurs in text at or after from (npos if nowhere). Ignoring case, part must come
// folded; the text is folded a character at a time as it is compared, never copied, so a search
// costs no memory however long the text.
size_t Find(std::u16string_view text, std::u16string_view part, size_t from, bool ignoreCase) {
    if (!ignoreCase) return text.find(part, from);
    if (part.size() > text.size()) return std::u16string_view::npos;
    for (size_t i = from, last = text.size() - part.size(); i <= last; ++i) {
        size_t matched = 0;
        while (matched < part.size() && FoldCharacter(text[i + matched]) == part[matched]) ++matched;
        if (matched == part.size()) return i;
    }
    return std::u16string_view::npos;
}

// Where part last begins at or before from, as Find does backwards.
size_t FindLast(std::u16string_view text, std::u16string_view part, size_t from, bool ignoreCase) {
    if (!ignoreCase) return text.rfind(part, from);
    if (part.size() > text.size()) return std::u16string_view::npos;
    for (size_t i = std::min(from, text.size() - part.size()) + 1; i-- > 0;) {
        size_t matched = 0;
        while (matched < part.size() && FoldCharacter(text[i + matched]) == part[matched]) ++matched;
        if (matched == part.size()) return i;
    }
    return std::u16string_view::npos;
}

// The text to search for: folded once when the comparison ignores case.
std::u16string SearchedFor(const Variant& value, bool ignoreCase) {
    std::u16string text = ToString(value);
    return ignoreCase ? FoldCase(text) : text;
}

Variant InStr(Vm&, std::span<Variant> a) {
    // InStr([start,] text, part[, compare])
    auto [start, offset] = ReadOptionalStart(a);
    const Variant& textValue = Arg(a, offset);
    const Variant& partValue = Arg(a, offset + 1);
    if (textValue.IsNull() || partValue.IsNull()) return Variant::MakeNull();
    std::u16string textStorage;
    const std::u16string& text = TextOf(textValue, textStorage);
    bool ignoreCase = a.size() == 4 && TextCompare(a, 3);
    std::u16string part = SearchedFor(partValue, ignoreCase);
    if (static_cast<size_t>(start) > text.size()) return Variant(int32_t{0});
    if (part.empty()) return Variant(start);
    size_t found = Find(text, part, static_cast<size_t>(start) - 1, ignoreCase);
    return Variant(found == std::u16string::npos ? int32_t{0} : static_cast<int32_t>(found + 1));
}

Variant InStrRev(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull() || Arg(a, 1).IsNull()) return Variant::MakeNull();
    std::u16string textStorage;
    const std::u16string& text = TextOf(Arg(a, 0), textStorage);
    int32_t start = HasArg(a, 2) ? ToLong(Arg(a, 2)) : -1;
    if (start == 0 || start < -1) Throw(err::kInvalidProcedureCall);
    bool ignoreCase = TextCompare(a, 3);
    std::u16string part = SearchedFor(Arg(a, 1), ignoreCase);
    size_t limit = start == -1 ? text.size() : static_cast<size_t>(start);
    if (limit > text.size()) return Variant(int32_t{0});
    if (part.empty()) return Variant(static_cast<int32_t>(limit));
    if (part.size() > limit) return Variant(int32_t{0});
    size_t found = FindLast(text, part, limit - part.size(), ignoreCase);
    return Variant(found == std::u16string::npos ? int32_t{0} : static_cast<int32_t>(found + 1));
}

Variant Replace(Vm&, std::span<Variant> a) {
    // Replace(text, find, with[, start[, count[, compare]]]); the result starts at start.
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string textStorage;
    const std::u16string& whole = TextOf(Arg(a, 0), textStorage);
    bool ignoreCase = TextCompare(a, 5);
    std::u16string find = SearchedFor(Arg(a, 1), ignoreCase), with = ToString(Arg(a, 2));
    int32_t start = HasArg(a, 3) ? ToLong(Arg(a, 3)) : 1;
    int32_t count = HasArg(a, 4) ? ToLong(Arg(a, 4)) : -1;
    if (start < 1 || count < -1) Throw(err::kInvalidProcedureCall);
    if (static_cast<size_t>(start) > whole.size()) return Variant(u"");
    std::u16string_view text = std::u16string_view(whole).substr(static_cast<size_t>(start) - 1);
    if (find.empty() || count == 0) return Variant(text);
    std::u16string result;
    result.reserve(text.size());
    size_t position = 0;
    int32_t done = 0;
    while (count == -1 || done < count) {
        size_t found = Find(text, find, position, ignoreCase);
        if (found == std::u16string_view::npos) break;
        CheckStringLength(result.size() + (found - position) + with.size());
        result.append(text.substr(position, found - position));
        result += with;
        position = found + find.size();
        ++done;
    }
    result.append(text.substr(position));
    return Variant(std::move(result));
}

Variant StrComp(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull() || Arg(a, 1).IsNull()) return Variant::MakeNull();
    std::u16string left = ToString(Arg(a, 0)), right = ToString(Arg(a, 1));
    if (TextCompare(a, 2)) {
        left = FoldCase(left);
        right = FoldCase(right);
    }
    int order = left.compare(right);
    return Variant(static_cast<int16_t>(order < 0 ? -1 : order > 0 ? 1 : 0));
}

Variant Join(Vm&, std::span<Variant> a) {
    const Variant& list = Arg(a, 0);
    if (!list.IsArray()) Throw(err::kTypeMismatch);
    if (list.array()->dimensions() > 1) Throw(err::kSubscriptOutOfRange);
    std::u16string separator = HasArg(a, 1) ? ToString(Arg(a, 1)) : u" ";
    const std::vector<Variant>& elements = list.array()->elements();
    // Elements that are not Strings are converted once, in order, and kept for the second pass;
    // the lengths are summed first so that the result is allocated once.
    std::vector<std::u16string> converted;
    size_t length = elements.empty() ? 0 : separator.size() * (elements.size() - 1);
    for (const Variant& element : elements) {
        if (element.IsString()) {
            length += element.string().size();
        } else if (!element.IsNull()) {
            converted.push_back(ToString(element));
            length += converted.back().size();
        }
    }
    CheckStringLength(length);
    std::u16string result;
    result.reserve(length);
    auto next = converted.begin();
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) result += separator;
        if (elements[i].IsString()) {
            result += elements[i].string();
        } else if (!elements[i].IsNull()) {
            result += *next++;
        }
    }
    return Variant(std::move(result));
}

Variant Split(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    std::u16string textStorage;
    const std::u16string& text = TextOf(Arg(a, 0), textStorage);
    bool ignoreCase = TextCompare(a, 3);
    std::u16string separator = HasArg(a, 1) ? SearchedFor(Arg(a, 1), ignoreCase) : u" ";
    int32_t limit = HasArg(a, 2) ? ToLong(Arg(a, 2)) : -1;
    if (limit < -1) Throw(err::kInvalidProcedureCall);
    std::vector<Variant> parts;
    if (text.empty() || limit == 0) return Variant(Array::FromValues(std::move(parts)));
    if (separator.empty()) {
        parts.emplace_back(text);
        return Variant(Array::FromValues(std::move(parts)));
    }
    // The separators are counted first so that the parts are stored without regrowing the list.
    size_t maxParts = limit == -1 ? SIZE_MAX : static_cast<size_t>(limit);
    size_t count = 1;
    for (size_t found = Find(text, separator, 0, ignoreCase);
         found != std::u16string::npos && count < maxParts;
         found = Find(text, separator, found + separator.size(), ignoreCase)) {
        if (++count > Array::kMaxElements) Throw(err::kOutOfMemory);
    }
    parts.reserve(count);
    size_t position = 0;
    while (parts.size() + 1 < count) {
        size_t found = Find(text, separator, position, ignoreCase);
        parts.emplace_back(std::u16string_view(text).substr(position, found - position));
        position = found + separator.size();
    }
    parts.emplace_back(std::u16string_view(text).substr(position));
    return Variant(Array::FromValues(std::move(parts)));
}
}  // namespace

void RegisterStringBuiltins(BuiltinTable& table) {
    table.functions.insert(
        table.functions.end(),
        {
            {u"Len", Len, 1, 1},         {u"Left", Left, 2, 2},       {u"Right", Right, 2, 2},
            {u"Mid", Mid, 2, 3},         {u"UCase", UCase, 1, 1},     {u"LCase", LCase, 1, 1},
            {u"Trim", Trim, 1, 1},       {u"LTrim", LTrim, 1, 1},     {u"RTrim", RTrim, 1, 1},
            {u"Space", Space, 1, 1},     {u"String", StringOf, 2, 2}, {u"StrReverse", StrReverse, 1, 1},
            {u"Chr", Chr, 1, 1},         {u"ChrW", ChrW, 1, 1},       {u"Asc", Asc, 1, 1},
            {u"AscW", AscW, 1, 1},       {u"InStr", InStr, 2, 4},     {u"InStrRev", InStrRev, 2, 4},
            {u"Replace", Replace, 3, 6}, {u"StrComp", StrComp, 2, 3}, {u"Join", Join, 1, 2},
            {u"Split", Split, 1, 4},
        });
}

}  // namespace taviro::vbscript
