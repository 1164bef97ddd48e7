// RegExp (New RegExp) and the Matches, Match and SubMatches objects it returns, on PCRE2.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vbscript/object.h"

namespace taviro::vbscript {

// A compiled pattern with the options it was compiled for; shared by a RegExp and its results.
class CompiledPattern;

class RegExpObject final : public Object {
public:
    RegExpObject();
    ~RegExpObject() override;
    std::u16string TypeName() const override { return u"IRegExp2"; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;

private:
    struct Found {
        size_t begin = 0, end = 0;
        std::vector<std::pair<size_t, size_t>> groups;  // begin, end; npos when the group took no part
    };
    // Compiles the pattern when it or an option changed. Throws 5017..5021 for a bad pattern.
    const CompiledPattern& Compiled();
    // Every match (or the first one unless Global) in text.
    std::vector<Found> FindAll(const std::u16string& text, bool onlyFirst);
    std::u16string Replace(const std::u16string& text, const std::u16string& replacement);

    std::u16string pattern_;
    bool ignoreCase_ = false;
    bool global_ = false;
    bool multiline_ = false;
    std::unique_ptr<CompiledPattern> compiled_;
};

// The version of the regular-expression library RegExp runs on ("PCRE2 10.42"), for --version.
std::string RegExpLibraryVersion();

}  // namespace taviro::vbscript
