// RegExp on PCRE2's 16-bit library. Patterns are JavaScript-flavoured: \uXXXX and \xXX escapes,
// [] and [^] classes, unset back-references matching nothing, $ only at the very end unless Multiline.
#include "vbscript/regexp.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

class CompiledPattern {
public:
    CompiledPattern(const std::u16string& pattern, bool ignoreCase, bool multiline) {
        uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                           PCRE2_MATCH_UNSET_BACKREF;
        options |= ignoreCase ? PCRE2_CASELESS : 0;
        options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                              &errorCode, &errorOffset, nullptr);
        if (!code_) Throw(VBScriptNumberOf(errorCode));
        pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // without the JIT, matching is only slower
        matchData_ = pcre2_match_data_create_from_pattern(code_, nullptr);
        if (!matchData_) {
            pcre2_code_free(code_);
            Throw(err::kOutOfMemory);
        }
    }
    ~CompiledPattern() {
        pcre2_match_data_free(matchData_);
        pcre2_code_free(code_);
    }
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    // Looks for a match from start; false when there is none. Groups are pairs of offsets.
    bool Match(const std::u16string& text, size_t start,
               std::vector<std::pair<size_t, size_t>>& pairs) const {
        int result = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), start, 0,
                                 matchData_, nullptr);
        if (result == PCRE2_ERROR_NOMATCH) return false;
        // Backtracking without end (a pattern such as (a+)+b on a long text) exhausts PCRE2's limits.
        if (result < 0) Throw(err::kOutOfStackSpace);
        uint32_t count = pcre2_get_ovector_count(matchData_);
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(matchData_);
        pairs.clear();
        for (uint32_t i = 0; i < count; ++i) {
            size_t begin = vector[2 * i], end = vector[2 * i + 1];
            if (i >= static_cast<uint32_t>(result) || begin == PCRE2_UNSET)
                begin = end = std::u16string::npos;
            pairs.emplace_back(begin, end);
        }
        return true;
    }

private:
    // PCRE2's compile errors as VBScript numbers them.
    static int32_t VBScriptNumberOf(int pcreError) {
        switch (pcreError) {
            case PCRE2_ERROR_QUANTIFIER_INVALID:
            case PCRE2_ERROR_QUANTIFIER_OUT_OF_ORDER: return 5018;
            case PCRE2_ERROR_MISSING_SQUARE_BRACKET: return 5019;
            case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS: return 5020;
            case PCRE2_ERROR_CLASS_RANGE_ORDER: return 5021;
            case PCRE2_ERROR_HEAP_FAILED: return err::kOutOfMemory;
            default: return err::kRegExpSyntax;
        }
    }

    pcre2_code* code_ = nullptr;
    pcre2_match_data* matchData_ = nullptr;
};

