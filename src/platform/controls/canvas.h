// The persistent drawing surface of a picture box: what the game paints into it stays until cleared.
// Plain ARGB pixels (0xAARRGGBB); transparent where nothing was painted, so the box's colour and
// picture show through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/controls/geometry.h"

namespace taviro::platform {

// Pixels owned by someone else: a decoded picture or another canvas.
struct PixelView {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchPixels = 0;  // pixels from one row to the next
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Keeps what is painted at the top-left corner; new parts are transparent.
    void Resize(int width, int height);

    // Makes every pixel transparent again (the original's Cls).
    void Clear();
    // Paints a picture with its top-left corner at x, y (which may be negative), blended by its alpha;
    // what falls outside is cut off.
    void Paint(const PixelView& picture, int x, int y);
    // Paints a picture side by side from the top-left corner until the canvas is covered.
    void Tile(const PixelView& picture);
    // Copies a part of a picture or canvas to x, y, replacing the pixels there (alpha included).
    void Copy(const PixelView& source, const Rect& from, int x, int y);

    uint32_t PixelAt(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    PixelView view() const { return {pixels_.data(), width_, height_, width_}; }
    // The pixels, row after row, for effects that paint them directly; call Painted() afterwards.
    uint32_t* data() { return pixels_.data(); }
    // Records a direct change of the pixels, so that renderers upload them again; `opaque` when every
    // pixel is now opaque, so that renderers may copy the canvas instead of blending it.
    void Painted(bool opaque = false) {
        blank_ = false;
        opaque_ = opaque;
        ++revision_;
    }
    // True when the last direct painting left every pixel opaque and nothing changed them since.
    bool opaque() const { return opaque_; }
    // True while nothing was painted since the canvas was made or cleared: every pixel is transparent.
    bool blank() const { return blank_; }
    // Bumped by every change, so that a renderer uploads the pixels only when they changed.
    uint64_t revision() const { return revision_; }
    // Different for every canvas ever made, so that a renderer never mistakes a new one for an old one.
    uint64_t id() const { return id_; }

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
    uint64_t revision_ = 1;
    bool blank_ = true;
    bool opaque_ = false;
    uint64_t id_;
};

}  // namespace taviro::platform
