// Sub-folder names of a project.
#include "project/project_paths.h"

#include <filesystem>

namespace taviro::project {

void ProjectPaths::SetProjectFolder(const std::string& folder) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    ProjectPath = folder;
    // A folder that already ends in a separator (the root of a drive) keeps just that one.
    if (ProjectPath.empty() || (ProjectPath.back() != separator && ProjectPath.back() != '\\')) {
        ProjectPath += separator;
    }
    auto sub = [&](const char* name) { return ProjectPath + name + separator; };
    FramesDataPath = sub("FramesData");
    FramesPath = sub("Frames");
    AreasPath = sub("Areas");
    IconsPath = sub("Icons");
    ConfigPath = sub("Config");
    TempPath = sub("Temp");
    if (SchemesPath.empty()) SchemesPath = sub("Schemes");
    if (InventoryPath.empty()) InventoryPath = sub("Inventory");
    ExternalPath = sub("External");
    CPDataPath = sub("CPData");
}

}  // namespace taviro::project
