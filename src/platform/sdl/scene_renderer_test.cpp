#include "platform/sdl/scene_renderer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/pictures/test_pictures.h"
#include "platform/sdl/display.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

using namespace test_pictures;

struct HeadlessScene {
    testing::TemporaryFolder folder;
    FileSystem files;
    PictureCache pictures{files};
    VirtualClock clock;
    Display display{DisplaySettings{.clientWidth = 64, .clientHeight = 48, .headless = true}};
    SceneRenderer renderer{display.renderer(), pictures, clock};
    Form form{"Main", 64, 48};

    std::string Picture(const std::string& name, const std::shared_ptr<SDL_Surface>& surface) {
        folder.Write(name, PngBytes(surface.get()));
        return (folder.path() / name).string();
    }
    uint32_t Pixel(int x, int y) {
        renderer.Draw(form);
        return PixelAt(display.target(), x, y);
    }
};

template <typename Kind>
Kind& AddTo(Control& parent, std::string name, Rect bounds) {
    auto& control = static_cast<Kind&>(parent.Add(std::make_unique<Kind>(std::move(name))));
    control.SetBounds(bounds);
    return control;
}

TEST(SceneRendering, DrawsControlsBackToFrontAndLeavesHiddenOnesOut) {
    HeadlessScene scene;
    scene.form.backColor = 0x00FF00;  // green, as 0x00BBGGRR
    auto& red = AddTo<PictureBox>(scene.form, "red", {0, 0, 20, 20});
    red.backColor = 0x0000FF;
    auto& blue = AddTo<PictureBox>(scene.form, "blue", {10, 10, 20, 20});
    blue.backColor = 0xFF0000;
    EXPECT_EQ(scene.Pixel(15, 15), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(scene.Pixel(40, 40), 0xFF00FF00u);
    red.BringToFront();
    EXPECT_EQ(scene.Pixel(15, 15), 0xFFFF0000u);
    red.SetVisible(false);
    EXPECT_EQ(scene.Pixel(15, 15), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(5, 5), 0xFF00FF00u);
}

TEST(SceneRendering, ChildrenAreClippedToTheirContainer) {
    HeadlessScene scene;
    scene.form.backColor = 0;
    auto& box = AddTo<PictureBox>(scene.form, "box", {10, 10, 10, 10});
    box.backColor = 0xFFFFFF;
    auto& child = AddTo<PictureBox>(box, "child", {5, 5, 30, 30});
    child.backColor = 0x0000FF;
    EXPECT_EQ(scene.Pixel(16, 16), 0xFFFF0000u);
    EXPECT_EQ(scene.Pixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(scene.Pixel(21, 21), 0xFF000000u);
    EXPECT_EQ(scene.Pixel(12, 12), 0xFFFFFFFFu);
}

TEST(SceneRendering, ImagesShowTheirPictureAtItsSizeOrStretchedWithAlphaBlended) {
    HeadlessScene scene;
    scene.form.backColor = 0xFF0000;  // blue
    auto& image = AddTo<ImageControl>(scene.form, "img", {0, 0, 40, 40});
    image.picture = scene.Picture("half.png", Filled(10, 10, 0x80FFFF00));  // half-transparent yellow
    EXPECT_TRUE(Near(scene.Pixel(5, 5), 0xFF80807F));
    EXPECT_EQ(scene.Pixel(20, 20), 0xFF0000FFu);
    image.stretch = true;
    EXPECT_TRUE(Near(scene.Pixel(35, 35), 0xFF80807F));
}

TEST(SceneRendering, ABackgroundUnderAChildShowsWhereverTheChildDoesNotCoverItOpaquely) {
    HeadlessScene scene;
    scene.form.backColor = 0x00FF00;  // green
    auto& box = AddTo<PictureBox>(scene.form, "box", {0, 0, 64, 48});
    box.backColor = 0xFF0000;  // blue
    auto& image = AddTo<ImageControl>(box, "img", {0, 0, 64, 48});
    image.picture = scene.Picture("red.png", Filled(64, 48, 0xFFFF0000));
    EXPECT_EQ(scene.Pixel(63, 47), 0xFFFF0000u);
    // Moved aside, the picture leaves the box's colour, not what was drawn before.
    image.Move(10, 10);
    EXPECT_EQ(scene.Pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(20, 20), 0xFFFF0000u);
    image.Move(0, 0);
    image.picture = scene.Picture("clear.png", Filled(64, 48, 0x80FF0000));  // half-transparent red
    EXPECT_TRUE(Near(scene.Pixel(30, 30), 0xFF80007F));
    box.SetVisible(false);
    image.picture.clear();
    EXPECT_EQ(scene.Pixel(30, 30), 0xFF00FF00u);
}

TEST(SceneRendering, DragImageFollowsThePointAtTheDraggedControlsSize) {
    HeadlessScene scene;
    scene.form.backColor = 0xFF0000;  // blue
    auto& item = AddTo<ImageControl>(scene.form, "item", {0, 0, 10, 10});
    item.Set("DragIcon", scene.Picture("red.png", Filled(4, 4, 0xFFFF0000)));
    scene.renderer.Draw(scene.form);
    scene.renderer.DrawDragImage(item, {30, 30});
    EXPECT_EQ(PixelAt(scene.display.target(), 25, 25), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(scene.display.target(), 34, 34), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(scene.display.target(), 36, 36), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(scene.display.target(), 5, 5), 0xFF0000FFu);  // the control itself has no picture
}

TEST(SceneRendering, AnimatedPicturesShowTheFrameOfTheClock) {
    HeadlessScene scene;
    auto& image = AddTo<ImageControl>(scene.form, "walk", {0, 0, 4, 3});
    image.picture = (std::filesystem::current_path() / "tests/pictures/three_frames.gif").string();
    EXPECT_EQ(scene.Pixel(0, 0), 0xFFFF0000u);
    scene.clock.AdvanceTo(150);
    EXPECT_EQ(scene.Pixel(0, 0), 0xFF00FF00u);
    scene.clock.AdvanceTo(799);  // 100 + 200 + 500 = one loop
    EXPECT_EQ(scene.Pixel(0, 0), 0xFF0000FFu);
    scene.clock.AdvanceTo(800);
    EXPECT_EQ(scene.Pixel(0, 0), 0xFFFF0000u);
}

TEST(SceneRendering, APictureThatCannotBeLoadedIsLeftOutAndTexturesAreMadeOnce) {
    HeadlessScene scene;
    scene.form.backColor = 0;
    auto& broken = AddTo<ImageControl>(scene.form, "broken", {0, 0, 10, 10});
    broken.picture = (scene.folder.path() / "gone.bmp").string();
    auto& good = AddTo<ImageControl>(scene.form, "good", {20, 0, 10, 10});
    good.picture = scene.Picture("good.png", Filled(10, 10, 0xFFFFFFFF));
    auto& again = AddTo<ImageControl>(scene.form, "again", {40, 0, 10, 10});
    again.picture = good.picture;
    EXPECT_EQ(scene.Pixel(5, 5), 0xFF000000u);
    EXPECT_EQ(scene.Pixel(45, 5), 0xFFFFFFFFu);
    scene.renderer.Draw(scene.form);
    EXPECT_EQ(scene.renderer.textureCount(), 1u);
    EXPECT_EQ(scene.pictures.decodeCount(), 1u);
}

TEST(SceneRendering, AFormBackgroundPictureShowsTheBackColourThroughItsTransparentPixels) {
    HeadlessScene scene;
    scene.form.backColor = 0x0000FF;  // red
    scene.form.picture = scene.Picture("opaque.png", Filled(64, 48, 0xFF0000FF));
    EXPECT_EQ(scene.Pixel(63, 47), 0xFF0000FFu);
    scene.form.picture = scene.Picture("clear.png", Filled(64, 48, 0x00000000));
    EXPECT_EQ(scene.Pixel(63, 47), 0xFFFF0000u);
    scene.form.picture = scene.Picture("small.png", Filled(10, 10, 0xFF0000FF));
    EXPECT_EQ(scene.Pixel(63, 47), 0xFFFF0000u);
    EXPECT_EQ(scene.Pixel(5, 5), 0xFF0000FFu);
}

TEST(SceneRendering, APictureBoxShowsWhatWasPaintedIntoItOverItsColourAndPicture) {
    HeadlessScene scene;
    auto& box = AddTo<PictureBox>(scene.form, "picMap", {10, 10, 30, 20});
    box.backColor = 0xFFFFFF;
    auto stamp = PictureCache::Decode(PngBytes(Filled(4, 4, 0xFF0000FF).get()), "stamp");
    box.canvas().Paint(stamp->view(), 2, 3);
    EXPECT_EQ(scene.Pixel(13, 14), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(11, 11), 0xFFFFFFFFu);
    box.canvas().Tile(stamp->view());
    EXPECT_EQ(scene.Pixel(39, 29), 0xFF0000FFu);
    box.canvas().Clear();
    EXPECT_EQ(scene.Pixel(13, 14), 0xFFFFFFFFu);
    box.SetBounds({10, 10, 50, 20});  // the surface grows with the box
    box.canvas().Paint(stamp->view(), 45, 0);
    EXPECT_EQ(scene.Pixel(56, 11), 0xFF0000FFu);
}

TEST(SceneRendering, ScreenshotsHoldWhatWasDrawn) {
    HeadlessScene scene;
    scene.form.backColor = 0x123456;
    scene.renderer.Draw(scene.form);
    std::string path = (scene.folder.path() / "shot.png").string();
    scene.display.SaveScreenshot(path);
    auto shot = PictureCache::Decode(*scene.files.ReadFile(path), path);
    EXPECT_EQ(shot->width(), 64);
    EXPECT_EQ(PixelAt(shot->surface(), 63, 47), 0xFF563412u);
    EXPECT_THROW(scene.display.SaveScreenshot((scene.folder.path() / "no/such/folder/x.png").string()),
                 GameError);
}

TEST(SceneRendering, ShapesFillInsideTheirBorderAndLinesJoinTheirEnds) {
    HeadlessScene scene;
    scene.form.backColor = 0x00FF00;
    auto& circle = AddTo<ShapeControl>(scene.form, "circle", {0, 0, 40, 30});
    circle.Set("Shape", int32_t{3});
    circle.fillStyle = 0;
    circle.fillColor = 0x0000FF;
    EXPECT_EQ(scene.Pixel(20, 15), 0xFFFF0000u);  // the centre of the 30-pixel circle is filled
    EXPECT_EQ(scene.Pixel(20, 0), 0xFF000000u);   // its top is the border
    EXPECT_EQ(scene.Pixel(3, 15), 0xFF00FF00u);   // left of the circle the form shows
    EXPECT_EQ(scene.Pixel(6, 1), 0xFF00FF00u);
    circle.fillStyle = 1;
    EXPECT_EQ(scene.Pixel(20, 15), 0xFF00FF00u);  // no fill: transparent inside
    auto& line = AddTo<LineControl>(scene.form, "line", {0, 0, 1, 1});
    line.SetEnds({2, 40}, {60, 40});
    line.borderColor = 0xFF0000;
    EXPECT_EQ(scene.Pixel(30, 40), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(60, 40), 0xFF0000FFu);
    EXPECT_EQ(scene.Pixel(30, 41), 0xFF00FF00u);
    EXPECT_EQ(scene.Pixel(62, 40), 0xFF00FF00u);
}

TEST(SceneRendering, TexturesOfPicturesDecodedAheadAreMadeBeforeTheirPicturesAreLoaded) {
    HeadlessScene scene;
    const std::string hall = scene.Picture("hall.png", Filled(8, 8, 0xFF0000FF));
    const std::string door = scene.Picture("door.png", Filled(4, 4, 0xFF00FF00));
    scene.pictures.DecodeAhead({{hall}, {door}});
    PicturePreloader& preloader = *scene.pictures.preloader();
    preloader.WaitUntilIdle();

    // No time at all still makes one picture's textures; the other waits for the next turn.
    EXPECT_TRUE(scene.renderer.PrepareDecodedAhead(preloader, std::chrono::microseconds(0)));
    EXPECT_EQ(scene.renderer.textureCount(), 1u);
    EXPECT_FALSE(scene.renderer.PrepareDecodedAhead(preloader, std::chrono::seconds(1)));
    EXPECT_EQ(scene.renderer.textureCount(), 2u);
    EXPECT_FALSE(scene.renderer.PrepareDecodedAhead(preloader, std::chrono::seconds(1)));

    // Opening the frame adopts the pictures and finds their textures made, and draws them.
    auto& box = AddTo<PictureBox>(scene.form, "hall", {0, 0, 8, 8});
    box.picture = hall;
    EXPECT_EQ(scene.Pixel(2, 2), 0xFF0000FFu);
    EXPECT_EQ(scene.pictures.decodedAheadCount(), 1u);
    EXPECT_EQ(scene.renderer.textureCount(), 2u);
    scene.renderer.Trim();  // both pictures are still held: the cache's and the one decoded ahead
    EXPECT_EQ(scene.renderer.textureCount(), 2u);
}

TEST(SceneRendering, ATextureMadeAheadForAFileChangedSinceIsNeitherUsedNorKept) {
    HeadlessScene scene;
    const std::string hall = scene.Picture("hall.png", Filled(8, 8, 0xFF0000FF));
    scene.pictures.DecodeAhead({{hall}});
    scene.pictures.preloader()->WaitUntilIdle();
    scene.renderer.PrepareDecodedAhead(*scene.pictures.preloader(), std::chrono::seconds(1));
    scene.Picture("hall.png", Filled(12, 12, 0xFFFF0000));  // written again, another size

    auto& box = AddTo<PictureBox>(scene.form, "hall", {0, 0, 12, 12});
    box.picture = hall;
    EXPECT_EQ(scene.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(scene.pictures.decodedAheadCount(), 0u);
    scene.renderer.Trim();
    EXPECT_EQ(scene.renderer.textureCount(), 1u);  // only the texture of the picture drawn
}

}  // namespace
}  // namespace taviro::platform
