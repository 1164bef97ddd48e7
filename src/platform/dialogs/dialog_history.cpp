// Recording dialogs for the state dump.
#include "platform/dialogs/dialog_history.h"

namespace taviro::platform {

void DialogHistory::RecordMessageBox(const MessageBoxRequest& request, MessageAnswer answer) {
    Record({false, request.title, request.text, request.icon, request.buttons, AnswerName(answer), false});
}

void DialogHistory::RecordInputBox(const std::string& title, const std::string& prompt,
                                   const std::optional<std::string>& answer) {
    Record({true, title, prompt, MessageIcon::None, MessageButtons::OkCancel, answer.value_or(""), !answer});
}

void DialogHistory::Record(Shown shown) {
    if (shown_.size() == kLimit) shown_.pop_front();
    shown_.push_back(std::move(shown));
}

nlohmann::ordered_json DialogHistory::Json() const {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Shown& shown : shown_) {
        nlohmann::ordered_json box;
        box["kind"] = shown.inputBox ? "input" : "message";
        box["title"] = shown.title;
        box["text"] = shown.text;
        box["icon"] = IconName(shown.icon);
        box["buttons"] = ButtonsName(shown.buttons);
        if (shown.inputBox) box["cancelled"] = shown.cancelled;
        box["answer"] = shown.answer;
        list.push_back(std::move(box));
    }
    return list;
}

std::optional<MessageAnswer> DialogHistory::TakeAnswer() {
    if (answers_.empty()) return std::nullopt;
    MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::optional<std::string>> DialogHistory::TakeInput() {
    if (inputs_.empty()) return std::nullopt;
    auto input = std::move(inputs_.front());
    inputs_.pop_front();
    return input;
}

}  // namespace taviro::platform
