// A check of GIF files before SDL_image decodes them. Its GIF decoder trusts the file: corrupt
// compressed data makes it write outside its tables (a crash), and a frame placed far outside the
// picture makes it allocate gigabytes. A damaged download must give "not a picture" instead.
#pragma once

#include <string_view>

namespace taviro::platform {

// The largest picture area, in pixels, that a GIF's screen or any of its frames may span.
inline constexpr long long kLargestGifPixels = 4096LL * 4096LL;

// True when every block the decoder reads is whole, every frame lies within kLargestGifPixels, and
// the compressed data of every frame uses only codes its table holds. Walks the blocks as SDL_image
// does: bytes between blocks that start none are skipped, and the trailer or the end of the data ends
// the picture.
bool IsSoundGif(std::string_view bytes);

}  // namespace taviro::platform
