// A media file opened by FFmpeg's demuxer with every step bounded in time, shared by the sound and
// video decoders. A damaged file can make a demuxer walk hundreds of megabytes (a WAV padded with
// zeros is read as millions of empty chunks); past the bound a step fails and the file counts as one
// that cannot be decoded, so the game goes on.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

struct AVFormatContext;

namespace taviro::platform::media {

class MediaInput {
public:
    MediaInput() = default;
    ~MediaInput();
    MediaInput(const MediaInput&) = delete;
    MediaInput& operator=(const MediaInput&) = delete;

    // Opens the file by its content and reads its streams' parameters; an error text, empty on success.
    std::string Open(const std::string& path);
    AVFormatContext* format() const { return format_; }

    // Call before each step (a read, a seek): the step fails when it runs longer than the bound.
    void StartStep() { stepDeadline_ = std::chrono::steady_clock::now() + kLongestStep; }
    // Makes the running step and every later one fail at once (another thread may call it).
    void Abort() { aborted_ = true; }

    static constexpr std::chrono::seconds kLongestStep{2};

private:
    static int StepOverdue(void* input);

    AVFormatContext* format_ = nullptr;
    std::chrono::steady_clock::time_point stepDeadline_;
    std::atomic<bool> aborted_ = false;
};

// FFmpeg's text for one of its error codes.
std::string FfmpegErrorText(int code);

}  // namespace taviro::platform::media
