// The desktop around the player: opening addresses with the user's default programs.
#pragma once

#include <string>

namespace taviro::platform {

// Opens "mailto:..." with the mail program and web addresses with the browser; failures are logged.
void OpenAddress(const std::string& address);

}  // namespace taviro::platform
