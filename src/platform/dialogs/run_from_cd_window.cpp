// The insert-CD window's selection and buttons.
#include "platform/dialogs/run_from_cd_window.h"

#include "platform/controls/property_value.h"

namespace taviro::platform {

bool RunFromCdWindow::SelectEntry(const std::string& text) {
    for (size_t i = 0; i < drives.size(); ++i) {
        if (drives[i].size() >= text.size() &&
            SameName(std::string_view(drives[i]).substr(0, text.size()), text)) {
            selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

std::optional<bool> RunFromCdWindow::FindButton(const std::string& buttonCaption) const {
    if (SameName(buttonCaption, okCaption)) return true;
    if (SameName(buttonCaption, cancelCaption)) return false;
    return std::nullopt;
}

}  // namespace taviro::platform
