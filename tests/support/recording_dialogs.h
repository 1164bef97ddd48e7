// A dialog service for tests: records every message box and answers from a queue.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace taviro::testing {

class RecordingDialogs : public platform::Dialogs {
public:
    struct Shown {
        platform::MessageBoxRequest request;
        platform::MessageAnswer answer;
    };

    platform::MessageAnswer MessageBox(const platform::MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;

    // The answer of the next message box; without one a box takes its default button.
    void QueueAnswer(platform::MessageAnswer answer) { answers_.push_back(answer); }

    const std::vector<Shown>& shown() const { return shown_; }

private:
    std::deque<platform::MessageAnswer> answers_;
    std::vector<Shown> shown_;
};

}  // namespace taviro::testing
