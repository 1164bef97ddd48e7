// Pictures decoded ahead on a worker thread, for frames the player may open next. The worker finds
// files silently (no report, no CD) and keeps what it decoded within a memory budget, dropping the
// oldest first. The game thread takes a picture only when it is complete and its file unchanged.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/file_system.h"
#include "platform/pictures/picture.h"

struct SDL_Thread;

namespace taviro::platform {

class PicturePreloader {
public:
    // The game paths under which one picture may be found, tried in order (plain, then scrambled).
    using Candidates = std::vector<std::string>;

    static constexpr size_t kDefaultBudgetBytes = 64u << 20;

    explicit PicturePreloader(size_t budgetBytes = kDefaultBudgetBytes);
    // Stops the worker; a decoding under way is finished first.
    ~PicturePreloader();

    // Replaces the pictures still waiting to be decoded by these, in order. Pictures already decoded
    // stay until the budget drops them.
    void DecodeAhead(std::vector<Candidates> pictures);

    // The picture decoded ahead from this real path, handed over (it leaves the preloader), or null
    // when there is none, it is not finished, or the file changed since it was read.
    std::shared_ptr<const Picture> Take(const std::string& realPath);

    // The oldest picture held that this has not given out before, for the game thread to make its
    // textures while it is idle; null when there is none. Taking it still goes through Take.
    std::shared_ptr<const Picture> NextToPrepare();

    // Blocks until nothing waits to be decoded and the worker is idle: for tests and benchmarks.
    void WaitUntilIdle();

    // The real paths of the pictures held, oldest first, and the bytes their pixels take.
    std::vector<std::string> heldPaths() const;
    size_t heldBytes() const;

private:
    // When a file was read: a picture is used only if its file still has the same size and time.
    struct FileStamp {
        int64_t size = 0;
        int64_t modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct Held {
        std::string realPath;
        std::shared_ptr<const Picture> picture;
        FileStamp stamp;
        size_t bytes = 0;
        bool prepared = false;  // given out by NextToPrepare
    };

    void Work();
    // Decodes one picture on the worker thread; nothing when it is missing, already held or damaged.
    void DecodeOne(const Candidates& candidates);
    static std::optional<FileStamp> StampOf(const std::string& realPath);

    const size_t budgetBytes_;
    FileSystem files_;  // the worker's own: the game thread's caches its folder listings unlocked
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Candidates> waiting_;
    std::deque<Held> held_;  // oldest first
    size_t heldBytes_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    // An SDL thread, so that SDL frees what it keeps per thread (its error text) when the thread ends.
    SDL_Thread* worker_ = nullptr;
};

}  // namespace taviro::platform
