// Decoding pictures with SDL_image, once each.
#include "platform/pictures/picture_cache.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/pictures/cursor_file.h"
#include "platform/pictures/gif_check.h"
#include "platform/pictures/gif_stream.h"

namespace taviro::platform {
namespace {

GameError InvalidPicture(const std::string& name, const std::string& why, bool logFailure) {
    if (logFailure) log::Error("cannot load picture " + name + ": " + why);
    return {481, "Invalid picture"};
}

bool IsMetafile(std::string_view bytes) {
    auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    // A placeable WMF starts with 9A C6 CD D7; an EMF's first record is type 1 with " EMF" at 40.
    if (bytes.size() >= 4 && at(0) == 0xD7 && at(1) == 0xCD && at(2) == 0xC6 && at(3) == 0x9A) return true;
    if (bytes.size() >= 18 && (at(0) == 1 || at(0) == 2) && at(1) == 0 && at(2) == 9 && at(3) == 0)
        return true;
    return bytes.size() >= 44 && at(0) == 1 && at(1) == 0 && at(2) == 0 && at(3) == 0 &&
           bytes.substr(40, 4) == " EMF";
}

std::shared_ptr<SDL_Surface> Owned(SDL_Surface* surface) { return {surface, &SDL_FreeSurface}; }

// Every surface the player draws from is ARGB8888, whatever the file held.
std::shared_ptr<SDL_Surface> ToArgb(SDL_Surface* surface) {
    if (!surface) return nullptr;
    if (surface->format->format != SDL_PIXELFORMAT_RGB24)
        return Owned(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0));
    // JPEG's pixels: SDL's general converter is several times slower than this loop.
    auto converted =
        Owned(SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!converted) return nullptr;
    for (int y = 0; y < surface->h; ++y) {
        const auto* from =
            static_cast<const uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(converted->pixels) +
                                               static_cast<ptrdiff_t>(y) * converted->pitch);
        for (int x = 0; x < surface->w; ++x, from += 3)
            to[x] = 0xFF000000u | (uint32_t{from[0]} << 16) | (uint32_t{from[1]} << 8) | from[2];
    }
    return converted;
}

// True when the surface cannot hold a transparent pixel.
bool Opaque(const SDL_Surface* surface) {
    return surface->format->Amask == 0 && !SDL_HasColorKey(const_cast<SDL_Surface*>(surface));
}

}  // namespace

Picture::Picture(std::string path, std::vector<Frame> frames, std::optional<Point> hotSpot)
    : path_(std::move(path)), frames_(std::move(frames)), hotSpot_(hotSpot) {
    if (!frames_.empty()) {
        width_ = frames_.front().surface->w;
        height_ = frames_.front().surface->h;
    }
}

Picture::Picture(std::string path, std::shared_ptr<GifStream> stream)
    : path_(std::move(path)), width_(stream->width()), height_(stream->height()), stream_(std::move(stream)) {
    for (int delayMs : stream_->delaysMs()) frames_.push_back({nullptr, delayMs});
}

std::shared_ptr<SDL_Surface> Picture::frameSurface(size_t frame) const {
    if (stream_) return stream_->Frame(std::min(frame, frames_.size() - 1));
    return frames_.at(frame).surface;
}

uint64_t Picture::revision() const { return stream_ ? stream_->revision() : 0; }

PixelView Picture::view(size_t frame) const {
    SDL_Surface* s = surface(frame);
    return {static_cast<const uint32_t*>(s->pixels), s->w, s->h, s->pitch / 4};
}

size_t PixelBytes(const Picture& picture) {
    size_t bytes = 0;
    // A GIF decoded frame by frame has frames without pixels of their own.
    for (const auto& frame : picture.frames())
        if (frame.surface)
            bytes += static_cast<size_t>(frame.surface->pitch) * static_cast<size_t>(frame.surface->h);
    return bytes;
}

void PictureCache::Keep(const std::string& realPath, std::shared_ptr<const Picture> picture) {
    const size_t bytes = PixelBytes(*picture);
    heldBytes_ += bytes;
    pictures_[realPath] = {std::move(picture), ++loads_, bytes};
}

