// Carries out automation commands against the running player.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/automation_script.h"
#include "platform/dialogs/dialog_history.h"

namespace taviro::platform {

// What automation drives. Points are pixels of the active window's client area (frame pixels in the
// game window, whatever the scaling, border or menu bar).
class AutomationHost {
public:
    virtual ~AutomationHost() = default;

    // Lets game time pass while events run.
    virtual void Wait(int64_t durationMs) = 0;
    // One turn of the event loop, so that handlers of an input event run before the next.
    virtual void Pump() = 0;
    virtual void MouseMove(Point at) = 0;
    virtual void MouseDown(Point at, int button) = 0;
    virtual void MouseUp(Point at, int button) = 0;
    virtual void DoubleClick(Point at) = 0;
    virtual void Key(int virtualKey, int shift) = 0;
    virtual void Text(const std::string& text) = 0;
    // These return an error message when nothing in the active window matches.
    virtual std::optional<std::string> Press(const std::string& caption) = 0;
    virtual std::optional<std::string> Select(const std::string& text) = 0;
    virtual std::optional<std::string> Menu(const std::vector<std::string>& path) = 0;
    // Where automation queues answers and the dialogs record what they showed.
    virtual DialogHistory& dialogHistory() = 0;
    // Writes a PNG of what the active window shows; throws GameError when it cannot.
    virtual void Screenshot(const std::string& file) = 0;
    virtual nlohmann::ordered_json State() = 0;
    virtual void Quit() = 0;
    virtual bool quitRequested() const = 0;
};

class AutomationRunner {
public:
    struct Outcome {
        int exitStatus = 0;   // 0 done, 1 a command could not be carried out, 2 a malformed line
        std::string message;  // what went wrong, naming the line
    };

    // `standardOutput` receives "state -".
    AutomationRunner(AutomationHost& host, std::ostream& standardOutput);

    // Runs the commands in order until the last, quit, or the first that fails (after keep-going,
    // failures are logged and the next command runs).
    Outcome Run(const std::vector<AutomationCommand>& commands);
    // Reads, parses and runs one line at a time (for standard input), stopping at a malformed line.
    Outcome RunLines(std::istream& in);

    // One command; an error message naming its line when it cannot be carried out.
    std::optional<std::string> Execute(const AutomationCommand& command);

    // Runs the next command of the list Run is carrying out, from inside a modal wait of the player
    // (a window that only a command can answer). False when no command is left or one failed.
    bool RunNextCommand();

private:
    // A command that failed ends the run, or with keep-going is written to the log.
    std::optional<std::string> Failed(const std::string& message);

    AutomationHost& host_;
    std::ostream& out_;
    bool keepGoing_ = false;
    // The list Run carries out, its next command, and the failure that ends it.
    const std::vector<AutomationCommand>* commands_ = nullptr;
    size_t next_ = 0;
    std::optional<std::string> failure_;
};

}  // namespace taviro::platform
