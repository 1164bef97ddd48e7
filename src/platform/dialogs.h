// The one service through which the game shows message boxes and input boxes.
#pragma once

#include <optional>
#include <string>

namespace taviro::platform {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button chosen. May pump events while it waits.
    virtual MessageAnswer MessageBox(const MessageBoxRequest& request) = 0;

    // Shows a modal input box; nullopt when the player cancels. May pump events while it waits.
    virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                                const std::string& defaultText) = 0;
};

// The answer a message box gives when nobody chooses: its first button.
MessageAnswer DefaultAnswer(MessageButtons buttons);

// Names for logs and state dumps: "critical", "OK", "YesNo", ...
const char* IconName(MessageIcon icon);
const char* ButtonsName(MessageButtons buttons);
const char* AnswerName(MessageAnswer answer);

}  // namespace taviro::platform