namespace {
// The index argument of Item: 0-based, within the list.
size_t ItemIndex(std::span<Variant> arguments, size_t count) {
    if (arguments.size() != 1) Throw(err::kWrongArgumentCount);
    int32_t index = ToLong(Arg(arguments, 0));
    if (index < 0 || static_cast<size_t>(index) >= count) Throw(err::kInvalidProcedureCall);
    return static_cast<size_t>(index);
}

class ListWalker final : public Enumerator {
public:
    explicit ListWalker(std::vector<Variant> items) : items_(std::move(items)) {}
    bool Next(Variant& item) override {
        if (next_ >= items_.size()) return false;
        item = items_[next_++];
        return true;
    }

private:
    std::vector<Variant> items_;
    size_t next_ = 0;
};

// A read-only list with Item (the default member) and Count: the Matches and SubMatches collections.
class ReadOnlyList final : public Object {
public:
    ReadOnlyList(std::u16string typeName, std::vector<Variant> items)
        : typeName_(std::move(typeName)), items_(std::move(items)) {}
    std::u16string TypeName() const override { return typeName_; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = FoldCase(name);
        if (folded == u"item") return 0;
        if (folded == u"count") return 1;
        return kUnknownMember;
    }
    const void* DispatchKey() const override {
        static const char key = 0;
        return &key;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (kind != InvokeKind::Get) Throw(err::kNoSuchMember);
        if (id == 0) return items_[ItemIndex(arguments, items_.size())];
        if (id == 1) {
            if (!arguments.empty()) Throw(err::kWrongArgumentCount);
            return Variant(static_cast<int32_t>(items_.size()));
        }
        Throw(err::kNoSuchMember);
    }
    Ref<Enumerator> Enumerate() override { return MakeRef<ListWalker>(items_); }

private:
    std::u16string typeName_;
    std::vector<Variant> items_;
};

class MatchObject final : public Object {
public:
    MatchObject(std::u16string value, int32_t firstIndex, Ref<Object> subMatches)
        : value_(std::move(value)), firstIndex_(firstIndex), subMatches_(std::move(subMatches)) {}
    std::u16string TypeName() const override { return u"IMatch2"; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = FoldCase(name);
        if (folded == u"value") return 0;
        if (folded == u"firstindex") return 1;
        if (folded == u"length") return 2;
        if (folded == u"submatches") return 3;
        return kUnknownMember;
    }
    const void* DispatchKey() const override {
        static const char key = 0;
        return &key;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (kind != InvokeKind::Get || id < 0 || id > 3) Throw(err::kNoSuchMember);
        // SubMatches(i) is SubMatches.Item(i).
        if (id == 3 && !arguments.empty()) return subMatches_->Invoke(kDefaultMember, kind, arguments);
        if (!arguments.empty()) Throw(err::kWrongArgumentCount);
        switch (id) {
            case 0: return Variant(value_);
            case 1: return Variant(firstIndex_);
            case 2: return Variant(static_cast<int32_t>(value_.size()));
            default: return Variant(subMatches_);
        }
    }

private:
    std::u16string value_;
    int32_t firstIndex_;
    Ref<Object> subMatches_;
};

enum Member : DispatchId { kPattern = 1, kIgnoreCase, kGlobal, kMultiline, kTest, kExecute, kReplace };
constexpr std::u16string_view kNames[] = {u"pattern", u"ignorecase", u"global", u"multiline",
                                          u"test",    u"execute",    u"replace"};
}  // namespace

RegExpObject::RegExpObject() = default;
RegExpObject::~RegExpObject() = default;

DispatchId RegExpObject::MemberId(std::u16string_view name) {
    std::u16string folded = FoldCase(name);
    for (size_t i = 0; i < std::size(kNames); ++i) {
        if (kNames[i] == folded) return static_cast<DispatchId>(i + 1);
    }
    return kUnknownMember;
}

const void* RegExpObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

const CompiledPattern& RegExpObject::Compiled() {
    if (!compiled_) compiled_ = std::make_unique<CompiledPattern>(pattern_, ignoreCase_, multiline_);
    return *compiled_;
}

std::vector<RegExpObject::Found> RegExpObject::FindAll(const std::u16string& text, bool onlyFirst) {
    const CompiledPattern& compiled = Compiled();
    std::vector<Found> found;
    std::vector<std::pair<size_t, size_t>> pairs;
    size_t start = 0;
    while (start <= text.size() && compiled.Match(text, start, pairs)) {
        Found match;
        match.begin = pairs[0].first;
        match.end = pairs[0].second;
        match.groups.assign(pairs.begin() + 1, pairs.end());
        // After an empty match the search goes on one character further, as JavaScript's does.
        start = match.end == match.begin ? match.end + 1 : match.end;
        found.push_back(std::move(match));
        if (onlyFirst) break;
    }
    return found;
}

