// The frames history.
#include "frames/frames_history.h"

namespace taviro::frames {

void FramesHistory::FramesHistoryAdd(std::string_view frameName) {
    if (!names_.empty() && names_.back() == frameName) return;
    names_.emplace_back(frameName);
    if (names_.size() > kLimit) names_.erase(names_.begin(), names_.end() - kLimit);
}

std::string FramesHistory::StepBack() {
    if (names_.size() < 2) return "";
    names_.pop_back();
    return names_.back();
}

void FramesHistory::RemoveLast() {
    if (!names_.empty()) names_.pop_back();
}

}  // namespace taviro::frames
