// The automation language: one command per line, blank lines and lines starting with '#' ignored.
// Every end-to-end test drives the player with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/controls/geometry.h"
#include "platform/dialogs.h"

namespace taviro::platform {

struct AutomationCommand {
    enum class Kind {
        Wait,         // durationMs
        Click,        // at, button
        DoubleClick,  // at
        Wheel,        // at, notches
        Down,         // at, button
        Up,           // at, button
        Move,         // at
        Drag,         // at, to
        Key,          // virtualKey, shift
        Text,         // text
        Press,        // text: a caption
        Select,       // text
        Answer,       // answer
        Input,        // text
        InputCancel,
        Menu,        // menuPath: captions split at slashes, except a slash after a backslash
        Screenshot,  // text: a file
        State,       // text: a file, "-" for standard output
        Quit,
        KeepGoing,  // from here on, a command that cannot be carried out is logged and play goes on
    };
    Kind kind = Kind::Quit;
    int lineNumber = 0;
    int64_t durationMs = 0;
    Point at;
    Point to;
    int button = 1;   // 1 left, 2 right
    int notches = 0;  // of the mouse wheel; positive: away from the player
    int virtualKey = 0;
    int shift = 0;  // 1 shift, 2 ctrl, 4 alt
    std::string text;
    MessageAnswer answer = MessageAnswer::Ok;
    std::vector<std::string> menuPath;
};

struct AutomationError {
    int lineNumber = 0;
    std::string message;  // "line 3: ..." ready to print
};

// One line: nullopt for a blank or comment line.
std::variant<std::optional<AutomationCommand>, AutomationError> ParseAutomationLine(std::string_view line,
                                                                                    int lineNumber);

// A whole file; the first bad line is the error.
std::variant<std::vector<AutomationCommand>, AutomationError> ParseAutomation(std::string_view text);

}  // namespace taviro::platform
