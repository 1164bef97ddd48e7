#include "platform/sdl/scene_capture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/pictures/test_pictures.h"
#include "platform/sdl/display.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

struct CaptureScene {
    FileSystem files;
    PictureCache pictures{files};
    VirtualClock clock;
    Display display{DisplaySettings{.clientWidth = 64, .clientHeight = 48, .headless = true}};
    SceneRenderer renderer{display.renderer(), pictures, clock};
    Form form{"Main", 64, 48};
};

template <typename Kind>
Kind& AddTo(Control& parent, std::string name, Rect bounds) {
    auto& control = static_cast<Kind&>(parent.Add(std::make_unique<Kind>(std::move(name))));
    control.SetBounds(bounds);
    return control;
}

TEST(SceneCapture, ComposesAControlWithItsChildrenEvenWhenItIsHidden) {
    CaptureScene scene;
    auto& frame = AddTo<PictureBox>(scene.form, "frame", {8, 4, 32, 24});
    frame.backColor = 0xFF0000;  // blue
    auto& spot = AddTo<PictureBox>(frame, "spot", {10, 10, 4, 4});
    spot.backColor = 0x0000FF;  // red
    AddTo<PictureBox>(frame, "hiddenSpot", {0, 0, 4, 4}).SetVisible(false);
    auto& cover = AddTo<PictureBox>(scene.form, "cover", {0, 0, 64, 48});  // not part of the frame
    cover.backColor = 0x00FF00;
    frame.SetVisible(false);
    Canvas picture(1, 1);
    CaptureControl(scene.display.renderer(), scene.renderer, frame, picture);
    ASSERT_EQ(picture.width(), 32);
    ASSERT_EQ(picture.height(), 24);
    EXPECT_EQ(picture.PixelAt(0, 0), 0xFF0000FFu) << "a hidden child is left out";
    EXPECT_EQ(picture.PixelAt(11, 11), 0xFFFF0000u);
    EXPECT_EQ(picture.PixelAt(31, 23), 0xFF0000FFu);
    // The window's own picture is untouched: the capture drew off screen.
    scene.renderer.Draw(scene.form);
    EXPECT_EQ(test_pictures::PixelAt(scene.display.target(), 20, 20), 0xFF00FF00u);
}

TEST(SceneCapture, PartsOffTheDesktopAreBlack) {
    Canvas picture(10, 6);
    std::fill(picture.data(), picture.data() + 60, 0xFFFFFFFFu);
    // The frame starts 3 pixels left of the desktop and its last row is below it.
    BlackOutsideDesktop(picture, {{-3, 2}, 1.0}, {100, 7});
    EXPECT_EQ(picture.PixelAt(2, 0), 0xFF000000u);
    EXPECT_EQ(picture.PixelAt(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(picture.PixelAt(9, 4), 0xFFFFFFFFu);
    EXPECT_EQ(picture.PixelAt(9, 5), 0xFF000000u);
    // Twice the size: each frame pixel covers two desktop pixels.
    std::fill(picture.data(), picture.data() + 60, 0xFFFFFFFFu);
    BlackOutsideDesktop(picture, {{10, 0}, 2.0}, {20, 100});
    EXPECT_EQ(picture.PixelAt(4, 3), 0xFFFFFFFFu);
    EXPECT_EQ(picture.PixelAt(5, 3), 0xFF000000u);
}

}  // namespace
}  // namespace taviro::platform
