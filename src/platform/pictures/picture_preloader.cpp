// The worker that decodes pictures ahead, and the hand-over to the game thread.
#include "platform/pictures/picture_preloader.h"

#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/pictures/picture_cache.h"

namespace taviro::platform {

PicturePreloader::PicturePreloader(size_t budgetBytes) : budgetBytes_(budgetBytes) {
    worker_ = SDL_CreateThread(
        [](void* preloader) {
            static_cast<PicturePreloader*>(preloader)->Work();
            return 0;
        },
        "decode ahead", this);
    // Without a worker nothing is decoded ahead: every picture is decoded when it is loaded.
    if (!worker_) stopping_ = true;
}

PicturePreloader::~PicturePreloader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_) SDL_WaitThread(worker_, nullptr);
}

void PicturePreloader::DecodeAhead(std::vector<Candidates> pictures) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        waiting_.assign(std::make_move_iterator(pictures.begin()), std::make_move_iterator(pictures.end()));
    }
    changed_.notify_all();
}

std::optional<PicturePreloader::FileStamp> PicturePreloader::StampOf(const std::string& realPath) {
    // One call for both, as a click to a frame asks it of every picture the frame shows.
    struct stat status {};
    if (::stat(realPath.c_str(), &status) != 0) return std::nullopt;
    return FileStamp{static_cast<int64_t>(status.st_size),
                     static_cast<int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

std::shared_ptr<const Picture> PicturePreloader::Take(const std::string& realPath) {
    Held found;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(held_.begin(), held_.end(),
                               [&](const Held& held) { return held.realPath == realPath; });
        if (it == held_.end()) return nullptr;
        found = std::move(*it);
        heldBytes_ -= found.bytes;
        held_.erase(it);
    }
    // A file written again after the worker read it is decoded afresh by the caller.
    if (StampOf(realPath) != found.stamp) return nullptr;
    return found.picture;
}

std::shared_ptr<const Picture> PicturePreloader::NextToPrepare() {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(held_.begin(), held_.end(), [](const Held& held) { return !held.prepared; });
    if (it == held_.end()) return nullptr;
    it->prepared = true;
    return it->picture;
}

void PicturePreloader::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

std::vector<std::string> PicturePreloader::heldPaths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (const Held& held : held_) paths.push_back(held.realPath);
    return paths;
}

size_t PicturePreloader::heldBytes() const {
    std::lock_guard lock(mutex_);
    return heldBytes_;
}

void PicturePreloader::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;
        Candidates next = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        DecodeOne(next);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void PicturePreloader::DecodeOne(const Candidates& candidates) {
    // 1. The first candidate that is a file, as the game thread's search finds it (the CD aside).
    auto located = std::find_if(candidates.begin(), candidates.end(),
                                [this](const std::string& path) { return files_.IsFile(path); });
    if (located == candidates.end()) return;
    const std::string realPath = files_.Resolve(*located).string();
    {
        std::lock_guard lock(mutex_);
        if (std::any_of(held_.begin(), held_.end(),
                        [&](const Held& held) { return held.realPath == realPath; }))
            return;
    }
    // 2. The file's stamp before its bytes: a change while reading makes the stamps differ later.
    std::optional<FileStamp> stamp = StampOf(realPath);
    std::optional<std::string> bytes = files_.ReadFile(*located);
    if (!stamp || !bytes) return;
    // 3. A damaged picture is left for the game thread, which reports it when it opens the frame.
    std::shared_ptr<const Picture> picture;
    try {
        picture = PictureCache::Decode(*bytes, realPath, false);
    } catch (const std::exception&) {
        return;
    }
    // 4. Kept within the budget, the oldest dropped first; a picture larger than the budget is not kept.
    const size_t bytesOfPixels = PixelBytes(*picture);
    if (bytesOfPixels > budgetBytes_) return;
    std::lock_guard lock(mutex_);
    while (heldBytes_ + bytesOfPixels > budgetBytes_) {
        heldBytes_ -= held_.front().bytes;
        held_.pop_front();
    }
    held_.push_back({realPath, std::move(picture), *stamp, bytesOfPixels});
    heldBytes_ += bytesOfPixels;
}

}  // namespace taviro::platform
