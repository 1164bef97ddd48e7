// The per-user settings that outlive a run: string values under the application name "Software"
// and a section per project, kept in a profile file of the user's configuration folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "project/profile_files.h"

namespace taviro::project {

class UserSettings {
public:
    // configFolder: where the settings file lives (see DefaultConfigFolder).
    UserSettings(ProfileFiles& profiles, std::filesystem::path configFolder);

    // nullopt when the value was never saved.
    std::optional<std::string> GetSetting(std::string_view section, std::string_view key) const;
    bool SaveSetting(std::string_view section, std::string_view key, std::string_view value);

    std::string fileName() const { return file_; }

private:
    ProfileFiles& profiles_;
    std::string file_;
};

// $XDG_CONFIG_HOME/taviro-player, or ~/.config/taviro-player.
std::filesystem::path DefaultConfigFolder();

}  // namespace taviro::project
