// Display modes, kept virtual: the mode found at start-up is the real desktop's size, and "changing the
// display mode" changes only the size the game is told the screen has. Full screen shows the game
// scaled to the monitor whatever the mode, so no real monitor mode is ever changed.
#pragma once

#include <cstdint>

#include "platform/controls/geometry.h"
#include "project/project_information.h"

namespace taviro::app {

class DisplayModes {
public:
    explicit DisplayModes(platform::Point desktopSize) : startup_(desktopSize), current_(desktopSize) {}

    // The mode number of a project resolution (information field 35): 0, 1, 2 give 1, 2, 3.
    static int ModeOfResolution(int16_t projectResolution) { return projectResolution + 1; }
    // The size of mode 1 (640 x 480), 2 (800 x 600) or 3 (1024 x 768); {0, 0} for any other number.
    static platform::Point SizeOfMode(int mode);

    // True when the start-up mode has the size of the project's resolution.
    bool DisplayMatchesProject(int16_t projectResolution) const;
    // Changes the mode when the screen's width differs from the mode's; true when it changed.
    bool SwitchToMode(int mode);
    // The common worker: remembers a size other than the start-up one as the last requested mode
    // (virtual modes have no refresh rate to restore, and never fail).
    void ChangeDisplayMode(platform::Point size);
    // Back to the start-up mode; true when the mode had to change.
    bool RestoreStartupMode();

    platform::Point startup() const { return startup_; }
    platform::Point current() const { return current_; }
    platform::Point lastRequested() const { return lastRequested_; }

    // Field 41 of the project, or the command line: the game plays in a window, not full screen.
    bool windowed = true;
    // The mode saved games ask for when loaded without the welcome window (0 none, 1 to 3).
    int16_t loadGameMode = 0;

private:
    platform::Point startup_;
    platform::Point current_;
    platform::Point lastRequested_;
};

// The size of the game's frames in pixels: the project's own, else that of its resolution.
platform::Point ProjectFrameSize(const project::ProjectInformation& info);

}  // namespace taviro::app
