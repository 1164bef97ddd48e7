// The insert-CD window: a message, a list of drives and OK and Cancel. The CD locator fills it and
// says what its buttons do; the screen shows it modally, draws it and feeds it the player's mouse;
// automation selects and presses through the same calls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace taviro::platform {

struct RunFromCdWindow {
    std::string caption;     // the title bar
    std::string message;     // the text above the list
    std::string driveLabel;  // the caption beside the list
    std::vector<std::string> drives;
    int selected = -1;  // index into drives, -1 for none
    std::string okCaption = "OK";
    std::string cancelCaption = "Cancel";
    bool open = true;  // false once a button has closed it

    // OK (true) or Cancel (false) was clicked; runs as a handler of the game and may show boxes.
    std::function<void(bool ok)> onButton;

    // The entry that begins with the text (letter case ignored), made the selection; false when none.
    bool SelectEntry(const std::string& text);
    // The caption of a button (letter case ignored): true for OK, false for Cancel; nullopt for none.
    std::optional<bool> FindButton(const std::string& buttonCaption) const;
};

// Where the CD locator shows the window.
class RunFromCdWindows {
public:
    virtual ~RunFromCdWindows() = default;
    // Shows the window and returns once a button has closed it (or nobody can answer it, which
    // counts as Cancel). Pumps events while it waits.
    virtual void ShowModal(RunFromCdWindow& window) = 0;
};

}  // namespace taviro::platform
