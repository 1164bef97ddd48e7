// The project folder and the fixed sub-folders derived from it. Every path ends with the native
// separator, so file names are appended directly: FramesPath + name + ".fme".
#pragma once

#include <string>

namespace taviro::project {

struct ProjectPaths {
    std::string ProjectPath;
    std::string FramesDataPath;
    std::string FramesPath;
    std::string AreasPath;
    std::string IconsPath;
    std::string ConfigPath;
    std::string TempPath;
    std::string SchemesPath;
    std::string InventoryPath;
    std::string ExternalPath;
    std::string CPDataPath;

    // Sets ProjectPath from the folder (one trailing separator, also for the root) and every
    // sub-folder from it. SchemesPath and InventoryPath are kept when already set.
    void SetProjectFolder(const std::string& folder);
};

}  // namespace taviro::project
