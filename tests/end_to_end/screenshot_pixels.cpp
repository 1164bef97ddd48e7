#include "end_to_end/screenshot_pixels.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdlib>

namespace taviro::testing {

int PixelOf(const std::string& png, int x, int y) {
    SDL_Surface* loaded = IMG_Load(png.c_str());
    if (!loaded) return -1;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!surface) return -1;
    int colour = -1;
    if (x >= 0 && y >= 0 && x < surface->w && y < surface->h) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                      y * surface->pitch);
        colour = static_cast<int>(row[x] & 0xFFFFFF);
    }
    SDL_FreeSurface(surface);
    return colour;
}

bool Near(int colour, int expected) {
    if (colour < 0) return false;
    for (int shift : {0, 8, 16})
        if (std::abs(((colour >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) > 40) return false;
    return true;
}

}  // namespace taviro::testing
