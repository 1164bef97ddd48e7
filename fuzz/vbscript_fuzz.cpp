// Feeds arbitrary text to the VBScript engine: the lexer, parser and compiler must reject bad scripts
// with errors, and scripts that compile must run (stopped by a short time-out) without crashing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A virtual clock that advances on every look, so the time-out ends endless loops quickly.
    int64_t now = 0;
    taviro::vbscript::Engine engine([&now] { return now += 5; });
    engine.Timeout(40);
    engine.AddCode(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::u16string& procedure : engine.Procedures()) {
        if (procedure.size() < 40) engine.Run(procedure);
    }
    return 0;
}
