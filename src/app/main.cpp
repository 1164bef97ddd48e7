// taviro-player: plays the Taviro adventure game in a folder.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <variant>

#include "app/command_line.h"
#include "app/player.h"
#include "app/project_info_json.h"
#include "platform/automation/automation_runner.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/memory/memory_reuse.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/player_screen.h"
#include "project/cd_file_location.h"
#include "project/project.h"
#include "vbscript/locale.h"

namespace {

using namespace taviro;

// What a headless game asked of the desktop, which opens and starts nothing.
struct HeadlessDesktop {
    std::vector<std::string> opened;
    std::vector<std::string> started;
};

// A program a headless game "started": it has ended at once.
struct EndedProgram : platform::RunningProgram {
    bool Running() override { return false; }
};

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
    platform::DisplaySettings settings{.headless = options.headless,
                                       .scale = options.scale > 0 ? options.scale : 1,
                                       .caption = project.information.ProjectTitle};
    if (options.desktopSize) settings.headlessDesktop = *options.desktopSize;
    HeadlessDesktop desktop;  // before the screen, whose state dump reads it
    platform::PlayerScreen screen(settings, clock, files, options.autoplayFile.has_value());
    project.reports().UseDialogs(screen.dialogs());

    app::DisplayModes modes(screen.desktopSize());
    modes.windowed = !options.fullScreen.value_or(!project.information.windowed);
    app::ScreenServices services;
    services.loadWindow = [&screen](const std::string& name, int width, int height) -> platform::TopWindow& {
        return screen.LoadWindow(name, width, height);
    };
    services.pictureSize = [&screen](const std::string& path) -> std::optional<platform::Point> {
        try {
            auto picture = screen.pictures().Load(path);
            return platform::Point{picture->width(), picture->height()};
        } catch (const GameError&) {
            return std::nullopt;
        }
    };
    services.tilePicture = [&screen](platform::Canvas& canvas, const std::string& path) {
        canvas.Tile(screen.pictures().Load(path)->view());
    };
    // Headless play never starts other programs; the log says what would have opened, and the
    // state dump what the game asked of the desktop.
    services.openAddress = [headless = options.headless](const std::string& address) {
        platform::log::Info("open " + address);
        if (!headless) platform::OpenAddress(address);
    };
    if (options.headless) {
        services.openDocument = [&desktop](const std::string& address) {
            platform::log::Info("open " + address);
            desktop.opened.push_back(address);
            return true;
        };
        services.startProgram =
            [&desktop](const std::string& path) -> std::unique_ptr<platform::RunningProgram> {
            platform::log::Info("run " + path);
            desktop.started.push_back(path);
            return std::make_unique<EndedProgram>();
        };
        screen.stateDump().Contribute("desktop", [&desktop] {
            return nlohmann::ordered_json{{"opened", desktop.opened}, {"started", desktop.started}};
        });
    } else {
        services.openDocument = platform::OpenAddress;
        services.clipboardText = platform::ClipboardText;
        services.setClipboardText = platform::SetClipboardText;
    }
    services.savePicture = [&screen, &files](const std::string& picturePath, const std::string& file) {
        platform::SaveBitmap(*screen.pictures().Load(picturePath), file);
        files.Forget();
    };
    app::Player player(project, flags, screen.windows(), screen.loop(), screen.stateDump(), modes, services);
    // The start-up runs as the first turn of the loop, like every later handler.
    screen.loop().Defer([&player] { player.Start(); });
    screen.loop().DoEvents();

    if (options.autoplayFile) return RunAutomation(screen, *options.autoplayFile);
    if (!options.headless) screen.RunUntilQuit();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemoryForReuse();
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
    if (!vbscript::SetDefaultStartLocale(options.locale ? *options.locale
                                                        : vbscript::LcidFromEnvironment())) {
        std::cerr << "taviro-player: unknown locale " << *options.locale << "\n";
        return 2;
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
