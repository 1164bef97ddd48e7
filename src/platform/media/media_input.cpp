// Opening through FFmpeg with its interrupt callback checked against the step's deadline.
#include "platform/media/media_input.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace taviro::platform::media {
namespace {

// The demuxer indexes what it reads for seeking; only the start is ever sought, so a long file keeps a
// small index.
constexpr unsigned kMaxIndexBytes = 64 * 1024;

}  // namespace

std::string FfmpegErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

MediaInput::~MediaInput() { avformat_close_input(&format_); }

int MediaInput::StepOverdue(void* input) {
    auto* self = static_cast<MediaInput*>(input);
    return self->aborted_ || std::chrono::steady_clock::now() > self->stepDeadline_ ? 1 : 0;
}

std::string MediaInput::Open(const std::string& path) {
    av_log_set_level(AV_LOG_QUIET);
    format_ = avformat_alloc_context();
    if (!format_) return "out of memory";
    format_->interrupt_callback = {&MediaInput::StepOverdue, this};
    StartStep();
    // On failure FFmpeg frees the context and clears the pointer.
    int result = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
    if (result < 0) return FfmpegErrorText(result);
    format_->max_index_size = kMaxIndexBytes;
    StartStep();
    if ((result = avformat_find_stream_info(format_, nullptr)) < 0) return FfmpegErrorText(result);
    return {};
}

}  // namespace taviro::platform::media
