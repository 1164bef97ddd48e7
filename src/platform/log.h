// The player's log: every error report and every missing file is written to standard error and,
// when asked with --log, to a file as well. One log for the process, usable from any layer.
#pragma once

#include <string_view>

namespace taviro::platform::log {

// Opens the log file (appending); false when it cannot be opened. Verbose adds the Info lines.
bool Configure(const char* filePath, bool verbose);
// Stops writing to standard error (tests that check their own output use it).
void SetQuiet(bool quiet);

void Error(std::string_view message);
void MissingFile(std::string_view path);
void Info(std::string_view message);  // only with --verbose
// Always written: what the player did when asked, such as where a screenshot went.
void Notice(std::string_view message);

}  // namespace taviro::platform::log
