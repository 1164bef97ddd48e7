// Parsing automation commands.
#include "platform/automation/automation_script.h"

#include <charconv>

#include "platform/controls/property_value.h"
#include "platform/input/virtual_keys.h"

namespace taviro::platform {
namespace {

using Kind = AutomationCommand::Kind;

struct Words {
    std::vector<std::string_view> words;
    std::string_view rest;  // the line after the command word, spaces around it trimmed
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

Words Split(std::string_view line) {
    Words result;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > at) {
            if (result.words.empty()) result.rest = Trim(line.substr(end));
            result.words.push_back(line.substr(at, end - at));
        }
        at = end;
    }
    return result;
}

std::optional<int64_t> Number(std::string_view word) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < 0) return std::nullopt;
    return value;
}

struct Parser {
    int lineNumber;
    Words words;
    AutomationCommand command;
    std::string error;

    bool Fail(std::string message) {
        error = std::move(message);
        return false;
    }

    bool Count(size_t least, size_t most, const char* usage) {
        size_t n = words.words.size() - 1;
        return n >= least && n <= most ? true : Fail(std::string("expected ") + usage);
    }

    bool PointAt(size_t first, Point& point, const char* usage) {
        auto x = Number(words.words[first]), y = Number(words.words[first + 1]);
        if (!x || !y || *x > 100000 || *y > 100000) return Fail(std::string("expected ") + usage);
        point = {static_cast<int>(*x), static_cast<int>(*y)};
        return true;
    }

    bool Button(size_t at, const char* usage) {
        if (words.words.size() <= at) return true;
        if (SameName(words.words[at], "left"))
            command.button = 1;
        else if (SameName(words.words[at], "right"))
            command.button = 2;
        else
            return Fail(std::string("expected ") + usage);
        return true;
    }

    bool Rest(const char* usage) {
        if (words.rest.empty()) return Fail(std::string("expected ") + usage);
        command.text = std::string(words.rest);
        return true;
    }

