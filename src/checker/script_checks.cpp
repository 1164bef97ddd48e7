// Compiling author code with the player's own VBScript compiler, and finding literal frame names.
#include "checker/script_checks.h"

#include <algorithm>

#include "platform/files/file_system.h"
#include "vbscript/compiler.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::checker {
namespace {

int LineCount(std::string_view code) {
    return 1 + static_cast<int>(std::count(code.begin(), code.end(), '\n'));
}

// Compiles the text; the failure's line is moved back by lineOffset and kept inside the author's
// lastLine lines (an "End If" missing at the end is reported on the wrapper's closing line).
std::optional<CompileFailure> Compile(const std::string& text, int lineOffset, int lastLine) {
    try {
        vbscript::CompileText(vbscript::FromUtf8OrWindows1252(text));
        return std::nullopt;
    } catch (const vbscript::ScriptError& error) {
        CompileFailure failure;
        failure.line = std::clamp(error.line - lineOffset, 1, std::max(1, lastLine));
        failure.column = std::max(error.column, 1);
        failure.description = vbscript::ToUtf8(error.description);
        return failure;
    } catch (const std::exception& error) {
        return CompileFailure{1, 1, error.what()};
    }
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when a comment ("'" outside a string, or "Rem") starts on the line before position at.
bool InComment(std::string_view code, size_t at) {
    size_t lineStart = code.rfind('\n', at == 0 ? 0 : at - 1);
    lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    bool inString = false;
    for (size_t i = lineStart; i < at; ++i) {
        if (code[i] == '"') inString = !inString;
        if (!inString && code[i] == '\'') return true;
    }
    std::string line = platform::FoldCase(code.substr(lineStart, at - lineStart));
    size_t first = line.find_first_not_of(" \t");
    return first != std::string::npos && line.compare(first, 4, "rem ") == 0;
}

// The string literal that starts at code[at] ("" stands for one quote), and where it ends; nullopt
// when none starts there or it is not closed on its line.
std::optional<std::string> StringLiteralAt(std::string_view code, size_t& at) {
    if (at >= code.size() || code[at] != '"') return std::nullopt;
    std::string text;
    for (size_t i = at + 1; i < code.size() && code[i] != '\n'; ++i) {
        if (code[i] != '"') {
            text += code[i];
        } else if (i + 1 < code.size() && code[i + 1] == '"') {
            text += '"';
            ++i;
        } else {
            at = i + 1;
            return text;
        }
    }
    return std::nullopt;
}

// The literal strings passed as argument number argument (0-based) to calls of method (lower case).
std::vector<std::string> LiteralArguments(std::string_view code, std::string_view method, int argument) {
    std::vector<std::string> found;
    const std::string folded = platform::FoldCase(code);
    for (size_t at = folded.find(method); at != std::string::npos; at = folded.find(method, at + 1)) {
        // A whole word: not the end of a longer name, and not a longer name itself.
        if (at > 0 && IsNameCharacter(folded[at - 1])) continue;
        size_t next = at + method.size();
        if (next < folded.size() && IsNameCharacter(folded[next])) continue;
        if (InComment(code, at)) continue;
        // Past the arguments before the wanted one: commas outside strings and parentheses.
        int depth = 0;
        bool opened = false;
        for (int skipped = 0; next < code.size() && code[next] != '\n';) {
            const char c = code[next];
            if (c == ' ' || c == '\t') {
                ++next;
            } else if (c == '(' && !opened && depth == 0) {
                opened = true;
                ++next;
            } else if (skipped == argument) {
                break;
            } else if (c == '"') {
                if (!StringLiteralAt(code, next)) break;
            } else {
                if (c == '(') ++depth;
                if (c == ')') --depth;
                if (c == ',' && depth == 0) ++skipped;
                if (depth < 0 || c == ':') break;
                ++next;
            }
        }
        if (std::optional<std::string> text = StringLiteralAt(code, next)) found.push_back(std::move(*text));
    }
    return found;
}

}  // namespace

std::optional<CompileFailure> CompileAuthorCode(std::string_view code) {
    const std::string text =
        "Sub Procedure_that_is_going_to_be_executed\r\n" + std::string(code) + "\r\nEnd Sub";
    return Compile(text, 1, LineCount(code));
}

std::optional<CompileFailure> CompileProcedures(std::string_view code) {
    return Compile(std::string(code), 0, LineCount(code));
}

std::vector<std::string> LiteralFrameNames(std::string_view code) {
    return LiteralArguments(code, "gotoframe", 0);
}

std::vector<std::string> LiteralComponentClasses(std::string_view code) {
    return LiteralArguments(code, "addcomponent", 0);
}

std::vector<std::string> LiteralTimedEventCode(std::string_view code) {
    return LiteralArguments(code, "createtimedevent", 1);
}

bool IsSpecialDestination(std::string_view name) {
    const std::string folded = platform::FoldCase(name);
    return folded == "[quit]" || folded == "[last visited frame]" || folded == "last visited frame";
}

}  // namespace taviro::checker
