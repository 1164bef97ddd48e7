// Painting into a canvas.
#include "platform/controls/canvas.h"

#include <algorithm>
#include <cstddef>

namespace taviro::platform {
namespace {

// "Source over" for one channel pair, rounded: the result a window system gives for alpha pictures.
uint32_t Blend(uint32_t source, uint32_t target) {
    uint32_t alpha = source >> 24;
    if (alpha == 0xFF) return source;
    if (alpha == 0) return target;
    uint32_t targetAlpha = target >> 24;
    uint32_t outAlpha = alpha + targetAlpha * (255 - alpha) / 255;
    if (outAlpha == 0) return 0;
    uint32_t result = outAlpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t s = (source >> shift) & 0xFF, t = (target >> shift) & 0xFF;
        uint32_t value =
            (s * alpha * 255 + t * targetAlpha * (255 - alpha) + outAlpha * 255 / 2) / (outAlpha * 255);
        result |= std::min<uint32_t>(value, 255) << shift;
    }
    return result;
}

uint64_t nextCanvasId = 1;  // canvases are made on the game thread only

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_ * height_), 0),
      id_(nextCanvasId++) {}

void Canvas::Resize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    std::vector<uint32_t> resized(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::copy_n(pixels_.begin() + y * width_, std::min(width, width_), resized.begin() + y * width);
    pixels_ = std::move(resized);
    width_ = width;
    height_ = height;
    opaque_ = false;
    ++revision_;
}

void Canvas::Clear() {
    if (blank_) return;
    std::fill(pixels_.begin(), pixels_.end(), 0);
    blank_ = true;
    opaque_ = false;
    ++revision_;
}

void Canvas::Paint(const PixelView& picture, int x, int y) {
    int left = std::max(0, x), top = std::max(0, y);
    int right = std::min(width_, x + picture.width), bottom = std::min(height_, y + picture.height);
    for (int row = top; row < bottom; ++row) {
        const uint32_t* source = picture.pixels + static_cast<std::ptrdiff_t>(row - y) * picture.pitchPixels;
        uint32_t* target = pixels_.data() + static_cast<std::ptrdiff_t>(row) * width_;
        for (int column = left; column < right; ++column)
            target[column] = Blend(source[column - x], target[column]);
    }
    blank_ = false;
    opaque_ = false;
    ++revision_;
}

void Canvas::Tile(const PixelView& picture) {
    if (picture.width <= 0 || picture.height <= 0) return;
    for (int y = 0; y < height_; y += picture.height)
        for (int x = 0; x < width_; x += picture.width) Paint(picture, x, y);
}

void Canvas::Copy(const PixelView& source, const Rect& from, int x, int y) {
    // Only the part of `from` inside the source can be copied.
    int fromLeft = std::max(0, from.x), fromTop = std::max(0, from.y);
    int fromRight = std::min(source.width, from.x + from.width);
    int fromBottom = std::min(source.height, from.y + from.height);
    for (int sy = fromTop; sy < fromBottom; ++sy) {
        int ty = y + (sy - from.y);
        if (ty < 0 || ty >= height_) continue;
        for (int sx = fromLeft; sx < fromRight; ++sx) {
            int tx = x + (sx - from.x);
            if (tx < 0 || tx >= width_) continue;
            pixels_[static_cast<std::size_t>(ty * width_ + tx)] =
                source.pixels[static_cast<std::ptrdiff_t>(sy) * source.pitchPixels + sx];
        }
    }
    blank_ = false;
    opaque_ = false;
    ++revision_;
}

}  // namespace taviro::platform
