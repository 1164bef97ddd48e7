// The names of the last visited frames, oldest first: at most 20, never the same name twice in a row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro::frames {

class FramesHistory {
public:
    static constexpr size_t kLimit = 20;

    // Appends the name unless it is already the last entry (exact comparison); drops the oldest
    // entries beyond the limit.
    void FramesHistoryAdd(std::string_view frameName);

    // Goes back to the frame before the current one: removes the last entry and returns the one
    // that is now last. Empty (and nothing removed) with fewer than two entries.
    std::string StepBack();

    void RemoveLast();
    void Clear() { names_.clear(); }

    size_t size() const { return names_.size(); }
    const std::vector<std::string>& names() const { return names_; }

private:
    std::vector<std::string> names_;
};

}  // namespace taviro::frames