std::shared_ptr<const Picture> PictureCache::Load(std::string_view gamePath) {
    std::string realPath = files_.Resolve(gamePath).string();
    if (auto it = pictures_.find(realPath); it != pictures_.end()) {
        it->second.lastLoad = ++loads_;
        return it->second.picture;
    }
    if (preloader_) {
        if (auto picture = preloader_->Take(realPath)) {
            ++decodedAheadCount_;
            Keep(realPath, picture);
            return picture;
        }
    }
    auto bytes = files_.ReadFile(gamePath);
    if (!bytes) {
        log::MissingFile(realPath);
        throw errors::FileNotFound();
    }
    auto picture = Decode(*bytes, realPath);
    ++decodeCount_;
    Keep(realPath, picture);
    return picture;
}

std::shared_ptr<const Picture> PictureCache::Decode(std::string_view bytes, const std::string& name,
                                                    bool logFailures, uint64_t wholeAnimationBudgetBytes) {
    if (bytes.empty()) throw InvalidPicture(name, "the file is empty", logFailures);
    if (IsMetafile(bytes)) throw InvalidPicture(name, "WMF and EMF pictures are not supported", logFailures);
    if (DeclaredPicturePixels(bytes) > kLargestPicturePixels)
        throw InvalidPicture(name, "a picture larger than any the player shows (a damaged file)",
                             logFailures);
    if ((bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) && !IsSoundGif(bytes))
        throw InvalidPicture(name, "a damaged GIF picture", logFailures);
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!source) throw InvalidPicture(name, SDL_GetError(), logFailures);

    std::vector<Picture::Frame> frames;
    if (IMG_isGIF(source)) {
        // An animation larger than the budget when decoded whole is decoded as it is shown instead.
        auto stream = GifStream::Open(std::string(bytes));
        if (stream && stream->delaysMs().size() > 1 &&
            static_cast<uint64_t>(stream->width()) * static_cast<uint64_t>(stream->height()) * 4 *
                    stream->delaysMs().size() >
                wholeAnimationBudgetBytes) {
            SDL_RWclose(source);
            return std::make_shared<const Picture>(name, std::move(stream));
        }
    }
    if (IMG_isGIF(source)) {
        IMG_Animation* animation = IMG_LoadAnimation_RW(source, 0);
        if (animation) {
            for (int i = 0; i < animation->count; ++i) {
                auto surface = ToArgb(animation->frames[i]);
                if (!surface) break;
                frames.push_back({surface, animation->delays[i]});
            }
            IMG_FreeAnimation(animation);
        }
    } else {
        SDL_Surface* surface = IMG_Load_RW(source, 0);
        if (surface) {
            auto converted = ToArgb(surface);
            bool opaque = Opaque(surface);
            SDL_FreeSurface(surface);
            if (converted) frames.push_back({converted, 0, opaque});
        }
    }
    SDL_RWclose(source);
    if (frames.empty() || frames.front().surface->w <= 0 || frames.front().surface->h <= 0)
        throw InvalidPicture(name, std::string("not a picture the player can read (") + SDL_GetError() + ")",
                             logFailures);
    return std::make_shared<const Picture>(name, std::move(frames), CursorHotSpot(bytes));
}

void PictureCache::DecodeAhead(std::vector<PicturePreloader::Candidates> pictures) {
    if (!preloader_) preloader_ = std::make_unique<PicturePreloader>();
    preloader_->DecodeAhead(std::move(pictures));
}

void PictureCache::Trim() {
    std::erase_if(pictures_, [this](const auto& entry) {
        if (entry.second.picture.use_count() > 1) return false;
        heldBytes_ -= entry.second.bytes;
        return true;
    });
}

bool PictureCache::KeepWithinBudget() {
    if (heldBytes_ <= budgetBytes_) return false;
    std::vector<std::pair<uint64_t, std::string>> unused;  // by last load
    for (const auto& [realPath, kept] : pictures_)
        if (kept.picture.use_count() == 1) unused.emplace_back(kept.lastLoad, realPath);
    std::sort(unused.begin(), unused.end());
    bool dropped = false;
    for (const auto& [lastLoad, realPath] : unused) {
        if (heldBytes_ <= budgetBytes_) break;
        auto it = pictures_.find(realPath);
        heldBytes_ -= it->second.bytes;
        pictures_.erase(it);
        dropped = true;
    }
    return dropped;
}

void SaveBitmap(const Picture& picture, const std::string& realPath) {
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> rgb(
        SDL_ConvertSurfaceFormat(picture.surface(), SDL_PIXELFORMAT_BGR24, 0), SDL_FreeSurface);
    if (!rgb || SDL_SaveBMP(rgb.get(), realPath.c_str()) != 0) {
        log::Error("cannot save picture " + realPath + ": " + SDL_GetError());
        throw errors::PathFileAccessError();
    }
}

}  // namespace taviro::platform
