// A dialog service without a window: every message box is written to standard error and takes
// its default answer. Used before the game window exists and by command-line modes.
#pragma once

#include <iosfwd>

#include "platform/dialogs.h"

namespace taviro::platform {

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& out);

    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;

private:
    std::ostream& out_;
};

}  // namespace taviro::platform
