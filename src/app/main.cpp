// taviro-player: plays the Taviro adventure game in a folder.
#include <cstdio>
#include <iostream>
#include <variant>

#include "app/command_line.h"
#include "app/project_info_json.h"
#include "platform/console_dialogs.h"
#include "platform/files/file_system.h"
#include "project/cd_file_location.h"
#include "project/project.h"

namespace {

using namespace taviro;

int Play(const app::Options& options) {
    platform::FileSystem files;
    platform::CodePage codePage(options.codePage);
    platform::ConsoleDialogs dialogs(std::cerr);
    project::NoCd cd;
    GameFlags flags;
    project::Project project(files, codePage, dialogs, cd, flags, project::DefaultConfigFolder());

    std::string folder = options.projectFolder.value_or(platform::ProgramFolder().string());
    if (!project.InitializeProject(folder)) return 1;
    if (!options.info) project.SaveSetting("Path", project.paths.ProjectPath);

    // The game window comes with the window system; until then the player shows what it read.
    std::cout << app::ProjectInfoJson(project).dump(2) << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    auto parsed = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (auto* error = std::get_if<app::UsageError>(&parsed)) {
        std::cerr << "taviro-player: " << error->message << "\n\n" << app::UsageText();
        return 2;
    }
    const auto& options = std::get<app::Options>(parsed);
    if (options.help) {
        std::cout << app::UsageText();
        return 0;
    }
    if (options.version) {
        std::cout << "taviro-player " << TAVIRO_VERSION << "\n";
        return 0;
    }
    try {
        return Play(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "taviro-player: " << error.what() << "\n";
        return 2;
    }
}
