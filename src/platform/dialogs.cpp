// Names and defaults shared by every implementation of the dialog service.
#include "platform/dialogs.h"

namespace taviro::platform {

MessageAnswer DefaultAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel: return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return "none";
        case MessageIcon::Information: return "information";
        case MessageIcon::Exclamation: return "exclamation";
        case MessageIcon::Critical: return "critical";
        case MessageIcon::Question: return "question";
    }
    return "none";
}

const char* ButtonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return "OK";
        case MessageButtons::OkCancel: return "OKCancel";
        case MessageButtons::YesNo: return "YesNo";
        case MessageButtons::YesNoCancel: return "YesNoCancel";
    }
    return "OK";
}

const char* AnswerName(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok: return "OK";
        case MessageAnswer::Cancel: return "Cancel";
        case MessageAnswer::Yes: return "Yes";
        case MessageAnswer::No: return "No";
    }
    return "OK";
}

}  // namespace taviro::platform
