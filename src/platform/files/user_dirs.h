// The XDG user directories (Documents, Pictures, ...): one reader of user-dirs.dirs for all of them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::platform {

// Reads an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process's environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// A user directory such as XDG_PICTURES_DIR: the variable itself when set, else its entry of
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config/user-dirs.dirs, "$HOME" expanded), else
// $HOME/fallbackName; "" when there is no home folder either. Never ends in a separator.
std::string UserDirectory(const char* key, std::string_view fallbackName,
                          const EnvironmentLookup& environment);

// XDG_PICTURES_DIR, else ~/Pictures: where the player's screenshots go, under "Taviro".
std::string PicturesFolder(const EnvironmentLookup& environment = ProcessEnvironment);

}  // namespace taviro::platform
