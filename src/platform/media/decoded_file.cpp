// FFmpeg demuxes and decodes one packet at a time; libswresample turns each decoded frame into the
// mixer's rate and layout.
#include "platform/media/decoded_file.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/media/media_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace taviro::platform::media {
namespace {

class DecodedFile : public AudioSource {
public:
    ~DecodedFile() override {
        swr_free(&resampler_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        avcodec_free_context(&codec_);
    }

    // Returns an error text, empty on success. The sound starts `startMs` into the file and is
    // resampled to `kMixRate / rate`, so that the mixer plays it `rate` times as fast.
    std::string Open(const std::string& path, int64_t startMs = 0, double rate = 1) {
        if (std::string error = input_.Open(path); !error.empty()) return error;
        format_ = input_.format();
        int result = 0;
        const AVCodec* decoder = nullptr;
        stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream_ < 0 || !decoder) return "no sound in the file";
        codec_ = avcodec_alloc_context3(decoder);
        if (!codec_) return "out of memory";
        if ((result = avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar)) < 0)
            return FfmpegErrorText(result);
        if ((result = avcodec_open2(codec_, decoder, nullptr)) < 0) return FfmpegErrorText(result);
        if (codec_->sample_rate <= 0) return "no sample rate";
        // A stream that names only its channel count gets the usual layout for that count.
        if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC && codec_->ch_layout.nb_channels > 0) {
            int channels = codec_->ch_layout.nb_channels;
            av_channel_layout_uninit(&codec_->ch_layout);
            av_channel_layout_default(&codec_->ch_layout, channels);
        }
        if (codec_->ch_layout.nb_channels <= 0) return "no channels";
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        outputRate_ = static_cast<int>(std::lround(kMixRate / rate));
        if ((result =
                 swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLT, outputRate_, &codec_->ch_layout,
                                     codec_->sample_fmt, codec_->sample_rate, 0, nullptr)) < 0)
            return FfmpegErrorText(result);
        if ((result = swr_init(resampler_)) < 0) return FfmpegErrorText(result);
        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        if (!packet_ || !frame_) return "out of memory";
        if (startMs > 0) SeekTo(startMs);
        return {};
    }

    int Read(float* out, int frames) override {
        int written = 0;
        while (written < frames) {
            // 1. Samples already converted go first.
            if (pendingOffset_ < pending_.size()) {
                size_t available = (pending_.size() - pendingOffset_) / kMixChannels;
                size_t take = std::min<size_t>(available, static_cast<size_t>(frames - written));
                std::copy_n(pending_.data() + pendingOffset_, take * kMixChannels,
                            out + written * kMixChannels);
                pendingOffset_ += take * kMixChannels;
                written += static_cast<int>(take);
                continue;
            }
            // 2. Then the next decoded frame, converted; the end when there is none.
            if (!ConvertNextFrame()) break;
        }
        return written;
    }

    bool Rewind() override {
        StartStep();
        if (av_seek_frame(format_, stream_, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
            avformat_seek_file(format_, -1, INT64_MIN, 0, INT64_MAX, AVSEEK_FLAG_BYTE) < 0)
            return false;
        avcodec_flush_buffers(codec_);
        swr_close(resampler_);
        if (swr_init(resampler_) < 0) return false;
        pending_.clear();
        pendingOffset_ = 0;
        skipFrames_ = 0;
        skipFromTimestamp_ = false;
        inputEnded_ = false;
        decoderEnded_ = false;
        resamplerFlushed_ = false;
        return true;
    }

private:
    void StartStep() { input_.StartStep(); }

    // Goes to the key point at or before `startMs`; the samples from there up to `startMs` are
    // dropped as they are decoded. A file that cannot seek is decoded from its start instead.
    void SeekTo(int64_t startMs) {
        startSeconds_ = static_cast<double>(startMs) / 1000;
        StartStep();
        AVRational timeBase = format_->streams[stream_]->time_base;
        int64_t target = av_rescale_q(startMs, AVRational{1, 1000}, timeBase);
        bool sought = av_seek_frame(format_, stream_, target, AVSEEK_FLAG_BACKWARD) >= 0;
        if (sought) avcodec_flush_buffers(codec_);
        // Until a decoded frame tells where it lies, everything from the file's start is dropped.
        skipFrames_ = static_cast<int64_t>(startSeconds_ * outputRate_);
        skipFromTimestamp_ = sought;
    }

    // The converted frames to drop before the start, worked out from the first decoded frame's time.
    void PlaceFirstFrame() {
        if (!skipFromTimestamp_) return;
        skipFromTimestamp_ = false;
        int64_t timestamp = frame_->best_effort_timestamp;
        if (timestamp == AV_NOPTS_VALUE) return;
        double frameSeconds = static_cast<double>(timestamp) * av_q2d(format_->streams[stream_]->time_base);
        skipFrames_ =
            std::max<int64_t>(0, static_cast<int64_t>((startSeconds_ - frameSeconds) * outputRate_));
    }

    // Drops the start of `pending_` that lies before the sound's start.
    void DropSkipped() {
        if (skipFrames_ <= 0) return;
        auto frames = static_cast<int64_t>(pending_.size() / kMixChannels);
        int64_t dropped = std::min(frames, skipFrames_);
        skipFrames_ -= dropped;
        pendingOffset_ = static_cast<size_t>(dropped) * kMixChannels;
    }

    // Fills `pending_` with the next converted samples; false at the end of the sound.
    bool ConvertNextFrame() {
        pending_.clear();
        pendingOffset_ = 0;
        while (!decoderEnded_) {
            int result = avcodec_receive_frame(codec_, frame_);
            if (result == 0) {
                PlaceFirstFrame();
                bool converted =
                    Convert(const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
                av_frame_unref(frame_);
                DropSkipped();
                if (converted && pendingOffset_ < pending_.size()) return true;
                continue;
            }
            if (result == AVERROR_EOF) {
                decoderEnded_ = true;
                break;
            }
            if (result != AVERROR(EAGAIN)) {
                // A damaged stream ends where the damage makes decoding impossible.
                decoderEnded_ = true;
                break;
            }
            FeedDecoder();
        }
        // The resampler keeps a few samples back; they end the sound.
        if (!resamplerFlushed_) {
            resamplerFlushed_ = true;
            Convert(nullptr, 0);
            DropSkipped();
            return pendingOffset_ < pending_.size();
        }
        return false;
    }

    // Hands the decoder the next packet of the sound's stream, or the end of the input.
    void FeedDecoder() {
        while (!inputEnded_) {
            StartStep();
            int result = av_read_frame(format_, packet_);
            if (result < 0) {
                inputEnded_ = true;
                avcodec_send_packet(codec_, nullptr);
                return;
            }
            if (packet_->stream_index != stream_) {
                av_packet_unref(packet_);
                continue;
            }
            result = avcodec_send_packet(codec_, packet_);
            av_packet_unref(packet_);
            // A packet the decoder refuses is skipped, as a damaged part of the file.
            if (result == 0 || result == AVERROR(EAGAIN)) return;
        }
        avcodec_send_packet(codec_, nullptr);
    }

    bool Convert(const uint8_t** input, int inputSamples) {
        int capacity = swr_get_out_samples(resampler_, inputSamples);
        if (capacity <= 0) return false;
        pending_.resize(static_cast<size_t>(capacity) * kMixChannels);
        auto* output = reinterpret_cast<uint8_t*>(pending_.data());
        int produced = swr_convert(resampler_, &output, capacity, input, inputSamples);
        pending_.resize(static_cast<size_t>(std::max(produced, 0)) * kMixChannels);
        return produced > 0;
    }

    MediaInput input_;
    AVFormatContext* format_ = nullptr;  // the input's
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
    int outputRate_ = kMixRate;
    // The start of the sound in the file, and the converted frames still to drop before it.
    double startSeconds_ = 0;
    int64_t skipFrames_ = 0;
    bool skipFromTimestamp_ = false;
    std::vector<float> pending_;
    size_t pendingOffset_ = 0;
    bool inputEnded_ = false;
    bool decoderEnded_ = false;
    bool resamplerFlushed_ = false;
};

}  // namespace

std::unique_ptr<AudioSource> OpenDecodedFile(const std::string& path, std::string& error) {
    auto file = std::make_unique<DecodedFile>();
    error = file->Open(path);
    if (!error.empty()) return nullptr;
    return file;
}

std::unique_ptr<AudioSource> OpenDecodedFileAt(const std::string& path, int64_t startMs, double rate,
                                               std::string& error) {
    auto file = std::make_unique<DecodedFile>();
    error = file->Open(path, std::max<int64_t>(startMs, 0), std::isfinite(rate) && rate > 0 ? rate : 1);
    if (!error.empty()) return nullptr;
    return file;
}

}  // namespace taviro::platform::media
