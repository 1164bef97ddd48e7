// The decoder thread reads packets of the video stream, decodes them and converts each picture with
// libswscale; it runs ahead of the game by at most the queue's length.
#include "platform/media/video_decoder.h"

#include <algorithm>

#include "platform/media/media_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace taviro::platform::media {

// FFmpeg's side of a decoder: the demuxer, the video decoder and the converter.
class VideoDecoder::Codec {
public:
    ~Codec() {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&context);
    }

    MediaInput input;
    AVCodecContext* context = nullptr;
    SwsContext* scaler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    AVRational timeBase{1, 1000};
    int64_t startTime = 0;  // in the stream's time base
};

namespace {

int64_t ToMs(int64_t value, AVRational timeBase) {
    return av_rescale_q(value, timeBase, AVRational{1, 1000});
}

}  // namespace

std::unique_ptr<VideoDecoder> VideoDecoder::Open(const std::string& path, std::string& error) {
    std::unique_ptr<VideoDecoder> decoder(new VideoDecoder);
    decoder->codec_ = std::make_unique<Codec>();
    Codec& codec = *decoder->codec_;
    if (error = codec.input.Open(path); !error.empty()) return nullptr;
    AVFormatContext* format = codec.input.format();
    const AVCodec* video = nullptr;
    codec.stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &video, 0);
    if (codec.stream < 0 || !video) {
        error = "no video in the file";
        return nullptr;
    }
    AVStream* stream = format->streams[codec.stream];
    if (!(codec.context = avcodec_alloc_context3(video))) {
        error = "out of memory";
        return nullptr;
    }
    int result = avcodec_parameters_to_context(codec.context, stream->codecpar);
    // One thread per decoder: several videos play at once and the game needs the other core.
    codec.context->thread_count = 1;
    if (result >= 0) result = avcodec_open2(codec.context, video, nullptr);
    if (result < 0) {
        error = FfmpegErrorText(result);
        return nullptr;
    }
    decoder->width_ = codec.context->width;
    decoder->height_ = codec.context->height;
    if (decoder->width_ <= 0 || decoder->height_ <= 0 || decoder->width_ > kLargestSide ||
        decoder->height_ > kLargestSide) {
        error = "unusable picture size " + std::to_string(decoder->width_) + "x" +
                std::to_string(decoder->height_);
        return nullptr;
    }
    codec.timeBase = stream->time_base;
    if (codec.timeBase.num <= 0 || codec.timeBase.den <= 0) codec.timeBase = {1, 1000};
    codec.startTime = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    if (format->duration > 0)
        decoder->durationMs_ = format->duration / (AV_TIME_BASE / 1000);
    else if (stream->duration > 0)
        decoder->durationMs_ = ToMs(stream->duration, codec.timeBase);
    AVRational rate = av_guess_frame_rate(format, stream, nullptr);
    if (rate.num > 0 && rate.den > 0)
        decoder->frameIntervalMs_ = std::clamp<int64_t>(1000LL * rate.den / rate.num, 1, 1000);
    codec.packet = av_packet_alloc();
    codec.frame = av_frame_alloc();
    if (!codec.packet || !codec.frame) {
        error = "out of memory";
        return nullptr;
    }
    return decoder;
}

VideoDecoder::~VideoDecoder() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    if (codec_) codec_->input.Abort();
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void VideoDecoder::Start(int outputWidth, int outputHeight) {
    if (thread_.joinable()) return;
    bool own = outputWidth <= 0 || outputHeight <= 0;
    outputWidth_ = own ? width_ : std::min(outputWidth, kLargestSide);
    outputHeight_ = own ? height_ : std::min(outputHeight, kLargestSide);
    thread_ = std::thread([this] { Decode(); });
}

bool VideoDecoder::Deliver(VideoPicture picture) {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return stopping_ || queue_.size() < kQueuedPictures; });
    if (stopping_) return false;
    decodedUpToMs_ = picture.timeMs;
    queue_.push_back(std::move(picture));
    changed_.notify_all();
    return true;
}

