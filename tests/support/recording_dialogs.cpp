// Recorded dialogs.
#include "support/recording_dialogs.h"

namespace taviro::testing {

platform::MessageAnswer RecordingDialogs::MessageBox(const platform::MessageBoxRequest& request) {
    platform::MessageAnswer answer = platform::DefaultAnswer(request.buttons);
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({request, answer});
    return answer;
}

std::optional<std::string> RecordingDialogs::InputBox(const std::string&, const std::string&,
                                                      const std::string& defaultText) {
    return defaultText;
}

}  // namespace taviro::testing
