// Log lines to standard error and the log file.
#include "platform/log.h"

#include <cstdio>
#include <memory>

namespace taviro::platform::log {
namespace {

struct Sinks {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{nullptr, &std::fclose};
    bool verbose = false;
    bool quiet = false;
};

Sinks& TheSinks() {
    static Sinks sinks;
    return sinks;
}

void Write(const char* kind, std::string_view message) {
    Sinks& sinks = TheSinks();
    const int length = static_cast<int>(message.size());
    if (!sinks.quiet) std::fprintf(stderr, "taviro-player: %s%.*s\n", kind, length, message.data());
    if (sinks.file) {
        std::fprintf(sinks.file.get(), "%s%.*s\n", kind, length, message.data());
        std::fflush(sinks.file.get());
    }
}

}  // namespace

bool Configure(const char* filePath, bool verbose) {
    Sinks& sinks = TheSinks();
    sinks.verbose = verbose;
    sinks.file.reset();
    if (!filePath) return true;
    sinks.file.reset(std::fopen(filePath, "a"));
    return sinks.file != nullptr;
}

void SetQuiet(bool quiet) { TheSinks().quiet = quiet; }

void Error(std::string_view message) { Write("error: ", message); }
void MissingFile(std::string_view path) { Write("missing file: ", path); }

void Notice(std::string_view message) { Write("", message); }

void Info(std::string_view message) {
    if (TheSinks().verbose) Write("", message);
}

}  // namespace taviro::platform::log
