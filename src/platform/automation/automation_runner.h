// Carries out automation commands against the running player.
#pragma once

#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
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
    // The mouse wheel turned by notches at a point (positive: away from the player).
    virtual void Wheel(Point at, int notches) = 0;
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
    // The game clock, and a request that waits the game makes inside its handlers call `next` when
    // the clock reaches dueMs, so that the commands after a command or a wait run during them. Hosts
    // whose game never waits inside a handler need neither.
    virtual int64_t NowMs() const { return 0; }
    virtual void ScheduleNestedCommands(int64_t /*dueMs*/, std::function<void()> /*next*/) {}
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

    // Runs the next command of the run in progress, from inside a wait of the game that only input can
    // end (a transition standing still on the virtual clock, a modal window). False when no command is
    // left, the run has failed or quit was asked; a failing command ends the run, and the game is asked
    // to quit so that its waits unwind.
    bool RunNext();

private:
    // Runs the commands the source gives until it gives none, a command fails or the game quits.
    Outcome RunAll();
    // The next command; nullopt at the end, or on a malformed line (which sets the outcome).
    std::optional<AutomationCommand> NextCommand();
    // A command at the top: a wait lets the game clock pass (commands run inside the game's own waits
    // may ask for more); any other command has the commands after it due at once.
    void ExecuteAtTop(const AutomationCommand& command);
    // The commands due while the game waits inside a handler, up to the next wait.
    void RunNested();
    void Schedule(int64_t dueMs);
    // Gives the window the release of the click in progress, when it has not had it yet.
    void ReleasePendingUp();
    // A command that failed ends the run, or with keep-going is written to the log.
    std::optional<std::string> Failed(const std::string& message);

    AutomationHost& host_;
    std::ostream& out_;
    bool keepGoing_ = false;
    std::function<std::optional<AutomationCommand>()> source_;
    std::optional<Outcome> outcome_;  // set by the first command that failed
    int64_t dueMs_ = 0;               // the end of the wait in progress
    bool ranNested_ = false;          // commands ran inside a wait of the game
    // The release of a click whose press the game is still handling: the first of the input that
    // follows the click, as the window would see it.
    std::optional<std::pair<Point, int>> pendingUp_;
};

}  // namespace taviro::platform
