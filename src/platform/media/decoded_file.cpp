// FFmpeg demuxes and decodes one packet at a time; libswresample turns each decoded frame into the
// mixer's rate and layout.
#include "platform/media/decoded_file.h"

#include <algorithm>
#include <chrono>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace taviro::platform::media {
namespace {

constexpr unsigned kMaxIndexBytes = 64 * 1024;
// How long one step of FFmpeg's (opening, reading a packet, seeking) may take. A damaged file can
// make a demuxer walk hundreds of megabytes (a WAV padded with zeros is read as millions of empty
// chunks); past this the file counts as one that cannot be decoded, and the game goes on.
constexpr std::chrono::seconds kLongestStep{2};

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

class DecodedFile : public AudioSource {
public:
    ~DecodedFile() override {
        swr_free(&resampler_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        avcodec_free_context(&codec_);
        avformat_close_input(&format_);
    }

    // Returns an error text, empty on success.
    std::string Open(const std::string& path) {
        av_log_set_level(AV_LOG_QUIET);
        format_ = avformat_alloc_context();
        if (!format_) return "out of memory";
        format_->interrupt_callback = {&DecodedFile::StepOverdue, this};
        StartStep();
        int result = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
        if (result < 0) return ErrorText(result);
        // The demuxer indexes what it reads for seeking; only the start is ever sought, so a long
        // file keeps a small index.
        format_->max_index_size = kMaxIndexBytes;
        StartStep();
        if ((result = avformat_find_stream_info(format_, nullptr)) < 0) return ErrorText(result);
        const AVCodec* decoder = nullptr;
        stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream_ < 0 || !decoder) return "no sound in the file";
        codec_ = avcodec_alloc_context3(decoder);
        if (!codec_) return "out of memory";
        if ((result = avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar)) < 0)
            return ErrorText(result);
        if ((result = avcodec_open2(codec_, decoder, nullptr)) < 0) return ErrorText(result);
        if (codec_->sample_rate <= 0) return "no sample rate";
        // A stream that names only its channel count gets the usual layout for that count.
        if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC && codec_->ch_layout.nb_channels > 0) {
            int channels = codec_->ch_layout.nb_channels;
            av_channel_layout_uninit(&codec_->ch_layout);
            av_channel_layout_default(&codec_->ch_layout, channels);
        }
        if (codec_->ch_layout.nb_channels <= 0) return "no channels";
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        if ((result =
                 swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLT, kMixRate, &codec_->ch_layout,
                                     codec_->sample_fmt, codec_->sample_rate, 0, nullptr)) < 0)
            return ErrorText(result);
        if ((result = swr_init(resampler_)) < 0) return ErrorText(result);
        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        if (!packet_ || !frame_) return "out of memory";
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
        inputEnded_ = false;
        decoderEnded_ = false;
        resamplerFlushed_ = false;
        return true;
    }

private:
    void StartStep() { stepDeadline_ = std::chrono::steady_clock::now() + kLongestStep; }
    // FFmpeg asks this while it works; non-zero ends the step with an error.
    static int StepOverdue(void* file) {
        return std::chrono::steady_clock::now() > static_cast<DecodedFile*>(file)->stepDeadline_ ? 1 : 0;
    }

    // Fills `pending_` with the next converted samples; false at the end of the sound.
    bool ConvertNextFrame() {
        pending_.clear();
        pendingOffset_ = 0;
        while (!decoderEnded_) {
            int result = avcodec_receive_frame(codec_, frame_);
            if (result == 0) {
                bool converted =
                    Convert(const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
                av_frame_unref(frame_);
                if (converted && !pending_.empty()) return true;
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
            return !pending_.empty();
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

    std::chrono::steady_clock::time_point stepDeadline_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
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

}  // namespace taviro::platform::media
