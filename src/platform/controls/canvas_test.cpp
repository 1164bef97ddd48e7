#include "platform/controls/canvas.h"

#include <gtest/gtest.h>

namespace taviro::platform {
namespace {

// A picture of one colour, with the pixels kept alive by the test.
struct Solid {
    std::vector<uint32_t> pixels;
    int width, height;
    Solid(int w, int h, uint32_t argb) : pixels(static_cast<size_t>(w * h), argb), width(w), height(h) {}
    PixelView view() const { return {pixels.data(), width, height, width}; }
};

TEST(Canvas, PaintingAtAnOffsetIsCutOffAtTheEdgesAndStaysUntilCleared) {
    Canvas canvas(10, 10);
    Solid red(4, 4, 0xFFFF0000);
    canvas.Paint(red.view(), 8, -2);
    EXPECT_EQ(canvas.PixelAt(8, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.PixelAt(9, 1), 0xFFFF0000u);
    EXPECT_EQ(canvas.PixelAt(9, 2), 0u);
    EXPECT_EQ(canvas.PixelAt(7, 0), 0u);
    canvas.Paint(red.view(), 20, 20);  // wholly outside: nothing happens
    canvas.Clear();
    EXPECT_EQ(canvas.PixelAt(8, 0), 0u);
}

TEST(Canvas, TranslucentPicturesBlendWithWhatIsThere) {
    Canvas canvas(2, 1);
    Solid blue(2, 1, 0xFF0000FF);
    Solid halfYellow(1, 1, 0x80FFFF00);
    canvas.Paint(blue.view(), 0, 0);
    canvas.Paint(halfYellow.view(), 0, 0);
    uint32_t p = canvas.PixelAt(0, 0);
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0x80, 1);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x7F, 1);
    EXPECT_EQ(canvas.PixelAt(1, 0), 0xFF0000FFu);
    Canvas empty(1, 1);
    empty.Paint(halfYellow.view(), 0, 0);  // over nothing the picture keeps its own alpha
    EXPECT_EQ(empty.PixelAt(0, 0), 0x80FFFF00u);
}

TEST(Canvas, TilingCoversTheWholeSurface) {
    Canvas canvas(7, 5);
    Solid green(3, 2, 0xFF00FF00);
    canvas.Tile(green.view());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(canvas.PixelAt(x, y), 0xFF00FF00u) << x << "," << y;
}

TEST(Canvas, CopyingTakesAPartOfAnotherSurfaceAlphaIncluded) {
    Canvas source(4, 4);
    Solid red(2, 2, 0xFFFF0000);
    source.Paint(red.view(), 2, 2);
    Canvas target(4, 4);
    Solid white(4, 4, 0xFFFFFFFF);
    target.Paint(white.view(), 0, 0);
    target.Copy(source.view(), {1, 1, 3, 3}, 0, 0);  // the part at 3,3 of the source is outside
    EXPECT_EQ(target.PixelAt(0, 0), 0u);             // transparent source pixels replace too
    EXPECT_EQ(target.PixelAt(1, 1), 0xFFFF0000u);
    EXPECT_EQ(target.PixelAt(2, 2), 0xFFFF0000u);
    EXPECT_EQ(target.PixelAt(3, 3), 0xFFFFFFFFu);
    uint64_t before = target.revision();
    target.Resize(2, 6);
    EXPECT_EQ(target.PixelAt(1, 1), 0xFFFF0000u);
    EXPECT_EQ(target.PixelAt(1, 5), 0u);
    EXPECT_GT(target.revision(), before);
}

}  // namespace
}  // namespace taviro::platform