    bool Parse() {
        std::string_view verb = words.words[0];
        auto is = [&](const char* name) { return SameName(verb, name); };
        if (is("wait")) {
            command.kind = Kind::Wait;
            if (!Count(1, 1, "wait MS")) return false;
            auto ms = Number(words.words[1]);
            if (!ms) return Fail("expected wait MS with MS a whole number of milliseconds");
            command.durationMs = *ms;
            return true;
        }
        for (auto [name, kind] : {std::pair{"click", Kind::Click}, {"down", Kind::Down}, {"up", Kind::Up}}) {
            if (!is(name)) continue;
            command.kind = kind;
            std::string usage = std::string(name) + " X Y [left|right]";
            return Count(2, 3, usage.c_str()) && PointAt(1, command.at, usage.c_str()) &&
                   Button(3, usage.c_str());
        }
        if (is("dblclick") || is("move")) {
            command.kind = is("move") ? Kind::Move : Kind::DoubleClick;
            const char* usage = is("move") ? "move X Y" : "dblclick X Y";
            return Count(2, 2, usage) && PointAt(1, command.at, usage);
        }
        if (is("wheel")) {
            command.kind = Kind::Wheel;
            const char* usage = "wheel X Y NOTCHES (negative: towards the player)";
            if (!Count(3, 3, usage) || !PointAt(1, command.at, usage)) return false;
            int notches = 0;
            std::string_view word = words.words[3];
            auto [end, failed] = std::from_chars(word.data(), word.data() + word.size(), notches);
            if (failed != std::errc() || end != word.data() + word.size() || notches < -100 || notches > 100)
                return Fail(std::string("expected ") + usage);
            command.notches = notches;
            return true;
        }
        if (is("drag")) {
            command.kind = Kind::Drag;
            return Count(4, 4, "drag X1 Y1 X2 Y2") && PointAt(1, command.at, "drag X1 Y1 X2 Y2") &&
                   PointAt(3, command.to, "drag X1 Y1 X2 Y2");
        }
        if (is("key")) {
            command.kind = Kind::Key;
            if (!Count(1, 4, "key NAME [ctrl] [shift] [alt]")) return false;
            auto code = VirtualKeyByName(words.words[1]);
            if (!code) return Fail("unknown key " + std::string(words.words[1]));
            command.virtualKey = *code;
            for (size_t i = 2; i < words.words.size(); ++i) {
                int flag = SameName(words.words[i], "shift")  ? 1
                           : SameName(words.words[i], "ctrl") ? 2
                           : SameName(words.words[i], "alt")  ? 4
                                                              : 0;
                if (!flag || (command.shift & flag)) return Fail("expected key NAME [ctrl] [shift] [alt]");
                command.shift |= flag;
            }
            return true;
        }
        struct RestCommand {
            const char* name;
            Kind kind;
            const char* usage;
        };
        static constexpr RestCommand kRestCommands[] = {{"text", Kind::Text, "text TEXT"},
                                                        {"press", Kind::Press, "press CAPTION"},
                                                        {"select", Kind::Select, "select TEXT"},
                                                        {"input", Kind::Input, "input TEXT"},
                                                        {"screenshot", Kind::Screenshot, "screenshot FILE"},
                                                        {"state", Kind::State, "state FILE"}};
        for (const RestCommand& rest : kRestCommands) {
            if (!is(rest.name)) continue;
            command.kind = rest.kind;
            return Rest(rest.usage);
        }
        if (is("answer")) {
            command.kind = Kind::Answer;
            if (!Count(1, 1, "answer OK|Cancel|Yes|No")) return false;
            for (auto answer :
                 {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes, MessageAnswer::No})
                if (SameName(words.words[1], AnswerName(answer))) {
                    command.answer = answer;
                    return true;
                }
            return Fail("expected answer OK|Cancel|Yes|No");
        }
        if (is("menu")) {
            command.kind = Kind::Menu;
            if (!Rest("menu CAPTION[/CAPTION...]")) return false;
            // Captions are split at slashes; a backslash keeps the slash after it in the caption.
            std::string caption;
            for (size_t at = 0; at <= words.rest.size(); ++at) {
                if (at < words.rest.size() && words.rest.substr(at, 2) == "\\/") {
                    caption += '/';
                    ++at;
                } else if (at == words.rest.size() || words.rest[at] == '/') {
                    std::string_view trimmed = Trim(caption);
                    if (trimmed.empty())
                        return Fail("expected menu CAPTION[/CAPTION...] with no empty caption");
                    command.menuPath.emplace_back(trimmed);
                    caption.clear();
                } else {
                    caption += words.rest[at];
                }
            }
            return true;
        }
        if (is("keep-going")) {
            command.kind = Kind::KeepGoing;
            return Count(0, 0, "keep-going with nothing after it");
        }
        if (is("input-cancel") || is("quit")) {
            command.kind = is("quit") ? Kind::Quit : Kind::InputCancel;
            return Count(0, 0,
                         is("quit") ? "quit with nothing after it" : "input-cancel with nothing after it");
        }
        return Fail("unknown command " + std::string(verb));
    }
};

}  // namespace

std::variant<std::optional<AutomationCommand>, AutomationError> ParseAutomationLine(std::string_view line,
                                                                                    int lineNumber) {
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return std::optional<AutomationCommand>();
    Parser parser{lineNumber, Split(trimmed), {}, {}};
    parser.command.lineNumber = lineNumber;
    if (!parser.Parse())
        return AutomationError{lineNumber, "line " + std::to_string(lineNumber) + ": " + parser.error + ": " +
                                               std::string(trimmed)};
    return std::optional<AutomationCommand>(std::move(parser.command));
}

std::variant<std::vector<AutomationCommand>, AutomationError> ParseAutomation(std::string_view text) {
    std::vector<AutomationCommand> commands;
    int lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        auto parsed = ParseAutomationLine(line, ++lineNumber);
        if (auto* error = std::get_if<AutomationError>(&parsed)) return *error;
        if (auto& command = std::get<std::optional<AutomationCommand>>(parsed))
            commands.push_back(std::move(*command));
    }
    return commands;
}

}  // namespace taviro::platform
