// Font names as games give them ("Arial", "MS Sans Serif", ...) resolved through fontconfig to font
// files installed on this machine: the font itself, else a metric-compatible one, else a clear fallback.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace taviro::platform {

struct ResolvedFont {
    std::string file;
    int faceIndex = 0;
    std::string family;       // the family of the file found
    bool substitute = false;  // a stand-in: the font asked for is not installed
    bool boldFace = false;    // the file itself is bold; otherwise bold must be drawn
    bool italicFace = false;
};

class FontResolver {
public:
    FontResolver();
    // The last resolver to go releases fontconfig's caches.
    ~FontResolver();
    FontResolver(const FontResolver&) = delete;
    FontResolver& operator=(const FontResolver&) = delete;

    // Never fails while any font is installed; a font that is not found is logged once.
    // Throws GameError when fontconfig finds no font at all.
    const ResolvedFont& Resolve(const std::string& name, bool bold, bool italic);

    // The family that stands in for a Windows font, or the name itself.
    static std::vector<std::string> CandidatesFor(const std::string& name);

private:
    std::map<std::tuple<std::string, bool, bool>, ResolvedFont> resolved_;
};

}  // namespace taviro::platform
