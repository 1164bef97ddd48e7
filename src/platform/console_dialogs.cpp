// Message boxes written as text.
#include "platform/console_dialogs.h"

#include <ostream>

namespace taviro::platform {

ConsoleDialogs::ConsoleDialogs(std::ostream& out) : out_(out) {}

MessageAnswer ConsoleDialogs::MessageBox(const MessageBoxRequest& request) {
    out_ << "[" << IconName(request.icon) << "] " << request.title << ": " << request.text << "\n";
    messageBoxes_.push_back(request);
    return DefaultAnswer(request.buttons);
}

std::optional<std::string> ConsoleDialogs::InputBox(const std::string& title, const std::string& prompt,
                                                    const std::string& defaultText) {
    out_ << "[input] " << title << ": " << prompt << "\n";
    return defaultText;
}

}  // namespace taviro::platform
