#include "platform/display/viewport.h"

#include <gtest/gtest.h>

namespace taviro::platform {
namespace {

TEST(Viewport, UsesTheLargestWholeFactorThatFitsAndCentresTheRest) {
    Viewport v = FitViewport(1920, 1080, 640, 480);
    EXPECT_EQ(v.scale, 2.0);
    EXPECT_TRUE(v.sharp);
    EXPECT_EQ(v.area, (Rect{320, 60, 1280, 960}));
    EXPECT_EQ(FitViewport(800, 600, 800, 600).area, (Rect{0, 0, 800, 600}));
}

TEST(Viewport, ShrinksSmoothlyWithTheAspectKeptWhenTheScreenIsSmaller) {
    Viewport v = FitViewport(1280, 720, 1024, 768);
    EXPECT_FALSE(v.sharp);
    EXPECT_DOUBLE_EQ(v.scale, 720.0 / 768.0);
    EXPECT_EQ(v.area, (Rect{160, 0, 960, 720}));
}

TEST(Viewport, MapsPointsBothWaysOntoTheSameClientPixel) {
    Viewport v = FitViewport(1920, 1080, 640, 480);
    EXPECT_EQ(v.ToClient({320, 60}), (Point{0, 0}));
    EXPECT_EQ(v.ToClient({321, 61}), (Point{0, 0}));
    EXPECT_EQ(v.ToClient({322, 62}), (Point{1, 1}));
    EXPECT_EQ(v.ToClient({319, 60}).x, -1);  // on the bar, outside the client area
    for (Point p : {Point{0, 0}, Point{639, 479}, Point{100, 7}}) EXPECT_EQ(v.ToClient(v.ToWindow(p)), p);
}

TEST(Viewport, ANothingSizedWindowGivesAnEmptyArea) { EXPECT_EQ(FitViewport(0, 600, 640, 480).area, Rect{}); }

}  // namespace
}  // namespace taviro::platform
