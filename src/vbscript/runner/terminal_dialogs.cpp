// The runner's dialogs on the terminal.
#include "terminal_dialogs.h"

#include <string>
#include <vector>

#include "vbscript/number_text.h"
#include "vbscript/object.h"

namespace taviro::vbscript {

namespace {
void Write(std::FILE* out, std::u16string_view text) {
    std::string bytes = ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

// One line of input without its line break; nothing at the end of the input.
std::optional<std::u16string> ReadLine(std::FILE* in) {
    std::string line;
    int c;
    bool any = false;
    while ((c = std::fgetc(in)) != EOF) {
        any = true;
        if (c == '\n') break;
        line += static_cast<char>(c);
    }
    if (!any) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return FromUtf8OrWindows1252(line);
}

struct Button {
    std::u16string_view name;
    int32_t answer;
};

// The buttons of each MsgBox button set, vbOKOnly .. vbRetryCancel.
std::vector<Button> ButtonsOf(int32_t set) {
    switch (set) {
        case 1: return {{u"OK", 1}, {u"Cancel", 2}};
        case 2: return {{u"Abort", 3}, {u"Retry", 4}, {u"Ignore", 5}};
        case 3: return {{u"Yes", 6}, {u"No", 7}, {u"Cancel", 2}};
        case 4: return {{u"Yes", 6}, {u"No", 7}};
        case 5: return {{u"Retry", 4}, {u"Cancel", 2}};
        default: return {{u"OK", 1}};
    }
}
}  // namespace

int32_t TerminalDialogs::MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) {
    if (!title.empty()) Write(out_, std::u16string(title) + u": ");
    Write(out_, prompt);
    std::vector<Button> choices = ButtonsOf(buttons & 0xF);
    size_t defaultIndex = static_cast<size_t>((buttons >> 8) & 0x3);
    if (defaultIndex >= choices.size()) defaultIndex = 0;
    if (choices.size() == 1) {
        Write(out_, u"\n");
        std::fflush(out_);
        return choices[0].answer;
    }
    std::u16string list = u" [";
    for (size_t i = 0; i < choices.size(); ++i) list += (i ? u"/" : u"") + std::u16string(choices[i].name);
    Write(out_, list + u"] ");
    std::fflush(out_);
    std::optional<std::u16string> line = ReadLine(in_);
    Write(out_, u"\n");
    if (line && !line->empty()) {
        std::u16string answer = FoldCase(*line);
        for (const Button& choice : choices) {
            std::u16string name = FoldCase(choice.name);
            if (answer == name || (answer.size() == 1 && answer[0] == name[0])) return choice.answer;
        }
    }
    return choices[defaultIndex].answer;
}

std::optional<std::u16string> TerminalDialogs::InputBox(std::u16string_view prompt, std::u16string_view title,
                                                        std::u16string_view defaultText) {
    if (!title.empty()) Write(out_, std::u16string(title) + u": ");
    Write(out_, prompt);
    if (!defaultText.empty()) Write(out_, u" [" + std::u16string(defaultText) + u"]");
    Write(out_, u" ");
    std::fflush(out_);
    std::optional<std::u16string> line = ReadLine(in_);
    Write(out_, u"\n");
    if (!line) return std::nullopt;
    if (line->empty()) return std::u16string(defaultText);
    return line;
}

}  // namespace taviro::vbscript
