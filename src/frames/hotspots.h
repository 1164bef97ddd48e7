// The hotspots of the open frame: the elements 1.. of the control array "Area", loaded from the
// frame's hotspot file, shown or hidden by their conditions, and clicked.
#pragma once

#include <cstdint>
#include <vector>

#include "frames/current_frame.h"
#include "frames/hotspot_record.h"
#include "frames/hotspot_services.h"
#include "platform/controls/form.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::frames {

class Hotspots {
public:
    Hotspots(project::Project& project, GameFlags& flags, platform::Form& form, CurrentFrame& frame,
             HotspotServices& services);

    // Creates the hotspots of the current frame, hidden until ShowOrNotShowAreas. Failures are reported.
    void LoadAreas();
    // Applies removal and the variable conditions to every hotspot.
    void ShowOrNotShowAreas();
    // Removes the hotspots of the frame that is left.
    void ResetFrameAreas();

    // A click on hotspot areaIndex with a button (1 left, 2 right).
    void AreaClick(int areaIndex, int button);
    // Remembers where the player clicked, in pixels of the frame.
    void SaveClickPos(int x, int y);
    int16_t clickX() const { return clickX_; }
    int16_t clickY() const { return clickY_; }

    // The pointer the project gives hotspots without one of their own (project information field 38).
    void ApplyDefaultPointer(platform::Control& control) const;

    // The screen's pointer for the time of a blocking wait: the project's own pointer when it has one.
    void SetScreenPointerArrow();
    void SetScreenPointerDefault();
    // Runs a wait for the one-time video with the pointer hidden (when the project asks for it) or
    // the screen's pointer set, and puts the pointer back afterwards.
    void WaitWithScreenPointer(const std::function<void()>& wait);

private:
    void Create(int number, const HotspotRecord& record);
    void AttachEvents(platform::Control& element);
    bool Visible(int number, const HotspotRecord& record);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    CurrentFrame& frame_;
    HotspotServices& services_;
    std::vector<HotspotRecord> records_;  // record k - 1 is hotspot k
    int16_t clickX_ = 0, clickY_ = 0;
};

// The rectangle of a hotspot's control in pixels of the frame.
platform::Rect HotspotPixels(const HotspotRecord& record);

}  // namespace taviro::frames
