// Writing test pictures.
#include "platform/pictures/test_pictures.h"

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace taviro::platform::test_pictures {
namespace {

// SDL writes files, so the bytes go through a file of their own.
template <typename Save>
std::string ThroughFile(const char* extension, Save save) {
    static int counter = 0;
    auto path = std::filesystem::temp_directory_path() / ("taviro-picture-" + std::to_string(::getpid()) +
                                                          "-" + std::to_string(++counter) + extension);
    save(path.string().c_str());
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return bytes;
}

void PutWord(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutLong(std::string& out, uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

}  // namespace

std::shared_ptr<SDL_Surface> Filled(int width, int height, uint32_t argb) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(surface, nullptr, argb);
    return {surface, &SDL_FreeSurface};
}

uint32_t PixelAt(SDL_Surface* surface, int x, int y) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<uint32_t*>(row)[x];
}

std::string BmpBytes(SDL_Surface* surface) {
    return ThroughFile(".bmp", [&](const char* path) { SDL_SaveBMP(surface, path); });
}

std::string PngBytes(SDL_Surface* surface) {
    return ThroughFile(".png", [&](const char* path) { IMG_SavePNG(surface, path); });
}

std::string JpegBytes(SDL_Surface* surface) {
    return ThroughFile(".jpg", [&](const char* path) { IMG_SaveJPG(surface, path, 95); });
}

std::string IconBytes(int width, int height, uint32_t argb, std::optional<Point> cursorHotSpot) {
    const uint32_t maskRowBytes = static_cast<uint32_t>((width + 31) / 32 * 4);
    const uint32_t imageBytes =
        40 + static_cast<uint32_t>(width * height * 4) + maskRowBytes * static_cast<uint32_t>(height);
    std::string out;
    PutWord(out, 0);
    PutWord(out, cursorHotSpot ? 2 : 1);
    PutWord(out, 1);
    out.push_back(static_cast<char>(width));
    out.push_back(static_cast<char>(height));
    out.push_back(0);
    out.push_back(0);
    PutWord(out, cursorHotSpot ? static_cast<uint32_t>(cursorHotSpot->x) : 1);
    PutWord(out, cursorHotSpot ? static_cast<uint32_t>(cursorHotSpot->y) : 32);
    PutLong(out, imageBytes);
    PutLong(out, 22);
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
    PutLong(out, 40);
    PutLong(out, static_cast<uint32_t>(width));
    PutLong(out, static_cast<uint32_t>(height * 2));
    PutWord(out, 1);
    PutWord(out, 32);
    for (int i = 0; i < 6; ++i) PutLong(out, 0);
    for (int i = 0; i < width * height; ++i) PutLong(out, argb);
    out.append(maskRowBytes * static_cast<uint32_t>(height), '\0');
    return out;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(x - y) > tolerance) return false;
    }
    return true;
}

}  // namespace taviro::platform::test_pictures
