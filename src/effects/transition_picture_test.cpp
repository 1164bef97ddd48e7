#include "effects/transition_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace taviro::effects {
namespace {

constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kRed = 0xFFFF0000;

// An opaque image whose pixels name their own place: red = x, green = y, blue = which image.
platform::Canvas LabelledImage(int width, int height, uint8_t which) {
    platform::Canvas image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.data()[y * width + x] = 0xFF000000u | (uint32_t(x) << 16) | (uint32_t(y) << 8) | which;
    image.Painted();
    return image;
}

platform::Canvas Filled(int width, int height, uint32_t color) {
    platform::Canvas image(width, height);
    std::fill(image.data(), image.data() + width * height, color);
    image.Painted();
    return image;
}

TEST(TransitionPicture, OpacityIsProgressTimes255Truncated) {
    EXPECT_EQ(BlendOpacity(0.0), 0);
    EXPECT_EQ(BlendOpacity(0.5), 127);
    EXPECT_EQ(BlendOpacity(0.999), 254);
    EXPECT_EQ(BlendOpacity(1.0), 255);
    EXPECT_EQ(BlendOpacity(1.7), 255);
    EXPECT_EQ(BlendOpacity(-0.2), 0);
}

TEST(TransitionPicture, BlendMixesEveryChannelByTheOpacityRounded) {
    // Random pixels at every opacity against the plain formula old × (255 − a) / 255 + new × a / 255.
    std::mt19937 random(7);
    platform::Canvas oldImage(256, 4), newImage(256, 4), stage(256, 4);
    for (int i = 0; i < 256 * 4; ++i) {
        oldImage.data()[i] = random() | 0xFF000000u;
        newImage.data()[i] = random() | 0xFF000000u;
    }
    for (int step = 0; step <= 255; ++step) {
        const double p = step / 255.0 + 1e-9;
        ComposeTransitionStep(kAlphablending, p, oldImage.view(), newImage.view(), stage);
        const uint32_t alpha = BlendOpacity(p);
        for (int i = 0; i < 256 * 4; i += 37) {
            for (int shift = 0; shift < 32; shift += 8) {
                const double o = (oldImage.data()[i] >> shift) & 0xFF,
                             n = (newImage.data()[i] >> shift) & 0xFF;
                const int expected = static_cast<int>(std::lround((o * (255 - alpha) + n * alpha) / 255.0));
                ASSERT_EQ(static_cast<int>((stage.data()[i] >> shift) & 0xFF), expected)
                    << "opacity " << alpha << " pixel " << i << " shift " << shift;
            }
        }
    }
}

TEST(TransitionPicture, BlendStartsOnTheOldFrameAndEndsOnTheNew) {
    platform::Canvas oldImage = Filled(8, 8, kBlue), newImage = Filled(8, 8, kRed), stage(8, 8);
    ComposeTransitionStep(kAlphablending, 0.0, oldImage.view(), newImage.view(), stage);
    EXPECT_EQ(stage.PixelAt(3, 3), kBlue);
    ComposeTransitionStep(kAlphablending, 1.0, oldImage.view(), newImage.view(), stage);
    EXPECT_EQ(stage.PixelAt(3, 3), kRed);
    const uint64_t revision = stage.revision();
    ComposeTransitionStep(kAlphablending, 0.5, oldImage.view(), newImage.view(), stage);
    EXPECT_EQ(stage.PixelAt(7, 7), 0xFF7F0080u);
    EXPECT_GT(stage.revision(), revision) << "the renderer must see the new step";
}

struct SlideCase {
    int kind;
    // Where the stage's pixel (x, y) comes from at p = 0.25 on a 16 x 8 stage.
    uint8_t image;  // 1 old, 2 new
    int x, y, fromX, fromY;
};

TEST(TransitionPicture, SlidesMoveBothImagesTheWayTheirNamesSay) {
    platform::Canvas oldImage = LabelledImage(16, 8, 1), newImage = LabelledImage(16, 8, 2), stage(16, 8);
    // A quarter of the way: four columns or two rows have gone over.
    const SlideCase cases[] = {
        {kSlideLeft, 1, 0, 3, 4, 3},   {kSlideLeft, 1, 11, 3, 15, 3}, {kSlideLeft, 2, 12, 3, 0, 3},
        {kSlideRight, 2, 3, 5, 15, 5}, {kSlideRight, 1, 4, 5, 0, 5},  {kSlideRight, 1, 15, 5, 11, 5},
        {kSlideUp, 1, 9, 0, 9, 2},     {kSlideUp, 2, 9, 6, 9, 0},     {kSlideUp, 2, 9, 7, 9, 1},
        {kSlideDown, 2, 2, 0, 2, 6},   {kSlideDown, 2, 2, 1, 2, 7},   {kSlideDown, 1, 2, 2, 2, 0},
    };
    for (const SlideCase& c : cases) {
        ComposeTransitionStep(c.kind, 0.25, oldImage.view(), newImage.view(), stage);
        const uint32_t pixel = stage.PixelAt(c.x, c.y);
        EXPECT_EQ(pixel & 0xFF, c.image) << TransitionNames[c.kind] << " at " << c.x << "," << c.y;
        EXPECT_EQ((pixel >> 16) & 0xFF, uint32_t(c.fromX)) << TransitionNames[c.kind] << " at " << c.x;
        EXPECT_EQ((pixel >> 8) & 0xFF, uint32_t(c.fromY)) << TransitionNames[c.kind] << " at " << c.y;
    }
}

TEST(TransitionPicture, SlidesShowTheOldImageAtTheStartAndTheNewOneAtTheEnd) {
    platform::Canvas oldImage = Filled(10, 6, kBlue), newImage = Filled(10, 6, kRed), stage(10, 6);
    for (int kind = kSlideLeft; kind <= kSlideDown; ++kind) {
        ComposeTransitionStep(kind, 0.0, oldImage.view(), newImage.view(), stage);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x) ASSERT_EQ(stage.PixelAt(x, y), kBlue) << TransitionNames[kind];
        ComposeTransitionStep(kind, 1.0, oldImage.view(), newImage.view(), stage);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x) ASSERT_EQ(stage.PixelAt(x, y), kRed) << TransitionNames[kind];
    }
}

}  // namespace
}  // namespace taviro::effects
