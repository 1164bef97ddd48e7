// The texts of the open frame: the elements 1.. of the label array "Text", loaded from the frame's
// text file. Texts are not clickable: a click on one acts like a click on the background.
#pragma once

#include "frames/current_frame.h"
#include "frames/hotspot_services.h"
#include "platform/controls/form.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::frames {

class FrameTexts {
public:
    FrameTexts(project::Project& project, GameFlags& flags, platform::Form& form, CurrentFrame& frame,
               HotspotServices& services);

    // Creates the texts of the current frame. A bad record shows no message.
    void LoadTexts();
    // Removes the texts of the frame that is left.
    void ResetFrameTexts();

    // What a press on the background or on a text does: skip waits and transitions, and let the
    // menus have the button when no video plays.
    void BackgroundMouseDown(int button);
    // Gives a control (a text, the background) the events of the background.
    void AttachBackgroundEvents(platform::Control& control);

private:
    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    CurrentFrame& frame_;
    HotspotServices& services_;
};

}  // namespace taviro::frames
