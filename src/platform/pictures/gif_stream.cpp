// giflib reads the file record by record from memory; each frame is drawn over the composed picture
// of the frames before it, after the previous frame has been undone as its disposal method says.
#include "platform/pictures/gif_stream.h"

#include <SDL.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace taviro::platform {
namespace {

// GIF disposal methods: leave the frame, clear its rectangle, or put back what was under it.
constexpr int kDisposeBackground = DISPOSE_BACKGROUND;
constexpr int kDisposePrevious = DISPOSE_PREVIOUS;

}  // namespace

std::unique_ptr<GifStream> GifStream::Open(std::string bytes) {
    std::unique_ptr<GifStream> stream(new GifStream());
    stream->bytes_ = std::move(bytes);
    if (!stream->Restart()) return nullptr;
    int delayMs = 0;
    while (stream->NextFrame(false, &delayMs)) stream->delaysMs_.push_back(delayMs);
    if (stream->delaysMs_.empty() || stream->width_ <= 0 || stream->height_ <= 0) return nullptr;
    if (!stream->Restart()) return nullptr;
    return stream;
}

GifStream::~GifStream() { Close(); }

void GifStream::Close() {
    if (!gif_) return;
    int error = 0;
    DGifCloseFile(gif_, &error);
    gif_ = nullptr;
}

bool GifStream::Restart() {
    Close();
    readAt_ = 0;
    int error = 0;
    gif_ = DGifOpen(
        this,
        [](GifFileType* gif, GifByteType* into, int count) {
            auto* stream = static_cast<GifStream*>(gif->UserData);
            size_t take =
                std::min(static_cast<size_t>(std::max(count, 0)), stream->bytes_.size() - stream->readAt_);
            std::memcpy(into, stream->bytes_.data() + stream->readAt_, take);
            stream->readAt_ += take;
            return static_cast<int>(take);
        },
        &error);
    if (!gif_) return false;
    width_ = gif_->SWidth;
    height_ = gif_->SHeight;
    nextFrame_ = 0;
    shown_.reset();
    pendingDisposal_ = DISPOSAL_UNSPECIFIED;
    saved_.clear();
    if (canvas_) SDL_FillRect(canvas_.get(), nullptr, 0);
    return true;
}

bool GifStream::NextFrame(bool draw, int* delayMs) {
    int delay = 0, disposal = DISPOSAL_UNSPECIFIED, transparent = NO_TRANSPARENT_COLOR;
    while (true) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif_, &type) == GIF_ERROR) return false;
        if (type == TERMINATE_RECORD_TYPE) return false;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(gif_, &code, &extension) == GIF_ERROR) return false;
            // A control block of any length but 4 is damaged: giflib leaves it unread.
            GraphicsControlBlock control{};
            if (code == GRAPHICS_EXT_FUNC_CODE && extension && extension[0] == 4 &&
                DGifExtensionToGCB(extension[0], extension + 1, &control) == GIF_OK) {
                delay = control.DelayTime * 10;
                disposal = control.DisposalMode;
                transparent = control.TransparentColor;
            }
            while (extension)
                if (DGifGetExtensionNext(gif_, &extension) == GIF_ERROR) return false;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif_) == GIF_ERROR) return false;
        *delayMs = delay;
        const GifImageDesc& image = gif_->Image;
        if (!draw) {
            int codeSize = 0;
            GifByteType* block = nullptr;
            if (DGifGetCode(gif_, &codeSize, &block) == GIF_ERROR) return false;
            while (block)
                if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) return false;
            return true;
        }
        auto* pixels = static_cast<uint32_t*>(canvas_->pixels);
        const int pitch = canvas_->pitch / 4;
        // 1. The previous frame is undone as it asked.
        if (pendingDisposal_ == kDisposeBackground) {
            for (int y = std::max(pendingTop_, 0); y < std::min(pendingTop_ + pendingHeight_, height_); ++y)
                for (int x = std::max(pendingLeft_, 0); x < std::min(pendingLeft_ + pendingWidth_, width_);
                     ++x)
                    pixels[y * pitch + x] = 0;
        } else if (pendingDisposal_ == kDisposePrevious && !saved_.empty()) {
            std::copy(saved_.begin(), saved_.end(), pixels);
        }
        // 2. What this frame covers is kept when it asks to be undone that way.
        if (disposal == kDisposePrevious)
            saved_.assign(pixels, pixels + static_cast<size_t>(pitch) * height_);
        pendingDisposal_ = disposal;
        pendingLeft_ = image.Left;
        pendingTop_ = image.Top;
        pendingWidth_ = image.Width;
        pendingHeight_ = image.Height;
        // 3. Its rows, in the order an interlaced image stores them, drawn where not transparent.
        const ColorMapObject* colours = image.ColorMap ? image.ColorMap : gif_->SColorMap;
        if (image.Width <= 0 || image.Height <= 0) return true;
        line_.resize(static_cast<size_t>(image.Width));
        static constexpr int kPassStart[] = {0, 4, 2, 1};
        static constexpr int kPassStep[] = {8, 8, 4, 2};
        const int passes = image.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int start = image.Interlace ? kPassStart[pass] : 0;
            const int step = image.Interlace ? kPassStep[pass] : 1;
            for (int row = start; row < image.Height; row += step) {
                // A damaged frame shows what was read of it.
                if (DGifGetLine(gif_, line_.data(), image.Width) == GIF_ERROR) return false;
                const int y = image.Top + row;
                if (!colours || y < 0 || y >= height_) continue;
                for (int column = 0; column < image.Width; ++column) {
                    const int index = line_[static_cast<size_t>(column)];
                    const int x = image.Left + column;
                    if (index == transparent || index >= colours->ColorCount || x < 0 || x >= width_)
                        continue;
                    const GifColorType& colour = colours->Colors[index];
                    pixels[y * pitch + x] = 0xFF000000u | (uint32_t{colour.Red} << 16) |
                                            (uint32_t{colour.Green} << 8) | colour.Blue;
                }
            }
        }
        return true;
    }
}

const std::shared_ptr<SDL_Surface>& GifStream::Frame(size_t index) {
    // The picture is made when first shown: a stream opened only to count the frames needs none.
    if (!canvas_) {
        canvas_ = std::shared_ptr<SDL_Surface>(
            SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 32, SDL_PIXELFORMAT_ARGB8888),
            &SDL_FreeSurface);
        if (!canvas_) return canvas_;
        SDL_FillRect(canvas_.get(), nullptr, 0);
    }
    index = std::min(index, delaysMs_.size() - 1);
    if (shown_ == index) return canvas_;
    if (index < nextFrame_ && !Restart()) return canvas_;
    int delayMs = 0;
    while (nextFrame_ <= index) {
        if (!NextFrame(true, &delayMs)) break;
        ++nextFrame_;
    }
    shown_ = index;
    ++revision_;
    return canvas_;
}

}  // namespace taviro::platform
