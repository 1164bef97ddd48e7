// Parsing of the command line into Options.
#include "app/command_line.h"

#include <charconv>
#include <filesystem>

#include "platform/files/file_system.h"

#include "project/drive_letters.h"

namespace taviro::app {
namespace {

std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--info") {
            options.info = true;
        } else if (argument == "--check") {
            options.check = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--fullscreen") {
            options.fullScreen = true;
        } else if (argument == "--window") {
            options.fullScreen = false;
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument == "--mute") {
            options.mute = true;
        } else if (argument == "--soundfont") {
            auto text = value();
            if (!text) return UsageError{"--soundfont needs a file name"};
            options.soundFont = *text;
        } else if (argument == "--autoplay" || argument == "--log") {
            auto text = value();
            if (!text) return UsageError{argument + " needs a file name"};
            (argument == "--autoplay" ? options.autoplayFile : options.logFile) = *text;
        } else if (argument == "--codepage" || argument == "--scale") {
            auto text = value();
            auto number = text ? ParseNumber(*text) : std::nullopt;
            if (!number || *number <= 0) return UsageError{argument + " needs a positive whole number"};
            (argument == "--codepage" ? options.codePage : options.scale) = *number;
        } else if (argument == "--locale") {
            auto text = value();
            auto number = text ? ParseNumber(*text) : std::nullopt;
            if (!number || *number <= 0) return UsageError{"--locale needs a locale number such as 1031"};
            options.locale = *number;
        } else if (argument == "--drive") {
            auto text = value();
            auto mapping = text ? project::ParseDriveMapping(*text) : std::nullopt;
            if (!mapping)
                return UsageError{"--drive needs a letter from A to V and a folder, such as D=/media/cdrom"};
            options.drives.push_back(*mapping);
        } else if (argument == "--desktop") {
            auto text = value();
            auto cross = text ? text->find('x') : std::string::npos;
            auto width = cross != std::string::npos ? ParseNumber(text->substr(0, cross)) : std::nullopt;
            auto height = cross != std::string::npos ? ParseNumber(text->substr(cross + 1)) : std::nullopt;
            if (!width || !height || *width <= 0 || *height <= 0)
                return UsageError{"--desktop needs a size such as 1024x768"};
            options.desktopSize = platform::Point{*width, *height};
        } else if (argument.starts_with("-") && argument != "-") {
            return UsageError{"unknown option " + argument};
        } else if (options.projectFolder) {
            return UsageError{"only one game folder can be played at a time"};
        } else {
            options.projectFolder = argument;
        }
    }
    return options;
}

std::string GameFolderOfArgument(const std::string& argument) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path path(argument);
    if (!fs::is_regular_file(path, failed) || platform::FoldCase(path.filename().string()) != "general")
        return argument;
    const fs::path config = fs::absolute(path, failed).parent_path();
    if (failed || platform::FoldCase(config.filename().string()) != "config") return argument;
    return config.parent_path().string();
}

std::string UsageText() {
    return "Usage: taviro-player [options] [GAME_FOLDER | GAME_FOLDER/Config/General]\n"
           "Plays the Taviro adventure game in GAME_FOLDER (default: the player's own folder).\n"
           "\n"
           "Options:\n"
           "  --info            print the game's project information as JSON and exit\n"
           "  --check           list every problem a player would meet in the game, without playing;\n"
           "                    exit status 0 when clean, 1 with problems, 2 when not a game\n"
           "  --json            with --check: write the findings as JSON\n"
           "  --codepage N      code page of the game's text files (default 1252)\n"
           "  --fullscreen      play full screen\n"
           "  --window          play in a window\n"
           "  --scale N         scale the game window N times\n"
           "  --headless        play with no window and no sound, on a virtual clock\n"
           "  --desktop WxH     the desktop size a headless player pretends to have (default 1920x1080)\n"
           "  --autoplay FILE   run automation commands from FILE (- for standard input)\n"
           "  --mute            play every sound silently\n"
           "  --soundfont FILE  play MIDI music with this soundfont (.sf2)\n"
           "  --locale LCID     the locale scripts start in, such as 1031 for German (default: the\n"
           "                    environment's LC_ALL, LC_NUMERIC or LANG)\n"
           "  --drive L=FOLDER  a game played from CD sees FOLDER as its CD-ROM drive L: (repeatable;\n"
           "                    default: the CDs and DVDs mounted on the machine, from D: on)\n"
           "  --log FILE        write every error report to FILE as well\n"
           "  --verbose         log more\n"
           "  --version         print the version and exit\n"
           "  --help            print this text and exit\n";
}

}  // namespace taviro::app
