// Texts of the standard reports.
#include "project/error_reports.h"

#include <string>

namespace taviro::project {

ErrorReports::ErrorReports(platform::Dialogs& dialogs, const InterfaceTexts& texts, const GameFlags& flags)
    : dialogs_(&dialogs), texts_(texts), flags_(flags) {}

void ErrorReports::ShowErrorReport(std::string_view message) {
    platform::MessageBoxRequest request;
    request.title = texts_[29];
    request.text = texts_[30] + "\n\n" + texts_[31] + std::string(message);
    request.icon = platform::MessageIcon::Critical;
    dialogs_->MessageBox(request);
}

void ErrorReports::ShowMissingFile(std::string_view path) {
    if (flags_.GameStopping) return;
    platform::MessageBoxRequest request;
    request.title = texts_[29];
    request.text = texts_[33] + "\n" + std::string(path) + "\n\n" + texts_[34];
    request.icon = platform::MessageIcon::Exclamation;
    dialogs_->MessageBox(request);
}

}  // namespace taviro::project
