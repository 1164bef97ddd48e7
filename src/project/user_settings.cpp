// Settings in "<config folder>/Software.ini", one section per project.
#include "project/user_settings.h"

#include <cstdlib>

namespace taviro::project {

UserSettings::UserSettings(ProfileFiles& profiles, std::filesystem::path configFolder)
    : profiles_(profiles), file_((configFolder / "Software.ini").string()) {}

std::optional<std::string> UserSettings::GetSetting(std::string_view section, std::string_view key) const {
    return profiles_.FindINIString(file_, section, key);
}

bool UserSettings::SaveSetting(std::string_view section, std::string_view key, std::string_view value) {
    return profiles_.WriteINIString(file_, section, key, value);
}

std::filesystem::path DefaultConfigFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return std::filesystem::path(config) / "taviro-player";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".config" / "taviro-player";
}

}  // namespace taviro::project
