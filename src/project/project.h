// The project being played: its folder, information, interface texts, settings and the check that
// finds its files. Created once at start-up; read-only for the rest of the run.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/dialogs.h"
#include "platform/files/file_system.h"
#include "project/cd_file_location.h"
#include "project/error_reports.h"
#include "project/game_flags.h"
#include "project/interface_texts.h"
#include "project/more_settings.h"
#include "project/profile_files.h"
#include "project/project_information.h"
#include "project/project_paths.h"
#include "project/user_settings.h"

namespace taviro::project {

class Project {
public:
    // configFolder: where the per-user settings file lives (DefaultConfigFolder() in play).
    Project(platform::FileSystem& files, const platform::CodePage& codePage, platform::Dialogs& dialogs,
            CdFileLocation& cd, const GameFlags& flags, const std::filesystem::path& configFolder);

    // Makes the folder the project folder and loads what start-up needs. False when the project
    // information file is missing: the report has been shown and the program must end.
    bool InitializeProject(const std::string& folder);

    void LoadProjectInformation();
    void LoadInterfaceTexts();

    // The path under which the file can be read: as given, under a scrambled name, or on the CD.
    // When it is nowhere, shows the missing-file message and returns the last path tried.
    std::string LocateProjectFile(std::string_view path);

    // The whole text of a project file decoded to UTF-8, or nullopt when it cannot be read (see
    // FileSystem::ReadFile) or is larger than kLargestTextFileBytes.
    std::optional<std::string> ReadTextFile(std::string_view path);

    // A value of the "More" file ("" when absent), and all its keys at once.
    std::string ReadMoreSetting(std::string_view key);
    MoreSettings ReadMoreSettings();

    // The per-user settings of this project; nullopt for a value never saved.
    std::optional<std::string> GetSetting(std::string_view key) const;
    bool SaveSetting(std::string_view key, std::string_view value);

    ProjectPaths paths;
    ProjectInformation information;
    InterfaceTexts UITexts;
    std::vector<std::string> componentFiles;  // the "*.ocx" files of the CPData folder, in order

    ErrorReports& reports() { return reports_; }
    platform::FileSystem& files() { return files_; }
    const CdFileLocation& cd() const { return cd_; }
    const platform::CodePage& codePage() const { return codePage_; }
    ProfileFiles& profiles() { return profiles_; }

private:
    platform::FileSystem& files_;
    const platform::CodePage& codePage_;
    CdFileLocation& cd_;
    ProfileFiles profiles_;
    UserSettings settings_;
    ErrorReports reports_;
};

}  // namespace taviro::project
