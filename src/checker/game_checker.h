// The game checker: reads a whole game with the player's own readers, without playing it, and lists
// every problem a player would meet (missing files, frames nobody answers, damaged records, scripts
// that do not compile, undeclared variables), each with its file and place. It never writes to the
// game folder and never reads outside it.
#pragma once

#include <string>

#include "checker/findings.h"
#include "platform/code_page.h"

namespace taviro::checker {

// Checks the game in folder, reading its text files in codePage.
CheckReport CheckGame(const std::string& folder, const platform::CodePage& codePage);

}  // namespace taviro::checker
