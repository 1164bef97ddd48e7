// Asking fontconfig for fonts.
#include "platform/fonts/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <optional>
#include <vector>

#include "platform/controls/property_value.h"
#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

// Windows fonts and the installed families that have the same metrics or look closest. Liberation
// Sans, Serif and Mono match Arial, Times New Roman and Courier New glyph for glyph in width; DejaVu
// Sans descends from Bitstream Vera, drawn to Verdana's proportions.
const std::vector<std::pair<std::string, std::vector<std::string>>>& Substitutes() {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
        {"Arial", {"Liberation Sans", "Arimo"}},
        {"Helvetica", {"Liberation Sans", "Arimo"}},
        {"MS Sans Serif", {"Liberation Sans", "Arimo"}},
        {"Microsoft Sans Serif", {"Liberation Sans", "Arimo"}},
        {"System", {"Liberation Sans", "Arimo"}},
        {"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
        {"Verdana", {"DejaVu Sans", "Liberation Sans"}},
        {"Times New Roman", {"Liberation Serif", "Tinos"}},
        {"Times", {"Liberation Serif", "Tinos"}},
        {"MS Serif", {"Liberation Serif", "Tinos"}},
        {"Georgia", {"Gelasio", "Liberation Serif"}},
        {"Courier New", {"Liberation Mono", "Cousine"}},
        {"Courier", {"Liberation Mono", "Cousine"}},
        {"Lucida Console", {"Liberation Mono", "DejaVu Sans Mono"}},
        {"Comic Sans MS", {"Comic Neue", "Comic Relief"}},
    };
    return table;
}

struct Match {
    std::string file;
    int index = 0;
    std::string family;
    int weight = 0;
    int slant = 0;
};

std::optional<Match> FontconfigMatch(const std::string& family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return std::nullopt;
    Match match;
    FcChar8* text = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &text) == FcResultMatch)
        match.file = reinterpret_cast<char*>(text);
    if (FcPatternGetString(found, FC_FAMILY, 0, &text) == FcResultMatch)
        match.family = reinterpret_cast<char*>(text);
    FcPatternGetInteger(found, FC_INDEX, 0, &match.index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &match.weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &match.slant);
    FcPatternDestroy(found);
    if (match.file.empty()) return std::nullopt;
    return match;
}

ResolvedFont FromMatch(const Match& match, bool substitute) {
    return {match.file,
            match.index,
            match.family,
            substitute,
            match.weight >= FC_WEIGHT_DEMIBOLD,
            match.slant != FC_SLANT_ROMAN};
}

int liveResolvers = 0;  // the game thread is the only one that resolves fonts

}  // namespace

FontResolver::FontResolver() { ++liveResolvers; }

FontResolver::~FontResolver() {
    if (--liveResolvers == 0) FcFini();
}

std::vector<std::string> FontResolver::CandidatesFor(const std::string& name) {
    std::vector<std::string> candidates = {name};
    for (const auto& [windowsName, families] : Substitutes())
        if (SameName(windowsName, name))
            candidates.insert(candidates.end(), families.begin(), families.end());
    return candidates;
}

const ResolvedFont& FontResolver::Resolve(const std::string& name, bool bold, bool italic) {
    auto key = std::make_tuple(name, bold, italic);
    if (auto it = resolved_.find(key); it != resolved_.end()) return it->second;
    // fontconfig always answers with something; only a family of the same name counts as found.
    auto candidates = CandidatesFor(name);
    for (size_t i = 0; i < candidates.size(); ++i) {
        auto match = FontconfigMatch(candidates[i], bold, italic);
        if (match && SameName(match->family, candidates[i])) return resolved_[key] = FromMatch(*match, i > 0);
    }
    auto fallback = FontconfigMatch("sans-serif", bold, italic);
    if (!fallback) {
        log::Error("no font is installed");
        throw GameError(51, "No font is installed");
    }
    log::Error("font " + name + " is not installed; using " + fallback->family);
    return resolved_[key] = FromMatch(*fallback, true);
}

}  // namespace taviro::platform
