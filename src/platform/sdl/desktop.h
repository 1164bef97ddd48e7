// The desktop around the player: opening addresses with the user's default programs, and the
// clipboard.
#pragma once

#include <string>

#include "platform/files/user_dirs.h"

namespace taviro::platform {

// Opens "mailto:..." with the mail program, web addresses with the browser and files with their
// program; failures are logged and give false.
bool OpenAddress(const std::string& address);

// The text on the clipboard ("" when it holds none), and its replacement. They need the video
// subsystem of a window; without it the clipboard is empty and stays so.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

// True when a window can be shown: an X or Wayland display is named, or SDL_VIDEODRIVER chooses the
// video driver explicitly (tests choose the off-screen ones). Without, SDL would pick its off-screen
// driver and the game would play unseen.
bool DisplayAvailable(const EnvironmentLookup& environment = ProcessEnvironment);

}  // namespace taviro::platform
