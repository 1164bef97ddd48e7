#include "scripting/script_dialogs.h"

#include "vbscript/number_text.h"

namespace taviro::scripting {
namespace {

// MsgBox's button sets, icons and answers.
constexpr int32_t kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4;
constexpr int32_t kCritical = 16, kQuestion = 32, kExclamation = 48, kInformation = 64;
constexpr int32_t kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7;

platform::MessageButtons ButtonsOf(int32_t buttons) {
    switch (buttons & 7) {
        case 0: return platform::MessageButtons::Ok;
        case kYesNoCancel: return platform::MessageButtons::YesNoCancel;
        case kYesNo: return platform::MessageButtons::YesNo;
        default: return platform::MessageButtons::OkCancel;
    }
}

platform::MessageIcon IconOf(int32_t buttons) {
    switch (buttons & 0x70) {
        case kCritical: return platform::MessageIcon::Critical;
        case kQuestion: return platform::MessageIcon::Question;
        case kExclamation: return platform::MessageIcon::Exclamation;
        case kInformation: return platform::MessageIcon::Information;
        default: return platform::MessageIcon::None;
    }
}

}  // namespace

std::string ScriptDialogs::TitleOr(std::u16string_view title) const {
    return title.empty() ? project_.information.ProjectTitle : vbscript::ToUtf8(title);
}

int32_t ScriptDialogs::MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) {
    platform::MessageBoxRequest request{TitleOr(title), vbscript::ToUtf8(prompt), IconOf(buttons),
                                        ButtonsOf(buttons)};
    switch (project_.reports().dialogs().MessageBox(request)) {
        case platform::MessageAnswer::Ok: return kAnswerOk;
        case platform::MessageAnswer::Cancel: return kAnswerCancel;
        case platform::MessageAnswer::Yes: return kAnswerYes;
        case platform::MessageAnswer::No: return kAnswerNo;
    }
    return kAnswerCancel;
}

std::optional<std::u16string> ScriptDialogs::InputBox(std::u16string_view prompt, std::u16string_view title,
                                                      std::u16string_view defaultText) {
    auto text = project_.reports().dialogs().InputBox(TitleOr(title), vbscript::ToUtf8(prompt),
                                                      vbscript::ToUtf8(defaultText));
    if (!text) return std::nullopt;
    return vbscript::FromUtf8OrWindows1252(*text);
}

}  // namespace taviro::scripting
