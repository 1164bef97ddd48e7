// The player's command line: taviro-player [options] [PROJECT_DIR].
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/controls/geometry.h"

namespace taviro::app {

struct Options {
    std::optional<std::string> projectFolder;  // absent: the folder of the program
    bool help = false;
    bool version = false;
    bool info = false;                           // print the project information as JSON and exit
    bool check = false;                          // check the game's files without playing it, and exit
    bool json = false;                           // --check writes JSON instead of text
    int codePage = 1252;                         // code page of the project's text files
    bool headless = false;                       // no window, no audio device, virtual clock
    std::optional<std::string> autoplayFile;     // automation commands; "-" is standard input
    std::optional<bool> fullScreen;              // --fullscreen / --window override the project
    int scale = 0;                               // window scale factor; 0 = automatic
    std::optional<platform::Point> desktopSize;  // headless: the desktop to pretend
    std::optional<std::string> logFile;
    bool verbose = false;
    bool mute = false;                     // every sound plays silently
    std::optional<std::string> soundFont;  // the soundfont of MIDI music
    std::optional<int> locale;  // --locale LCID: the scripts' locale; absent: the environment's
    // --drive LETTER=FOLDER, in order: the folders that games played from CD see as drives.
    std::vector<std::pair<char, std::string>> drives;
};

// A usage error: the message to print before the usage text.
struct UsageError {
    std::string message;
};

std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& arguments);

// The game folder a command-line argument names: the folder itself, or for a game's
// "Config/General" file (as a file manager passes it) the folder two levels up.
std::string GameFolderOfArgument(const std::string& argument);

// The text printed by --help.
std::string UsageText();

}  // namespace taviro::app
