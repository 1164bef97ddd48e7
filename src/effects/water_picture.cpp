// Reading a frame's water, and drawing a step of its wave.
#include "effects/water_picture.h"

#include <algorithm>
#include <cmath>

#include "platform/game_error.h"
#include "project/field_reader.h"

namespace taviro::effects {

WaterSettings ReadWaterSettings(std::string text, platform::Point frameSize) {
    project::FieldReader reader(std::move(text));
    for (int field = 1; field <= 6; ++field) reader.ReadVariant();
    WaterSettings settings;
    settings.area.x = reader.ReadInteger();
    settings.area.y = reader.ReadInteger();
    settings.area.width = reader.ReadInteger();
    settings.area.height = reader.ReadInteger();
    settings.WaveAmplitude = reader.ReadInteger();
    settings.WaveSpeed = reader.ReadInteger();
    if (!reader.AtEnd()) settings.WaveDirection = reader.ReadBoolean();
    const platform::Rect& area = settings.area;
    if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 ||
        area.x + area.width > frameSize.x || area.y + area.height > frameSize.y)
        throw GameError(380, "Invalid property value");
    return settings;
}

std::vector<uint8_t> WaterMask(const platform::PixelView& mask) {
    std::vector<uint8_t> water(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height));
    for (int y = 0; y < mask.height; ++y) {
        const uint32_t* row = mask.pixels + static_cast<std::ptrdiff_t>(y) * mask.pitchPixels;
        for (int x = 0; x < mask.width; ++x) {
            const uint32_t p = row[x];
            const uint32_t luminance =
                (299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF)) / 1000;
            water[static_cast<size_t>(y) * static_cast<size_t>(mask.width) + static_cast<size_t>(x)] =
                luminance >= 128 ? 1 : 0;
        }
    }
    return water;
}

float WavePhase(int64_t clockMs, int speed, bool direction) {
    const float phase = static_cast<float>(static_cast<double>(clockMs) * ((speed + 2) / 10.0) / 300.0);
    return direction ? phase : -phase;
}

void DrawWaterStep(const platform::PixelView& original, const std::vector<uint8_t>& mask, int amplitude,
                   float phase, platform::Canvas& water) {
    const int width = std::min(original.width, water.width());
    const int height = std::min(original.height, water.height());
    if (width <= 0 || mask.size() < static_cast<size_t>(water.width()) * static_cast<size_t>(height)) return;
    for (int y = 0; y < height; ++y) {
        const int shift = static_cast<int>(std::lround(amplitude * std::sin(phase + y / 4.0F)));
        const uint32_t* source = original.pixels + static_cast<std::ptrdiff_t>(y) * original.pitchPixels;
        const uint8_t* isWater = mask.data() + static_cast<std::ptrdiff_t>(y) * water.width();
        uint32_t* target = water.data() + static_cast<std::ptrdiff_t>(y) * water.width();
        for (int x = 0; x < width; ++x) {
            if (!isWater[x]) continue;
            target[x] = source[std::clamp(x + shift, 0, width - 1)];
        }
    }
    water.Painted();
}

}  // namespace taviro::effects