std::u16string RegExpObject::Replace(const std::u16string& text, const std::u16string& replacement) {
    std::vector<Found> found = FindAll(text, !global_);
    std::u16string result;
    size_t copied = 0;
    auto group = [&](const Found& match, size_t number) {
        const auto& [begin, end] = match.groups[number - 1];
        if (begin != std::u16string::npos) result.append(text, begin, end - begin);
    };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    for (const Found& match : found) {
        result.append(text, copied, match.begin - copied);
        size_t groupCount = match.groups.size();
        for (size_t i = 0; i < replacement.size(); ++i) {
            char16_t c = replacement[i];
            char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : u'\0';
            if (c != u'$' || next == u'\0') {
                result += c;
            } else if (next == u'$') {
                result += u'$';
                ++i;
            } else if (next == u'&') {
                result.append(text, match.begin, match.end - match.begin);
                ++i;
            } else if (next == u'`') {
                result.append(text, 0, match.begin);
                ++i;
            } else if (next == u'\'') {
                result.append(text, match.end, std::u16string::npos);
                ++i;
            } else if (isDigit(next)) {
                // $nn takes two digits when that group exists, else $n takes one; otherwise "$" stays.
                size_t one = static_cast<size_t>(next - u'0');
                char16_t after = i + 2 < replacement.size() ? replacement[i + 2] : u'\0';
                size_t two = isDigit(after) ? one * 10 + static_cast<size_t>(after - u'0') : 0;
                if (two >= 1 && two <= groupCount) {
                    group(match, two);
                    i += 2;
                } else if (one >= 1 && one <= groupCount) {
                    group(match, one);
                    ++i;
                } else {
                    result += c;
                }
            } else {
                result += c;
            }
            CheckStringLength(result.size());
        }
        copied = match.end;
    }
    result.append(text, copied, std::u16string::npos);
    CheckStringLength(result.size());
    return result;
}

Variant RegExpObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    bool assign = kind != InvokeKind::Get;
    size_t given = assign ? arguments.size() - 1 : arguments.size();
    auto property = [&](auto& field, auto convert) -> Variant {
        if (given != 0) Throw(err::kWrongArgumentCount);
        if (!assign) return Variant(field);
        field = convert(Arg(arguments, arguments.size() - 1));
        compiled_.reset();
        return {};
    };
    auto method = [&](size_t count) {
        if (assign) Throw(err::kNoSuchMember);
        if (given != count) Throw(err::kWrongArgumentCount);
    };
    switch (id) {
        case kPattern: return property(pattern_, [](const Variant& v) { return ToString(v); });
        case kIgnoreCase: return property(ignoreCase_, [](const Variant& v) { return ToBoolean(v); });
        case kGlobal: return property(global_, [](const Variant& v) { return ToBoolean(v); });
        case kMultiline: return property(multiline_, [](const Variant& v) { return ToBoolean(v); });
        case kTest: {
            method(1);
            std::u16string text = ToString(Arg(arguments, 0));
            return Variant(!FindAll(text, true).empty());
        }
        case kExecute: {
            method(1);
            std::u16string text = ToString(Arg(arguments, 0));
            std::vector<Variant> matches;
            for (const Found& match : FindAll(text, !global_)) {
                std::vector<Variant> groups;
                for (const auto& [begin, end] : match.groups) {
                    groups.push_back(
                        begin == std::u16string::npos ? Variant() : Variant(text.substr(begin, end - begin)));
                }
                matches.emplace_back(Ref<Object>(MakeRef<MatchObject>(
                    text.substr(match.begin, match.end - match.begin), static_cast<int32_t>(match.begin),
                    MakeRef<ReadOnlyList>(u"ISubMatches", std::move(groups)))));
            }
            return Variant(Ref<Object>(MakeRef<ReadOnlyList>(u"IMatchCollection2", std::move(matches))));
        }
        case kReplace: {
            method(2);
            std::u16string text = ToString(Arg(arguments, 0));
            return Variant(Replace(text, ToString(Arg(arguments, 1))));
        }
        default: Throw(err::kNoSuchMember);
    }
}

std::string RegExpLibraryVersion() {
    // The 16-bit library writes its text in 16-bit code units; the version is plain ASCII.
    char16_t version[32] = {};
    pcre2_config(PCRE2_CONFIG_VERSION, version);
    std::string text = "PCRE2 ";
    for (const char16_t* c = version; *c != 0; ++c) text += static_cast<char>(*c);
    return text;
}

}  // namespace taviro::vbscript
