// MsgBox and InputBox of the command-line runner: the prompt goes to the output, answers come from a
// line of input.
#pragma once

#include <cstdio>

#include "vbscript/host_services.h"

namespace taviro::vbscript {

class TerminalDialogs final : public DialogService {
public:
    TerminalDialogs(std::FILE* out, std::FILE* in) : out_(out), in_(in) {}
    // Prints the title (if any) and the prompt. With only OK, answers vbOK at once; otherwise lists the
    // buttons and reads a line naming one of them (its first letter is enough). At the end of the
    // input, or for an unknown answer, the default button is chosen.
    int32_t MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) override;
    // Prints the prompt and the default text in brackets, reads a line; an empty line takes the
    // default, the end of the input is Cancel.
    std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;

private:
    std::FILE* out_;
    std::FILE* in_;
};

}  // namespace taviro::vbscript
