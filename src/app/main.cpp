// taviro-player: plays the Taviro adventure game in a folder.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <variant>

#include "app/command_line.h"
#include "app/player.h"
#include "app/project_info_json.h"
#include "checker/game_checker.h"
#include "checker/reachable_frames.h"
#include "platform/automation/automation_runner.h"
#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/dialogs/player_notice.h"
#include "platform/dialogs/sound_settings_window.h"
#include "platform/files/documents_folder.h"
#include "platform/files/file_system.h"
#include "platform/files/optical_media.h"
#include "platform/files/screenshot_file.h"
#include "platform/files/user_dirs.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/media/audio_engine.h"
#include "platform/memory/memory_reuse.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/library_versions.h"
#include "platform/sdl/player_screen.h"
#include "platform/windows/away_pause.h"
#include "project/cd_locator.h"
#include "project/drive_letters.h"
#include "project/project.h"
#include "project/user_settings.h"
#include "vbscript/locale.h"
#include "vbscript/regexp.h"

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

// The player's sound settings are kept under a section of their own, apart from every game's.
constexpr char kPlayerSection[] = "Taviro Player";

platform::SoundSettings ReadSoundSettings(const project::UserSettings& settings) {
    platform::SoundSettings sound;
    auto percent = [&](const char* key, int fallback) {
        std::optional<std::string> text = settings.GetSetting(kPlayerSection, key);
        if (!text) return fallback;
        try {
            return std::clamp(std::stoi(*text), 0, 100);
        } catch (const std::exception&) {
            return fallback;
        }
    };
    sound.musicPercent = percent("MusicVolume", 100);
    sound.soundPercent = percent("SoundVolume", 100);
    sound.muted = settings.GetSetting(kPlayerSection, "Mute").value_or("") == "1";
    sound.pauseWhenUnfocused = settings.GetSetting(kPlayerSection, "PauseUnfocused").value_or("") == "1";
    return sound;
}

void SaveSoundSettings(project::UserSettings& settings, const platform::SoundSettings& sound) {
    settings.SaveSetting(kPlayerSection, "MusicVolume", std::to_string(sound.musicPercent));
    settings.SaveSetting(kPlayerSection, "SoundVolume", std::to_string(sound.soundPercent));
    settings.SaveSetting(kPlayerSection, "Mute", sound.muted ? "1" : "0");
    settings.SaveSetting(kPlayerSection, "PauseUnfocused", sound.pauseWhenUnfocused ? "1" : "0");
}

// Alt+S: the game as it is on screen, as PNG in the player's pictures under "Taviro"; the log and a
// notice of the player's own say where it went.
void TakeScreenshot(platform::PlayerScreen& screen, platform::PlayerNotice& notice,
                    const platform::Clock& clock, const std::string& title) {
    const std::string pictures = platform::PicturesFolder();
    if (pictures.empty()) {
        platform::log::Error("no folder for screenshots: neither XDG_PICTURES_DIR nor HOME is set");
        return notice.Show("No folder for screenshots");
    }
    const std::string folder = pictures + "/Taviro";
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    const std::string file = platform::NewScreenshotPath(folder, title, clock.LocalTimeMs());
    try {
        screen.Screenshot(file);
    } catch (const std::exception&) {
        return notice.Show("The screenshot could not be written to " + folder);
    }
    platform::log::Notice("screenshot " + file);
    notice.Show("Screenshot saved: " + file);
}

// Runs the automation file (or standard input) against the screen; the exit status of the program.
int RunAutomation(platform::PlayerScreen& screen, const std::string& file) {
    platform::AutomationRunner runner(screen, std::cout);
    // Waits that only time ends (a transition) take the next commands while the virtual clock stands.
    screen.loop().SetStandstillHandler([&runner] { return runner.RunNext(); });
    // A modal window that only a command can answer (the insert-CD window) runs the next commands.
    screen.runFromCdWindows().nextAutomationCommand = [&runner] { return runner.RunNext(); };
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
    screen.loop().SetStandstillHandler({});
    if (outcome.exitStatus != 0)
        platform::log::Error((file == "-" ? std::string("standard input") : file) + ": " + outcome.message);
    return outcome.exitStatus;
}

