// The player's two standard reports: the error report of a failed operation and the message of a
// missing project file. Both go through the dialog service, which also logs them.
#pragma once

#include <string_view>

#include "platform/dialogs.h"
#include "project/game_flags.h"
#include "project/interface_texts.h"

namespace taviro::project {

class ErrorReports {
public:
    ErrorReports(platform::Dialogs& dialogs, const InterfaceTexts& texts, const GameFlags& flags);

    // The standard error report; message is the operation's own text, which by convention begins
    // with a blank (" Error loading project information."). Shows only OK.
    void ShowErrorReport(std::string_view message);

    // The missing-file message; skipped while the game is being stopped.
    void ShowMissingFile(std::string_view path);

    platform::Dialogs& dialogs() { return *dialogs_; }
    // Shows the reports through other dialogs from now on (the game window's, once it exists).
    void UseDialogs(platform::Dialogs& dialogs) { dialogs_ = &dialogs; }

private:
    platform::Dialogs* dialogs_;
    const InterfaceTexts& texts_;
    const GameFlags& flags_;
};

}  // namespace taviro::project
