// The message boxes and input boxes shown so far, in order, with the answers they got: the
// "messageboxes" key of the state dump (the latest kLimit of them, so that a long game keeps its
// memory). Also the answers automation has queued for the next boxes.
#pragma once

#include <deque>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace taviro::platform {

class DialogHistory {
public:
    struct Shown {
        bool inputBox = false;
        std::string title;
        std::string text;  // the message, or the prompt of an input box
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        std::string answer;      // "OK", "Yes", ... or the text typed in an input box
        bool cancelled = false;  // an input box left with Cancel
    };

    static constexpr size_t kLimit = 1000;

    void RecordMessageBox(const MessageBoxRequest& request, MessageAnswer answer);
    void RecordInputBox(const std::string& title, const std::string& prompt,
                        const std::optional<std::string>& answer);
    const std::deque<Shown>& shown() const { return shown_; }
    nlohmann::ordered_json Json() const;

    // Answers queued by automation: the next message box takes the next answer, the next input box the next
    // input (nullopt cancels it).
    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void QueueInput(std::optional<std::string> input) { inputs_.push_back(std::move(input)); }
    std::optional<MessageAnswer> TakeAnswer();
    std::optional<std::optional<std::string>> TakeInput();

private:
    void Record(Shown shown);

    std::deque<Shown> shown_;
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> inputs_;
};

}  // namespace taviro::platform
