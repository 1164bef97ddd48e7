// A dialog service without a window: every message box is written to standard error and takes
// its default answer. Used before the game window exists and by command-line modes.
#pragma once

#include <iosfwd>
#include <vector>

#include "platform/dialogs.h"

namespace taviro::platform {

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& out);

    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;

    // The message boxes written so far, so that they can be shown for real once a window exists.
    const std::vector<MessageBoxRequest>& messageBoxes() const { return messageBoxes_; }

private:
    std::ostream& out_;
    std::vector<MessageBoxRequest> messageBoxes_;
};

}  // namespace taviro::platform
