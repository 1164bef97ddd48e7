// The record of the frame on screen, shared by everything that works on the current frame.
#pragma once

#include <cstdint>
#include <string>

#include "frames/frame_settings.h"

namespace taviro::frames {

struct CurrentFrame {
    std::string name;
    FrameHeader header;
    int16_t linksNumber = 0;  // the value of the frame's ".lks" file, 0 without one
    bool TimerTransitionEnabled = false;
    int32_t TimerTransitionDuration = 0;  // milliseconds
    int16_t TimerTransitionType = 0;
    int16_t MergedHotspotIndex = 1;
    int16_t MergedTextIndex = 1;
};

}  // namespace taviro::frames
