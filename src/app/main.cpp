// taviro-player: plays the Taviro adventure game in a folder.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <variant>

#include "app/command_line.h"
#include "app/game.h"
#include "app/game_state.h"
#include "app/project_info_json.h"
#include "platform/automation/automation_runner.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/sdl/player_screen.h"
#include "project/cd_file_location.h"
#include "project/project.h"

namespace {

using namespace taviro;

// The size of the game's frames: the project's own, else its resolution setting.
platform::Point FrameSize(const project::ProjectInformation& info) {
    if (info.ProjectWidth > 0 && info.ProjectHeight > 0) return {info.ProjectWidth, info.ProjectHeight};
    switch (info.projectResolution) {
        case 1: return {800, 600};
        case 2: return {1024, 768};
        default: return {640, 480};
    }
}

// Runs the automation file (or standard input) against the screen; the exit status of the program.
int RunAutomation(platform::PlayerScreen& screen, const std::string& file) {
    platform::AutomationRunner runner(screen, std::cout);
    platform::AutomationRunner::Outcome outcome;
    if (file == "-") {
        outcome = runner.RunLines(std::cin);
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            platform::log::MissingFile(file);
            std::cerr << "taviro-player: cannot read the automation file " << file << "\n";
            return 2;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto parsed = platform::ParseAutomation(text);
        if (auto* error = std::get_if<platform::AutomationError>(&parsed)) {
            outcome = {2, error->message};
        } else {
            outcome = runner.Run(std::get<std::vector<platform::AutomationCommand>>(parsed));
        }
    }
    if (outcome.exitStatus != 0)
        platform::log::Error((file == "-" ? std::string("standard input") : file) + ": " + outcome.message);
    return outcome.exitStatus;
}

int Play(const app::Options& options) {
    platform::FileSystem files;
    platform::CodePage codePage(options.codePage);
    platform::ConsoleDialogs dialogs(std::cerr);
    project::NoCd cd;
    GameFlags flags;
    project::Project project(files, codePage, dialogs, cd, flags, project::DefaultConfigFolder());

    std::string folder = options.projectFolder.value_or(platform::ProgramFolder().string());
    if (!project.InitializeProject(folder)) return 1;
    if (options.info) {
        std::cout << app::ProjectInfoJson(project).dump(2) << "\n";
        return 0;
    }
    project.SaveSetting("Path", project.paths.ProjectPath);

    // Headless play runs on the virtual clock, which moves only when automation waits.
    platform::RealClock realClock;
    platform::VirtualClock virtualClock;
    platform::Clock& clock = options.headless ? static_cast<platform::Clock&>(virtualClock) : realClock;
    platform::Point size = FrameSize(project.information);
    platform::DisplaySettings settings{.clientWidth = size.x,
                                       .clientHeight = size.y,
                                       .headless = options.headless,
                                       .fullScreen = options.fullScreen.value_or(false),
                                       .scale = options.scale > 0 ? options.scale : 1,
                                       .border = true,
                                       .caption = project.information.ProjectTitle};
    platform::PlayerScreen screen(settings, clock, files, options.autoplayFile.has_value());
    project.reports().UseDialogs(screen.dialogs());

    // The welcome window comes with the start-up sequence; until then a new game starts at once.
    app::Game game(project, flags, screen.form(), screen.loop());
    game.tilePicture = [&screen](platform::Canvas& canvas, const std::string& path) {
        canvas.Tile(screen.pictures().Load(path)->view());
    };
    game.UseMouse(screen.mouse());
    app::ContributeGameState(screen.stateDump(), game, screen.form());
    game.ResetAll();
    game.StartNewGame();

    int status = 0;
    if (options.autoplayFile) {
        status = RunAutomation(screen, *options.autoplayFile);
    } else if (!options.headless) {
        screen.RunUntilQuit();
    }
    app::WithdrawGameState(screen.stateDump());
    return status;
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
    if (!platform::log::Configure(options.logFile ? options.logFile->c_str() : nullptr, options.verbose)) {
        std::cerr << "taviro-player: cannot write the log file " << *options.logFile << "\n";
        return 2;
    }
    int status = 0;
    try {
        status = Play(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "taviro-player: " << error.what() << "\n";
        status = 2;
    } catch (const GameError& error) {
        platform::log::Error(error.description());
        status = 1;
    }
    platform::QuitSdl();
    return status;
}
