// Pictures read through the game's file system and decoded once: asking again for a picture already
// decoded gives the same decoded picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/files/file_system.h"
#include "platform/pictures/picture.h"
#include "platform/pictures/picture_preloader.h"

namespace taviro::platform {

// The bytes the pixels of every frame of a picture take.
size_t PixelBytes(const Picture& picture);

class PictureCache {
public:
    // Pictures kept beyond what is shown: a few frames' worth, so that going back is instant.
    static constexpr size_t kDefaultBudgetBytes = 96u << 20;

    explicit PictureCache(FileSystem& files, size_t budgetBytes = kDefaultBudgetBytes)
        : files_(files), budgetBytes_(budgetBytes) {}

    // Loads a BMP, JPEG, GIF (all its frames), PNG, ICO or CUR picture by its game path. Throws GameError
    // 53 "File not found" for a missing file and 481 "Invalid picture" for an empty, truncated or
    // unknown file (WMF and EMF included: the player does not draw metafiles).
    std::shared_ptr<const Picture> Load(std::string_view gamePath);

    // The most an animated GIF's frames may take decoded whole (4 bytes a pixel); a larger one is
    // decoded one frame at a time as it is shown.
    static constexpr uint64_t kWholeAnimationBudgetBytes = uint64_t{64} << 20;

    // Decodes picture bytes that are not a file of the game; `name` is used in error messages, which
    // go to the log unless logFailures is false.
    static std::shared_ptr<const Picture> Decode(
        std::string_view bytes, const std::string& name, bool logFailures = true,
        uint64_t wholeAnimationBudgetBytes = kWholeAnimationBudgetBytes);

    // Starts decoding these pictures on a worker thread (see PicturePreloader); Load then uses one
    // when it reads the same real path and the file has not changed since.
    void DecodeAhead(std::vector<PicturePreloader::Candidates> pictures);
    // The worker, once DecodeAhead started it; null before.
    PicturePreloader* preloader() { return preloader_.get(); }
    // How many pictures Load took from those decoded ahead.
    size_t decodedAheadCount() const { return decodedAheadCount_; }

    // Drops every decoded picture nobody uses any more.
    void Trim();
    // Drops the pictures nobody else uses, least recently loaded first, until those kept fit the
    // budget; the pictures loaded last (the frame shown) go last. True when it dropped any.
    bool KeepWithinBudget();
    size_t size() const { return pictures_.size(); }
    // The bytes the pixels of the pictures kept take.
    size_t heldBytes() const { return heldBytes_; }
    // How many pictures were decoded, for tests and benchmarks of the cache.
    size_t decodeCount() const { return decodeCount_; }

private:
    FileSystem& files_;
    struct Kept {
        std::shared_ptr<const Picture> picture;
        uint64_t lastLoad = 0;  // the count of loads when it was last loaded
        size_t bytes = 0;
    };
    // Keeps a picture loaded now under its real path.
    void Keep(const std::string& realPath, std::shared_ptr<const Picture> picture);

    const size_t budgetBytes_;
    std::unordered_map<std::string, Kept> pictures_;  // by real path
    uint64_t loads_ = 0;
    size_t heldBytes_ = 0;
    size_t decodeCount_ = 0;
    size_t decodedAheadCount_ = 0;
    std::unique_ptr<PicturePreloader> preloader_;
};

// Writes the first frame of a picture as a 24-bit BMP file at a real path. Throws GameError 75
// "Path/File access error" when the file cannot be written.
void SaveBitmap(const Picture& picture, const std::string& realPath);

}  // namespace taviro::platform
