// The pictures of a video file decoded by FFmpeg on a thread of their own, converted to ARGB at the
// size they are shown at, and handed to the game thread through a small queue. The game thread asks
// for the picture due at a position of the video, so the same decoder plays in real time and on the
// virtual clock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace taviro::platform::media {

// One decoded picture: ARGB pixels (0xAARRGGBB, opaque), due at timeMs from the start of the video.
struct VideoPicture {
    int64_t timeMs = 0;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

class VideoDecoder {
public:
    // Pictures larger than this on either side are refused rather than decoded.
    static constexpr int kLargestSide = 8192;
    // How many decoded pictures wait for the game thread at most.
    static constexpr size_t kQueuedPictures = 4;

    // Opens a file by its content; nullptr with `error` set when it holds no video that can be decoded.
    static std::unique_ptr<VideoDecoder> Open(const std::string& path, std::string& error);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // The video's own size in pixels.
    int width() const { return width_; }
    int height() const { return height_; }
    // The length the file gives, 0 when it gives none.
    int64_t durationMs() const { return durationMs_; }
    // The time from one picture to the next.
    int64_t frameIntervalMs() const { return frameIntervalMs_; }

    // Starts decoding from the beginning on the decoder's thread, pictures scaled to the given size
    // (the video's own size when either is 0 or less). Once only.
    void Start(int outputWidth, int outputHeight);

    // The newest picture due at `positionMs` that the game thread has not taken yet, or nullopt; older
    // ones are dropped. With `wait`, first waits until the decoder has gone past the position or ended,
    // so that the answer does not depend on the decoder's speed (the virtual clock).
    std::optional<VideoPicture> TakePictureAt(int64_t positionMs, bool wait);

    // When the last picture ends, once the decoder has come to the end of the video; nullopt before.
    std::optional<int64_t> endMs() const;

private:
    class Codec;
    VideoDecoder() = default;
    void Decode();
    // Decoder thread: queues a picture, waiting while the queue is full. False on stop.
    bool Deliver(VideoPicture picture);

    std::unique_ptr<Codec> codec_;
    int width_ = 0;
    int height_ = 0;
    int64_t durationMs_ = 0;
    int64_t frameIntervalMs_ = 40;
    int outputWidth_ = 0;
    int outputHeight_ = 0;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<VideoPicture> queue_;  // guarded by lock_
    int64_t decodedUpToMs_ = -1;      // guarded by lock_: time of the last picture decoded
    std::optional<int64_t> endMs_;    // guarded by lock_
    bool stopping_ = false;           // guarded by lock_
    std::thread thread_;
};

}  // namespace taviro::platform::media
