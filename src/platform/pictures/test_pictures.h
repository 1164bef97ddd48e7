// Pictures made by tests at run time: surfaces of one colour and the bytes of picture files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/geometry.h"

struct SDL_Surface;

namespace taviro::platform::test_pictures {

// An ARGB8888 surface filled with one colour (0xAARRGGBB).
std::shared_ptr<SDL_Surface> Filled(int width, int height, uint32_t argb);

// The pixel of an ARGB8888 surface as 0xAARRGGBB.
uint32_t PixelAt(SDL_Surface* surface, int x, int y);

// The file bytes of a surface written as BMP, PNG or JPEG by SDL and SDL_image.
std::string BmpBytes(SDL_Surface* surface);
std::string PngBytes(SDL_Surface* surface);
std::string JpegBytes(SDL_Surface* surface);

// A 32-bit icon (.ico) or cursor (.cur, with its hot spot) of one colour, written byte by byte.
std::string IconBytes(int width, int height, uint32_t argb,
                      std::optional<Point> cursorHotSpot = std::nullopt);

// Colours equal within a rounding step on each channel.
bool Near(uint32_t a, uint32_t b, int tolerance = 2);

}  // namespace taviro::platform::test_pictures
