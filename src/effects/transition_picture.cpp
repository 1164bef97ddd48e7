// Blending and sliding two frame images into the stage.
#include "effects/transition_picture.h"

#include <algorithm>
#include <cstring>

namespace taviro::effects {
namespace {

// The pixels of a view's row.
const uint32_t* Row(const platform::PixelView& view, int y) {
    return view.pixels + static_cast<std::ptrdiff_t>(y) * view.pitchPixels;
}

// Blends two rows at a constant opacity. Two channels are worked at once, each in a 16-bit lane:
// a channel times 255 never passes 65025, so the lanes never carry into each other, and
// (x + 128 + ((x + 128) >> 8)) >> 8 is x / 255 rounded to the nearest integer.
void BlendRow(const uint32_t* oldRow, const uint32_t* newRow, uint32_t* out, int width, uint32_t alpha) {
    const uint32_t keep = 255 - alpha;
    for (int x = 0; x < width; ++x) {
        const uint32_t o = oldRow[x], n = newRow[x];
        uint32_t rb = (o & 0x00FF00FF) * keep + (n & 0x00FF00FF) * alpha + 0x00800080;
        uint32_t ag = ((o >> 8) & 0x00FF00FF) * keep + ((n >> 8) & 0x00FF00FF) * alpha + 0x00800080;
        rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
        ag = ((ag + ((ag >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
        out[x] = rb | (ag << 8);
    }
}

// Copies the part of an image that falls on the stage when its top-left corner is at `at`.
void Place(const platform::PixelView& image, platform::Point at, platform::Canvas& stage) {
    const int width = stage.width(), height = stage.height();
    const int left = std::max(0, at.x), right = std::min(width, at.x + std::min(image.width, width));
    const int top = std::max(0, at.y), bottom = std::min(height, at.y + std::min(image.height, height));
    if (left >= right) return;
    for (int y = top; y < bottom; ++y) {
        std::memcpy(stage.data() + static_cast<std::ptrdiff_t>(y) * width + left,
                    Row(image, y - at.y) + (left - at.x),
                    static_cast<size_t>(right - left) * sizeof(uint32_t));
    }
}

}  // namespace

const std::array<const char*, TransitionCount + 1> TransitionNames = {
    "", "Alphablending", "Slide Left", "Slide Right", "Slide Up", "Slide Down"};

uint8_t BlendOpacity(double progress) { return static_cast<uint8_t>(std::clamp(progress, 0.0, 1.0) * 255.0); }

SlidePositions SlideAt(int kind, double progress, int width, int height) {
    const double p = std::clamp(progress, 0.0, 1.0);
    const int dx = static_cast<int>(p * width), dy = static_cast<int>(p * height);
    switch (kind) {
        case kSlideLeft: return {{-dx, 0}, {width - dx, 0}};
        case kSlideRight: return {{dx, 0}, {dx - width, 0}};
        case kSlideUp: return {{0, -dy}, {0, height - dy}};
        case kSlideDown: return {{0, dy}, {0, dy - height}};
        default: return {{0, -height}, {0, 0}};
    }
}

void ComposeTransitionStep(int kind, double progress, const platform::PixelView& oldImage,
                           const platform::PixelView& newImage, platform::Canvas& stage) {
    const int width = stage.width(), height = stage.height();
    if (kind == kAlphablending) {
        const int rows = std::min({height, oldImage.height, newImage.height});
        const int columns = std::min({width, oldImage.width, newImage.width});
        const uint32_t alpha = BlendOpacity(progress);
        for (int y = 0; y < rows; ++y)
            BlendRow(Row(oldImage, y), Row(newImage, y),
                     stage.data() + static_cast<std::ptrdiff_t>(y) * width, columns, alpha);
    } else {
        SlidePositions at = SlideAt(kind, progress, width, height);
        Place(oldImage, at.oldImage, stage);
        Place(newImage, at.newImage, stage);
    }
    stage.Painted(oldImage.width >= width && newImage.width >= width && oldImage.height >= height &&
                  newImage.height >= height);
}

}  // namespace taviro::effects
