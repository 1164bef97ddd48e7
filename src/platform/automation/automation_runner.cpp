// Running automation commands.
#include "platform/automation/automation_runner.h"

#include <fstream>
#include <istream>
#include <ostream>

#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

using Kind = AutomationCommand::Kind;

// A drag moves the mouse in this many steps, so that targets on the way see it pass.
constexpr int kDragSteps = 8;

}  // namespace

AutomationRunner::AutomationRunner(AutomationHost& host, std::ostream& standardOutput)
    : host_(host), out_(standardOutput) {}

AutomationRunner::Outcome AutomationRunner::Run(const std::vector<AutomationCommand>& commands) {
    size_t next = 0;
    source_ = [&commands, next]() mutable -> std::optional<AutomationCommand> {
        if (next >= commands.size()) return std::nullopt;
        return commands[next++];
    };
    return RunAll();
}

AutomationRunner::Outcome AutomationRunner::RunAll() {
    outcome_.reset();
    while (!host_.quitRequested() && !outcome_) {
        std::optional<AutomationCommand> command = NextCommand();
        if (!command) break;
        ExecuteAtTop(*command);
    }
    // Nothing is left to run inside a later wait of the game.
    host_.ScheduleNestedCommands(0, nullptr);
    source_ = nullptr;
    return outcome_.value_or(Outcome{});
}

std::optional<AutomationCommand> AutomationRunner::NextCommand() {
    if (outcome_ || !source_) return std::nullopt;
    return source_();
}

void AutomationRunner::Schedule(int64_t dueMs) {
    host_.ScheduleNestedCommands(dueMs, [this] { RunNested(); });
}

void AutomationRunner::ExecuteAtTop(const AutomationCommand& command) {
    ranNested_ = false;
    if (command.kind != Kind::Wait) {
        dueMs_ = host_.NowMs();
        Schedule(dueMs_);
        if (auto error = Execute(command)) outcome_ = Outcome{1, *error};
    } else {
        dueMs_ = host_.NowMs() + command.durationMs;
        Schedule(dueMs_);
        host_.Wait(command.durationMs);
    }
    // Commands that ran inside a wait of the game may have ended with a wait that is not over yet.
    while (ranNested_ && !host_.quitRequested() && !outcome_ && host_.NowMs() < dueMs_) {
        ranNested_ = false;
        host_.Wait(dueMs_ - host_.NowMs());
    }
}

void AutomationRunner::ReleasePendingUp() {
    if (!pendingUp_) return;
    auto [at, button] = *pendingUp_;
    pendingUp_.reset();
    host_.MouseUp(at, button);
    host_.Pump();
}

void AutomationRunner::RunNested() {
    ranNested_ = true;
    ReleasePendingUp();
    while (!host_.quitRequested() && !outcome_) {
        std::optional<AutomationCommand> command = NextCommand();
        if (!command) return;
        if (command->kind == Kind::Wait) {
            dueMs_ = host_.NowMs() + command->durationMs;
            Schedule(dueMs_);
            return;
        }
        Schedule(host_.NowMs());
        if (auto error = Execute(*command)) outcome_ = Outcome{1, *error};
    }
}

bool AutomationRunner::RunNext() {
    if (host_.quitRequested()) return false;
    std::optional<AutomationCommand> command = NextCommand();
    if (!command) return false;
    std::optional<std::string> error = Execute(*command);
    if (!error) return true;
    outcome_ = Outcome{1, *error};
    host_.Quit();
    return false;
}

AutomationRunner::Outcome AutomationRunner::RunLines(std::istream& in) {
    int lineNumber = 0;
    source_ = [this, &in, lineNumber]() mutable -> std::optional<AutomationCommand> {
        std::string line;
        while (!host_.quitRequested() && std::getline(in, line)) {
            auto parsed = ParseAutomationLine(line, ++lineNumber);
            if (auto* error = std::get_if<AutomationError>(&parsed)) {
                outcome_ = Outcome{2, error->message};
                return std::nullopt;
            }
            if (auto& command = std::get<std::optional<AutomationCommand>>(parsed)) return command;
        }
        return std::nullopt;
    };
    return RunAll();
}

std::optional<std::string> AutomationRunner::Execute(const AutomationCommand& command) {
    auto failed = [&](const std::string& why) {
        return "line " + std::to_string(command.lineNumber) + ": " + why;
    };
    std::optional<std::string> error;
    switch (command.kind) {
        case Kind::Wait: host_.Wait(command.durationMs); break;
        case Kind::Move:
            host_.MouseMove(command.at);
            host_.Pump();
            break;
        case Kind::Wheel:
            host_.MouseMove(command.at);
            host_.Wheel(command.at, command.notches);
            host_.Pump();
            break;
        case Kind::Click:
        case Kind::Down:
        case Kind::Up:
            host_.MouseMove(command.at);
            if (command.kind == Kind::Click) pendingUp_ = std::pair{command.at, command.button};
            if (command.kind != Kind::Up) {
                host_.MouseDown(command.at, command.button);
                host_.Pump();
            }
            if (command.kind == Kind::Click) {
                ReleasePendingUp();
            } else if (command.kind == Kind::Up) {
                host_.MouseUp(command.at, command.button);
                host_.Pump();
            }
            break;
        case Kind::DoubleClick:
            host_.MouseMove(command.at);
            host_.MouseDown(command.at, 1);
            host_.MouseUp(command.at, 1);
            host_.Pump();
            host_.DoubleClick(command.at);
            host_.Pump();
            break;
        case Kind::Drag: {
            host_.MouseMove(command.at);
            host_.MouseDown(command.at, 1);
            host_.Pump();
            for (int step = 1; step <= kDragSteps; ++step) {
                Point p{command.at.x + (command.to.x - command.at.x) * step / kDragSteps,
                        command.at.y + (command.to.y - command.at.y) * step / kDragSteps};
                host_.MouseMove(p);
                host_.Pump();
            }
            host_.MouseUp(command.to, 1);
            host_.Pump();
            break;
        }
        case Kind::Key:
            host_.Key(command.virtualKey, command.shift);
            host_.Pump();
            break;
        case Kind::Text:
            host_.Text(command.text);
            host_.Pump();
            break;
        case Kind::Press: error = host_.Press(command.text); break;
        case Kind::Select: error = host_.Select(command.text); break;
        case Kind::Menu: error = host_.Menu(command.menuPath); break;
        case Kind::Answer: host_.dialogHistory().QueueAnswer(command.answer); break;
        case Kind::Input: host_.dialogHistory().QueueInput(command.text); break;
        case Kind::InputCancel: host_.dialogHistory().QueueInput(std::nullopt); break;
        case Kind::Screenshot: try { host_.Screenshot(command.text);
            } catch (const GameError&) {
                error = "cannot write the screenshot " + command.text;
            }
            break;
        case Kind::State: {
            // Text of a damaged game may hold bytes that are not UTF-8; they show as U+FFFD.
            std::string text =
                host_.State().dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
            if (command.text == "-") {
                out_ << text << std::flush;
                break;
            }
            std::ofstream file(command.text, std::ios::binary);
            if (!(file << text)) error = "cannot write the state to " + command.text;
            break;
        }
        case Kind::Quit: host_.Quit(); break;
        case Kind::KeepGoing: keepGoing_ = true; break;
    }
    if (error) return Failed(failed(*error));
    return std::nullopt;
}

std::optional<std::string> AutomationRunner::Failed(const std::string& message) {
    if (!keepGoing_) return message;
    log::Error("automation " + message);
    return std::nullopt;
}

}  // namespace taviro::platform
