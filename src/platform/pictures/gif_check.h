// Checks of picture files before SDL_image decodes them: the size a header declares, and GIFs. Its GIF
// decoder trusts the file: corrupt compressed data makes it write outside its tables (a crash), and a frame
// placed far outside the picture makes it allocate gigabytes. A damaged download must give "not a picture"
// instead.
#pragma once

#include <string_view>

namespace taviro::platform {

// The largest picture area, in pixels, that the player decodes: a picture's declared size, a GIF's
// screen or any of its frames. Larger is damage, and decoders would try to allocate it.
inline constexpr long long kLargestPicturePixels = 4096LL * 4096LL;

// The width times the height that a BMP, PNG or JPEG header declares, or -1 when the bytes hold none
// of them or end before saying.
long long DeclaredPicturePixels(std::string_view bytes);

// True when every block the decoder reads is whole, every frame lies within kLargestPicturePixels, and
// the compressed data of every frame uses only codes its table holds. Walks the blocks as SDL_image
// does: bytes between blocks that start none are skipped, and the trailer or the end of the data ends
// the picture.
bool IsSoundGif(std::string_view bytes);

}  // namespace taviro::platform
