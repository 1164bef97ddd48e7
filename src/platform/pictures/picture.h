// A decoded picture: one frame, or the frames and delays of an animated GIF, in ARGB8888 surfaces.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/canvas.h"
#include "platform/controls/geometry.h"

struct SDL_Surface;

namespace taviro::platform {

class GifStream;

class Picture {
public:
    struct Frame {
        std::shared_ptr<SDL_Surface> surface;  // ARGB8888
        int delayMs = 0;                       // how long an animation shows this frame
        bool opaque = false;                   // the file had no transparency at all
    };

    Picture(std::string path, std::vector<Frame> frames, std::optional<Point> hotSpot);
    // An animation decoded one frame at a time as it is shown: its frames hold their delays and no
    // surface.
    Picture(std::string path, std::shared_ptr<GifStream> stream);

    // The surface of a frame, decoded now for an animation decoded frame by frame (game thread).
    std::shared_ptr<SDL_Surface> frameSurface(size_t frame) const;
    // True for an animation decoded frame by frame; its surface changes in place, and `revision`
    // with it.
    bool streamed() const { return stream_ != nullptr; }
    uint64_t revision() const;

    const std::string& path() const { return path_; }  // the real path it was read from
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Frame>& frames() const { return frames_; }
    SDL_Surface* surface(size_t frame = 0) const { return frameSurface(frame).get(); }
    bool animated() const { return frames_.size() > 1; }
    // The pixels of a frame, to paint into a canvas.
    PixelView view(size_t frame = 0) const;
    // The hot spot of a cursor file; nullopt for other pictures.
    const std::optional<Point>& hotSpot() const { return hotSpot_; }

private:
    std::string path_;
    std::vector<Frame> frames_;
    int width_ = 0;
    int height_ = 0;
    std::optional<Point> hotSpot_;
    std::shared_ptr<GifStream> stream_;
};

}  // namespace taviro::platform
