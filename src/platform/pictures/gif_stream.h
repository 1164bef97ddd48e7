// An animated GIF decoded one frame at a time with giflib, for animations too large to hold every
// frame decoded: only the file and the composed picture of the current frame stay in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SDL_Surface;
struct GifFileType;

namespace taviro::platform {

class GifStream {
public:
    // Reads the file's frames and delays without keeping their pixels; nullptr when the file is not
    // a GIF giflib can read through, or holds no frame.
    static std::unique_ptr<GifStream> Open(std::string bytes);
    ~GifStream();
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // The delay of each frame in milliseconds, in order.
    const std::vector<int>& delaysMs() const { return delaysMs_; }

    // The picture of a frame, composed over the frames before it as the file's disposal methods say
    // (ARGB8888, transparent where nothing was drawn). The surface is the same for every frame and
    // holds the last frame asked for; going back starts again from the first frame. Null when there
    // is no memory for it.
    const std::shared_ptr<SDL_Surface>& Frame(size_t index);
    // Changes each time the surface is given another frame.
    uint64_t revision() const { return revision_; }

private:
    GifStream() = default;
    // Starts reading from the beginning of the file; false when giflib cannot.
    bool Restart();
    // Reads up to and through the next frame, drawing it when `draw`; false at the end or on damage.
    bool NextFrame(bool draw, int* delayMs);
    void Close();

    std::string bytes_;
    size_t readAt_ = 0;
    GifFileType* gif_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<int> delaysMs_;
    std::shared_ptr<SDL_Surface> canvas_;
    // The canvas before the current frame, for a frame that asks to be undone after it is shown.
    std::vector<uint32_t> saved_;
    // How the last drawn frame is undone before the next: its method and its rectangle.
    int pendingDisposal_ = 0;
    int pendingLeft_ = 0, pendingTop_ = 0, pendingWidth_ = 0, pendingHeight_ = 0;
    std::optional<size_t> shown_;  // the frame the canvas holds
    size_t nextFrame_ = 0;         // the frame the reader is at
    uint64_t revision_ = 0;
    std::vector<uint8_t> line_;
};

}  // namespace taviro::platform