int Play(const app::Options& options) {
    platform::FileSystem files;
    platform::CodePage codePage(options.codePage);
    platform::ConsoleDialogs dialogs(std::cerr);
    GameFlags flags;
    // The drives a game played from CD sees: the folders the command line maps, else the optical
    // discs mounted now.
    project::DriveLetters drives;
    for (const auto& [letter, folder] : options.drives) drives.Map(letter, folder);
    if (options.drives.empty()) drives.AddOpticalMedia(platform::MountedOpticalMedia());
    project::CdLocator cd(drives, flags);
    project::Project project(files, codePage, dialogs, cd, flags, project::DefaultConfigFolder());

    std::string folder = options.projectFolder ? app::GameFolderOfArgument(*options.projectFolder)
                                               : platform::ProgramFolder().string();
    // Paths the game shows (the players' file names, the saved "Path") are full paths, as in the
    // original, whatever folder the command line names.
    std::error_code noFullPath;
    if (std::filesystem::path full = std::filesystem::absolute(folder, noFullPath); !noFullPath)
        folder = full.string();
    const bool initialized = project.InitializeProject(folder);
    if (!initialized && options.info) return 1;
    if (options.info) {
        std::cout << app::ProjectInfoJson(project).dump(2, ' ', false,
                                                        nlohmann::json::error_handler_t::replace)
                  << "\n";
        return 0;
    }
    if (initialized) project.SaveSetting("Path", project.paths.ProjectPath);
    // ActiveX components of the game cannot run here; the player offers classes of its own instead.
    if (initialized && !project.componentFiles.empty()) {
        std::string names;
        for (const std::string& file : project.componentFiles) names += (names.empty() ? "" : ", ") + file;
        platform::log::Error("the game's ActiveX components (" + names +
                             ") cannot run on this system; the player offers its own component classes");
    }

    // Headless play runs on the virtual clock, which moves only when automation waits.
    platform::RealClock realClock;
    platform::VirtualClock virtualClock;
    platform::Clock& clock = options.headless ? static_cast<platform::Clock&>(virtualClock) : realClock;
    platform::DisplaySettings settings{.headless = options.headless,
                                       .scale = options.scale > 0 ? options.scale : 1,
                                       .caption = project.information.ProjectTitle};
    if (options.desktopSize) settings.headlessDesktop = *options.desktopSize;
    HeadlessDesktop desktop;  // before the screen, whose state dump reads it
    // A headless screen has nobody to answer its boxes: they take their queued or default answers.
    platform::PlayerScreen screen(settings, clock, files,
                                  options.headless || options.autoplayFile.has_value());
    project.reports().UseDialogs(screen.dialogs());
    cd.windows = &screen.runFromCdWindows();
    // Reports made before the screen existed are shown now as the message boxes they are.
    auto showStartupReports = [&screen, &dialogs] {
        for (const platform::MessageBoxRequest& request : dialogs.messageBoxes())
            screen.dialogs().MessageBox(request);
    };
    if (!initialized) {
        showStartupReports();
        return 1;
    }

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
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    services.tilePicture = [&screen](platform::Canvas& canvas, const std::string& path) {
        canvas.Tile(screen.pictures().Load(path)->view());
    };
    services.frameShown = [&screen, &project](const std::string& frame) {
        screen.AtNextIdle([&screen, &project, frame] {
            checker::ShownAhead ahead = checker::ReachableContent(project, frame);
            screen.PrepareAhead(std::move(ahead.pictureFiles), std::move(ahead.texts));
        });
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
    services.captureControl = [&screen](const platform::Control& control, platform::Canvas& into,
                                        bool desktopOnly) {
        screen.CaptureControl(control, into, desktopOnly);
    };
    services.copyPicture = [&screen](platform::Canvas& into, const std::string& path,
                                     const platform::Rect& area) {
        into.Copy(screen.pictures().Load(path)->view(), area, 0, 0);
    };
    services.savedGameWindows = &screen.savedGameWindows();
    services.documentsFolder = platform::DocumentsFolder();
    // One mixer for the whole program; headless play has no device and renders on the virtual clock.
    // A window's device opens once the first window is on screen: it takes a while with a sound server.
    platform::media::AudioEngine audio(clock, false, options.soundFont.value_or(""));
    if (!options.headless) audio.AwaitDevice();
    screen.loop().AddMediaHandler([&audio] { audio.Pump(); });
    services.audio = &audio;
    // The player's own sound settings, kept per user apart from every game's.
    project::UserSettings playerSettings(project.profiles(), project::DefaultConfigFolder());
    platform::SoundSettings sound = ReadSoundSettings(playerSettings);
    sound.muted = sound.muted || options.mute;
    platform::ApplySoundSettings(audio, sound);
    // The game pauses (clock, and so timers, videos and fades; sounds) while the player is away.
    platform::AwayPause away([&realClock, &audio](bool paused) {
        realClock.SetPaused(paused);
        audio.mixer().SetPaused(paused);
    });
    away.SetPauseWhenUnfocused(sound.pauseWhenUnfocused);
    if (!options.headless) {
        screen.minimisedChanged = [&away](bool minimised) { away.SetMinimised(minimised); };
        screen.focusChanged = [&away](bool focused) { away.SetFocused(focused); };
    }
    platform::SoundSettingsWindow soundWindow(audio, sound,
                                              [&playerSettings, &away](const platform::SoundSettings& kept) {
                                                  SaveSoundSettings(playerSettings, kept);
                                                  away.SetPauseWhenUnfocused(kept.pauseWhenUnfocused);
                                              });
    platform::PlayerNotice notice(clock);
    screen.buildOverlay = [&soundWindow, &notice] {
        soundWindow.Build();
        notice.Build();
    };
    screen.stateDump().Contribute("player_notice",
                                  [&notice] { return nlohmann::ordered_json(notice.shown()); });
    services.takeScreenshot = [&screen, &notice, &clock, &project] {
        TakeScreenshot(screen, notice, clock, project.information.ProjectTitle);
    };
    services.togglePlayerSettings = [&soundWindow] { soundWindow.Toggle(); };
    app::Player player(project, flags, screen.windows(), screen.loop(), screen.stateDump(), modes, services);
    // Around the question for the CD, the game in play stops its sounds, or stops, or goes on.
    cd.stopPlaying = [&player] {
        if (app::GameWindow* window = player.gameWindow()) window->game().StopPlaying();
    };
    cd.stopGame = [&player] {
        if (app::GameWindow* window = player.gameWindow()) window->game().StartUnloading();
    };
    cd.restartTimedEvents = [&player] {
        if (app::GameWindow* window = player.gameWindow()) window->game().timedEvents().StartTimedEvents();
    };
    // The start-up runs as the first turn of the loop, like every later handler.
    screen.loop().Defer([&player, &showStartupReports] {
        showStartupReports();
        player.Start();
    });
    screen.loop().DoEvents();
    if (!options.headless) audio.OpenDevice();

    if (options.autoplayFile) return RunAutomation(screen, *options.autoplayFile);
    if (!options.headless) screen.RunUntilQuit();
    return 0;
}

// Checks the game without playing it; the exit status tells whether problems were found.
int RunCheck(const app::Options& options) {
    const std::string folder = options.projectFolder ? app::GameFolderOfArgument(*options.projectFolder)
                                                     : platform::ProgramFolder().string();
    platform::CodePage codePage(options.codePage);
    const checker::CheckReport report = checker::CheckGame(folder, codePage);
    if (options.json) {
        std::cout << checker::ReportJson(report, folder)
                         .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << "\n";
    } else {
        std::cout << checker::ReportText(report, folder);
    }
    return report.ExitStatus();
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
        std::vector<std::string> libraries = platform::LibraryVersions();
        libraries.push_back(vbscript::RegExpLibraryVersion());
        for (const std::string& library : libraries) std::cout << "  " << library << "\n";
        return 0;
    }
    if (options.check) return RunCheck(options);
    if (!vbscript::SetDefaultStartLocale(options.locale ? *options.locale
                                                        : vbscript::LcidFromEnvironment())) {
        std::cerr << "taviro-player: unknown locale " << *options.locale << "\n";
        return 2;
    }
    if (!platform::log::Configure(options.logFile ? options.logFile->c_str() : nullptr, options.verbose)) {
        std::cerr << "taviro-player: cannot write the log file " << *options.logFile << "\n";
        return 2;
    }
    // A window needs a display; without one the game would play unseen until killed.
    if (!options.headless && !options.info && !platform::DisplayAvailable()) {
        std::cerr << "taviro-player: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                     "play without a window with --headless --autoplay FILE\n";
        return 1;
    }
    int status = 0;
    try {
        status = Play(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "taviro-player: " << error.what() << "\n";
        status = 2;
    } catch (const std::exception& failure) {
        // Only a failure before the event loop runs, or of automation itself, comes this far.
        platform::log::Error(failure.what());
        status = 1;
    }
    platform::QuitSdl();
    return status;
}
