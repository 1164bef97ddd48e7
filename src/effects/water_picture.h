// The pictures of rippling water: the settings of a frame's ".rwe" file, the water mask, and one step
// of the wave.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/canvas.h"

namespace taviro::effects {

// The water of a frame: an area of the background in frame pixels and the wave's look.
struct WaterSettings {
    platform::Rect area;
    int16_t WaveAmplitude = 0;
    int16_t WaveSpeed = 0;
    bool WaveDirection = false;  // the wave's phase grows with time when True
};

// Reads a ".rwe" file's fields: six unused, the area, amplitude and speed, and the direction when
// the file goes on. Throws GameError for a missing or malformed field, or an area that is empty,
// negative or does not lie inside a frame of `frameSize`.
WaterSettings ReadWaterSettings(std::string text, platform::Point frameSize);

// A byte per pixel of the mask picture, 1 where the pixel is water: pixels whose luminance
// (0.299 R + 0.587 G + 0.114 B) is 128 or more, so that the author paints water light on dark.
std::vector<uint8_t> WaterMask(const platform::PixelView& mask);

// The wave's phase at a reading of the effect clock in milliseconds:
// clock × ((speed + 2) / 10) / 300, positive when `direction` is True and negative otherwise.
float WavePhase(int64_t clockMs, int speed, bool direction);

// Draws one step of the water into `water` (the area's size): each row of the still background
// `original` is shifted sideways by amplitude × sin(phase + row / 4) pixels, edges repeated, and only the
// pixels the mask marks as water change.
void DrawWaterStep(const platform::PixelView& original, const std::vector<uint8_t>& mask, int amplitude,
                   float phase, platform::Canvas& water);

}  // namespace taviro::effects