void VideoDecoder::Decode() {
    Codec& codec = *codec_;
    int64_t nextTimeMs = 0;
    int64_t lastTimeMs = 0;
    int64_t lastEndMs = 0;
    bool inputEnded = false;
    // Each turn takes a decoded picture, or feeds the decoder one packet when it has none ready.
    while (true) {
        int result = avcodec_receive_frame(codec.context, codec.frame);
        if (result == 0) {
            AVFrame* frame = codec.frame;
            int64_t timestamp = frame->best_effort_timestamp;
            int64_t sinceStart = 0;
            int64_t timeMs =
                timestamp == AV_NOPTS_VALUE || __builtin_sub_overflow(timestamp, codec.startTime, &sinceStart)
                    ? nextTimeMs
                    : ToMs(sinceStart, codec.timeBase);
            // Pictures never go back in time, whatever a damaged file says.
            timeMs = std::max(timeMs, lastTimeMs);
            lastTimeMs = timeMs;
            int64_t lengthMs =
                frame->pkt_duration > 0 ? ToMs(frame->pkt_duration, codec.timeBase) : frameIntervalMs_;
            nextTimeMs = timeMs + std::max<int64_t>(lengthMs, 1);
            lastEndMs = std::max(lastEndMs, nextTimeMs);
            VideoPicture picture{timeMs, outputWidth_, outputHeight_, {}};
            codec.scaler = sws_getCachedContext(
                codec.scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                outputWidth_, outputHeight_, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
            bool converted = false;
            if (codec.scaler && frame->width > 0 && frame->height > 0) {
                picture.pixels.resize(static_cast<size_t>(outputWidth_) * static_cast<size_t>(outputHeight_));
                uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(picture.pixels.data()), nullptr, nullptr,
                                      nullptr};
                int pitches[4] = {outputWidth_ * 4, 0, 0, 0};
                converted = sws_scale(codec.scaler, frame->data, frame->linesize, 0, frame->height, planes,
                                      pitches) > 0;
            }
            av_frame_unref(frame);
            // A picture that cannot be converted is skipped, as a damaged part of the file.
            if (converted && !Deliver(std::move(picture))) return;
            continue;
        }
        if (result != AVERROR(EAGAIN) || inputEnded) break;
        {
            std::lock_guard guard(lock_);
            if (stopping_) return;
        }
        // Feed the decoder the next packet of the video stream, or the end of the input.
        while (true) {
            codec.input.StartStep();
            if (av_read_frame(codec.input.format(), codec.packet) < 0) {
                inputEnded = true;
                avcodec_send_packet(codec.context, nullptr);
                break;
            }
            if (codec.packet->stream_index != codec.stream) {
                av_packet_unref(codec.packet);
                continue;
            }
            result = avcodec_send_packet(codec.context, codec.packet);
            av_packet_unref(codec.packet);
            // A packet the decoder refuses is skipped, as a damaged part of the file.
            if (result == 0 || result == AVERROR(EAGAIN)) break;
        }
    }
    std::lock_guard guard(lock_);
    endMs_ = lastEndMs;
    changed_.notify_all();
}

std::optional<VideoPicture> VideoDecoder::TakePictureAt(int64_t positionMs, bool wait) {
    wait = wait && thread_.joinable();
    std::optional<VideoPicture> newest;
    std::unique_lock guard(lock_);
    while (true) {
        if (wait)
            changed_.wait(guard, [&] {
                return stopping_ || endMs_ || decodedUpToMs_ > positionMs || queue_.size() >= kQueuedPictures;
            });
        bool taken = false;
        while (!queue_.empty() && queue_.front().timeMs <= positionMs) {
            newest = std::move(queue_.front());
            queue_.pop_front();
            taken = true;
        }
        if (taken) changed_.notify_all();
        // A full queue of pictures that were all due: the decoder goes on now that there is room.
        if (!wait || stopping_ || endMs_ || decodedUpToMs_ > positionMs) return newest;
    }
}

std::optional<int64_t> VideoDecoder::endMs() const {
    std::lock_guard guard(lock_);
    return endMs_;
}

}  // namespace taviro::platform::media
