// The user's documents folder, where saved games live under "Savegames/<game title>/".
#pragma once

#include <string>

#include "platform/files/user_dirs.h"

namespace taviro::platform {

// The variable XDG_DOCUMENTS_DIR when set, else the XDG_DOCUMENTS_DIR entry of
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config/user-dirs.dirs, "$HOME" expanded), else
// $HOME/Documents; "" when there is no home folder either. Never ends in a separator.
std::string DocumentsFolder(const EnvironmentLookup& environment);
// The same from the process's environment.
std::string DocumentsFolder();

}  // namespace taviro::platform
