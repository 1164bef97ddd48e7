// A dry run of SDL_image's GIF reading: the same walk over blocks and bits, with every step that
// would leave the decoder's buffers checked instead of taken. No pixel is produced.
#include "platform/pictures/gif_check.h"

#include <array>
#include <cstdint>
#include <optional>

namespace taviro::platform {
namespace {

constexpr int kLargestCodeBits = 12;
constexpr int kTableSize = 1 << kLargestCodeBits;
// The decoder's stack of pending pixels holds twice the table.
constexpr int kStackSize = 2 * kTableSize;
// Its bit buffer: two bytes kept from the block before, then a block of up to 255 bytes.
constexpr int kBitBufferSize = 280;

// Why the dry run stopped early: the decoder would have stopped safely, or it would not have.
enum class Stop { Safe, Unsafe };

class GifDryRun {
public:
    explicit GifDryRun(std::string_view bytes) : bytes_(bytes) {}

    bool Run();

private:
    std::optional<uint8_t> Byte() {
        if (at_ >= bytes_.size()) return std::nullopt;
        return static_cast<uint8_t>(bytes_[at_++]);
    }
    bool Skip(size_t count) {
        if (bytes_.size() - at_ < count) return false;
        at_ += count;
        return true;
    }
    // A sub-block into the bit buffer at offset 2: its length, 0 for the empty one, nullopt when the
    // file ends inside it. The decoder would then go on over bytes it never read, so the file is unsafe.
    std::optional<int> DataBlock(bool intoBits);
    // The next code of the compressed data, -1 at its end; nullopt when the file ends inside a block.
    std::optional<int> Code();
    // The next pixel, or a negative value where the decoder stops; nullopt for an unsafe step.
    std::optional<int> NextPixel();
    void ResetTable();
    // One frame: false when decoding it would be unsafe.
    bool Frame(int width, int height, bool interlaced);

