// The desktop around the player: opening addresses with the user's default programs, and the
// clipboard.
#pragma once

#include <string>

namespace taviro::platform {

// Opens "mailto:..." with the mail program, web addresses with the browser and files with their
// program; failures are logged and give false.
bool OpenAddress(const std::string& address);

// The text on the clipboard ("" when it holds none), and its replacement. They need the video
// subsystem of a window; without it the clipboard is empty and stays so.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

}  // namespace taviro::platform
