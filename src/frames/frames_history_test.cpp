#include "frames/frames_history.h"

#include <gtest/gtest.h>

namespace taviro::frames {
namespace {

TEST(FramesHistory, SameFrameTwiceInARowIsKeptOnce) {
    FramesHistory history;
    history.FramesHistoryAdd("Hall");
    history.FramesHistoryAdd("Hall");
    history.FramesHistoryAdd("hall");
    EXPECT_EQ(history.names(), (std::vector<std::string>{"Hall", "hall"}));
}

TEST(FramesHistory, TwentyFirstFrameDropsTheOldest) {
    FramesHistory history;
    for (int i = 1; i <= 21; ++i) history.FramesHistoryAdd("F" + std::to_string(i));
    EXPECT_EQ(history.size(), 20u);
    EXPECT_EQ(history.names().front(), "F2");
    EXPECT_EQ(history.names().back(), "F21");
}

TEST(FramesHistory, SteppingBackNeedsTwoFrames) {
    FramesHistory history;
    history.FramesHistoryAdd("Hall");
    EXPECT_EQ(history.StepBack(), "");
    EXPECT_EQ(history.size(), 1u);
    history.FramesHistoryAdd("Library");
    EXPECT_EQ(history.StepBack(), "Hall");
    EXPECT_EQ(history.names(), std::vector<std::string>{"Hall"});
}

}  // namespace
}  // namespace taviro::frames