    std::string_view bytes_;
    size_t at_ = 0;
    // The decoder's state, as it keeps it between calls.
    std::array<uint8_t, kBitBufferSize> bits_{};
    int currentBit_ = 0, lastBit_ = 0, lastByte_ = 0;
    bool done_ = false, zeroBlock_ = false, fresh_ = false;
    int codeBits_ = 0, minimumCodeBits_ = 0, nextCode_ = 0, growAt_ = 0;
    int oldCode_ = 0, clear_ = 0, end_ = 0;
    std::array<int, kTableSize> prefix_{};
    int pending_ = 0;  // pixels on the stack
};

std::optional<int> GifDryRun::DataBlock(bool intoBits) {
    auto count = Byte();
    if (!count) return std::nullopt;
    zeroBlock_ = *count == 0;
    if (intoBits) {
        for (int i = 0; i < *count; ++i) {
            auto byte = Byte();
            if (!byte) return std::nullopt;
            bits_[static_cast<size_t>(2 + i)] = *byte;
        }
    } else if (!Skip(*count)) {
        return std::nullopt;
    }
    return *count;
}

std::optional<int> GifDryRun::Code() {
    if (currentBit_ + codeBits_ >= lastBit_) {
        if (done_) return -1;
        auto at = [&](int i) { return i >= 0 && i < kBitBufferSize ? bits_[static_cast<size_t>(i)] : 0; };
        bits_[0] = at(lastByte_ - 2);
        bits_[1] = at(lastByte_ - 1);
        auto count = DataBlock(true);
        if (!count) return std::nullopt;
        if (*count == 0) done_ = true;
        lastByte_ = 2 + *count;
        currentBit_ = (currentBit_ - lastBit_) + 16;
        lastBit_ = (2 + *count) * 8;
    }
    if (currentBit_ < 0 || (currentBit_ + codeBits_ + 7) / 8 > kBitBufferSize) return std::nullopt;
    int code = 0;
    for (int i = currentBit_, j = 0; j < codeBits_; ++i, ++j)
        code |= ((bits_[static_cast<size_t>(i / 8)] >> (i % 8)) & 1) << j;
    currentBit_ += codeBits_;
    return code;
}

void GifDryRun::ResetTable() {
    prefix_.fill(0);
    codeBits_ = minimumCodeBits_ + 1;
    growAt_ = 2 * clear_;
    nextCode_ = clear_ + 2;
    pending_ = 0;
}

std::optional<int> GifDryRun::NextPixel() {
    if (fresh_) {
        fresh_ = false;
        std::optional<int> first;
        do {
            first = Code();
            if (!first) return std::nullopt;
        } while (*first == clear_);
        oldCode_ = *first;
        return *first;
    }
    if (pending_ > 0) {
        --pending_;
        return 0;
    }
    while (true) {
        auto read = Code();
        if (!read) return std::nullopt;
        int code = *read;
        if (code < 0) return code;
        if (code == clear_) {
            ResetTable();
            auto first = Code();
            if (!first) return std::nullopt;
            oldCode_ = *first;
            return *first;
        }
        if (code == end_) {
            if (zeroBlock_) return -2;
            std::optional<int> count;
            while ((count = DataBlock(false)) && *count > 0) {
            }
            return -2;
        }
        const int incoming = code;
        // Each pixel of the string the code stands for goes on the stack; a chain that does not end
        // (a loop longer than one entry) would run past the stack.
        if (code >= nextCode_) {
            if (++pending_ > kStackSize) return std::nullopt;
            code = oldCode_;
        }
        while (code >= clear_) {
            if (code >= kTableSize) return -3;
            if (++pending_ > kStackSize) return std::nullopt;
            if (code == prefix_[static_cast<size_t>(code)]) return -3;
            code = prefix_[static_cast<size_t>(code)];
        }
        if (code < 0 || code >= kTableSize) return -4;
        if (++pending_ > kStackSize) return std::nullopt;
        if (nextCode_ < kTableSize) {
            prefix_[static_cast<size_t>(nextCode_)] = oldCode_;
            ++nextCode_;
            if (nextCode_ >= growAt_ && growAt_ < kTableSize) {
                growAt_ *= 2;
                ++codeBits_;
            }
        }
        oldCode_ = incoming;
        --pending_;
        return 0;
    }
}

bool GifDryRun::Frame(int width, int height, bool interlaced) {
    auto minimumCodeBits = Byte();
    if (!minimumCodeBits) return true;                     // the decoder stops at the end of the file
    if (*minimumCodeBits > kLargestCodeBits) return true;  // and refuses this size
    // An empty frame has no pixels to write into; a huge one takes gigabytes.
    if (width == 0 || height == 0 || static_cast<long long>(width) * height > kLargestPicturePixels)
        return false;
    minimumCodeBits_ = *minimumCodeBits;
    clear_ = 1 << minimumCodeBits_;
    end_ = clear_ + 1;
    ResetTable();
    currentBit_ = lastBit_ = 0;
    done_ = false;
    fresh_ = true;
    int x = 0, y = 0, pass = 0;
    while (true) {
        auto pixel = NextPixel();
        if (!pixel) return false;
        if (*pixel < 0) return true;
        if (++x == width) {
            x = 0;
            if (!interlaced) {
                ++y;
            } else {
                y += pass <= 1 ? 8 : pass == 2 ? 4 : 2;
                if (y >= height) {
                    if (++pass > 3) return true;
                    y = pass == 1 ? 4 : pass == 2 ? 2 : 1;
                }
            }
        }
        if (y >= height) return true;
    }
}

bool GifDryRun::Run() {
    // 1. The signature and the logical screen, with its global colour table.
    if (!Skip(6)) return true;
    std::array<uint8_t, 7> screen{};
    for (uint8_t& byte : screen)
        if (auto read = Byte())
            byte = *read;
        else
            return true;
    const long long screenWidth = screen[0] | (screen[1] << 8);
    const long long screenHeight = screen[2] | (screen[3] << 8);
    if (screenWidth * screenHeight > kLargestPicturePixels) return false;
    if ((screen[4] & 0x80) && !Skip(3u << ((screen[4] & 7) + 1))) return true;
    // 2. Blocks until the trailer: extensions, frames, and stray bytes the decoder skips.
    while (auto introducer = Byte()) {
        if (*introducer == ';') return true;
        if (*introducer == '!') {
            if (!Byte()) return true;
            std::optional<int> count;
            while ((count = DataBlock(false)) && *count > 0) {
            }
            continue;
        }
        if (*introducer != ',') continue;
        std::array<uint8_t, 9> frame{};
        for (uint8_t& byte : frame)
            if (auto read = Byte())
                byte = *read;
            else
                return true;
        const int left = frame[0] | (frame[1] << 8), top = frame[2] | (frame[3] << 8);
        const int width = frame[4] | (frame[5] << 8), height = frame[6] | (frame[7] << 8);
        if (static_cast<long long>(left + width) * (top + height) > kLargestPicturePixels) return false;
        if ((frame[8] & 0x80) && !Skip(3u << ((frame[8] & 7) + 1))) return true;
        if (!Frame(width, height, (frame[8] & 0x40) != 0)) return false;
    }
    return true;
}

}  // namespace

bool IsSoundGif(std::string_view bytes) { return GifDryRun(bytes).Run(); }

long long DeclaredPicturePixels(std::string_view bytes) {
    auto byteAt = [&](size_t at) -> long long { return static_cast<uint8_t>(bytes[at]); };
    auto little = [&](size_t at, int count) {
        long long value = 0;
        for (int i = count - 1; i >= 0; --i) value = value << 8 | byteAt(at + static_cast<size_t>(i));
        return value;
    };
    auto big = [&](size_t at, int count) {
        long long value = 0;
        for (int i = 0; i < count; ++i) value = value << 8 | byteAt(at + static_cast<size_t>(i));
        return value;
    };
    // BMP: the size follows the file header, as 16-bit values in the oldest header, else 32-bit ones
    // with a height that is negative for a picture stored top down.
    if (bytes.size() >= 26 && bytes.starts_with("BM")) {
        if (little(14, 4) == 12) return little(18, 2) * little(20, 2);
        long long height = little(22, 4);
        if (height >= 0x80000000LL) height = 0x100000000LL - height;
        return little(18, 4) * height;
    }
    // PNG: the first chunk, IHDR, holds the size.
    if (bytes.size() >= 24 && bytes.starts_with("\x89PNG\r\n\x1a\n")) return big(16, 4) * big(20, 4);
    // JPEG: the size sits in the start-of-frame segment; other segments are skipped by their length.
    if (bytes.size() >= 4 && bytes.starts_with("\xff\xd8")) {
        size_t at = 2;
        while (at + 4 <= bytes.size()) {
            if (byteAt(at) != 0xff) return -1;
            const long long marker = byteAt(at + 1);
            if (marker == 0xff) {
                ++at;  // fill byte
                continue;
            }
            if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd9)) {
                at += 2;  // markers without a segment
                continue;
            }
            const bool startOfFrame =
                marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
            if (startOfFrame) return at + 9 <= bytes.size() ? big(at + 5, 2) * big(at + 7, 2) : -1;
            if (marker == 0xda) return -1;  // the picture's data before any size
            at += 2 + static_cast<size_t>(big(at + 2, 2));
        }
    }
    return -1;
}

}  // namespace taviro::platform
