#include "app/display_modes.h"

namespace taviro::app {

platform::Point DisplayModes::SizeOfMode(int mode) {
    switch (mode) {
        case 1: return {640, 480};
        case 2: return {800, 600};
        case 3: return {1024, 768};
        default: return {0, 0};
    }
}

bool DisplayModes::DisplayMatchesProject(int16_t projectResolution) const {
    return startup_ == SizeOfMode(ModeOfResolution(projectResolution));
}

bool DisplayModes::SwitchToMode(int mode) {
    platform::Point size = SizeOfMode(mode);
    // Only the width is compared, as the original does.
    if (size.x == 0 || current_.x == size.x) return false;
    ChangeDisplayMode(size);
    return true;
}

void DisplayModes::ChangeDisplayMode(platform::Point size) {
    if (size != startup_) lastRequested_ = size;
    current_ = size;
}

bool DisplayModes::RestoreStartupMode() {
    if (current_ == startup_) return false;
    ChangeDisplayMode(startup_);
    return true;
}

platform::Point ProjectFrameSize(const project::ProjectInformation& info) {
    if (info.ProjectWidth > 0 && info.ProjectHeight > 0) return {info.ProjectWidth, info.ProjectHeight};
    return DisplayModes::SizeOfMode(DisplayModes::ModeOfResolution(info.projectResolution));
}

}  // namespace taviro::app
