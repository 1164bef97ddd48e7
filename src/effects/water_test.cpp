#include <gtest/gtest.h>

#include <cmath>

#include "effects/rippling_water.h"
#include "effects/water_picture.h"
#include "platform/clock.h"
#include "support/test_project.h"

namespace taviro::effects {
namespace {

using testing::FieldsLine;

// The fields of a ".rwe" file: six the player does not use, then the area and the wave.
std::string RweText(int left, int top, int width, int height, int amplitude, int speed,
                    std::optional<bool> direction) {
    auto number = [](int value) { return project::FieldValue(double(value)); };
    std::string text = FieldsLine({std::string("Water"), 1.0, 2.0, 3.0, 4.0, 5.0});
    text += FieldsLine(
        {number(left), number(top), number(width), number(height), number(amplitude), number(speed)});
    if (direction) text += FieldsLine({*direction});
    return text;
}

TEST(WaterSettings, AreaAndWaveAreReadWithTheDirectionOptional) {
    WaterSettings settings = ReadWaterSettings(RweText(10, 20, 100, 50, 3, 5, true), {640, 480});
    EXPECT_EQ(settings.area, (platform::Rect{10, 20, 100, 50}));
    EXPECT_EQ(settings.WaveAmplitude, 3);
    EXPECT_EQ(settings.WaveSpeed, 5);
    EXPECT_TRUE(settings.WaveDirection);
    EXPECT_FALSE(ReadWaterSettings(RweText(10, 20, 100, 50, 3, 5, std::nullopt), {640, 480}).WaveDirection);
}

TEST(WaterSettings, AbsurdAreasAreRefused) {
    for (auto [left, top, width, height] :
         {std::array{-5, 0, 10, 10}, std::array{0, 0, 641, 10}, std::array{600, 0, 50, 10},
          std::array{0, 0, 30000, 30000}, std::array{0, 0, 0, 10}, std::array{0, 0, 10, -3}}) {
        EXPECT_THROW(ReadWaterSettings(RweText(left, top, width, height, 3, 5, false), {640, 480}), GameError)
            << left << " " << top << " " << width << " " << height;
    }
    EXPECT_THROW(ReadWaterSettings(FieldsLine({1.0, 2.0, 3.0}), {640, 480}), GameError) << "a file cut short";
}

TEST(WaterPicture, LightMaskPixelsAreWater) {
    const uint32_t pixels[] = {0xFFFFFFFF, 0xFF000000, 0xFF808080, 0xFF7F7F7F, 0xFF00FF00, 0xFF0000FF};
    std::vector<uint8_t> mask = WaterMask({pixels, 6, 1, 6});
    EXPECT_EQ(mask, (std::vector<uint8_t>{1, 0, 1, 0, 1, 0}));
}

TEST(WaterPicture, PhaseGrowsWithTheClockAndSpeedOneWayOrTheOther) {
    EXPECT_FLOAT_EQ(WavePhase(3000, 8, true), 10.0F);
    EXPECT_FLOAT_EQ(WavePhase(3000, 8, false), -10.0F);
    EXPECT_FLOAT_EQ(WavePhase(600, 0, true), 0.4F);
}

TEST(WaterPicture, StepChangesOnlyWaterPixels) {
    // A background of vertical stripes, so that a sideways shift shows.
    platform::Canvas original(32, 16), water(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) original.data()[y * 32 + x] = 0xFF000000u | uint32_t(x * 8);
    std::copy_n(original.data(), 32 * 16, water.data());
    std::vector<uint8_t> mask(32 * 16, 0);
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 32; ++x) mask[y * 32 + x] = 1;  // the lower half is water
    DrawWaterStep(original.view(), mask, 4, 1.0F, water);
    int changed = 0;
    for (int y = 0; y < 16; ++y) {
        const int shift = static_cast<int>(std::lround(4 * std::sin(1.0F + y / 4.0F)));
        for (int x = 0; x < 32; ++x) {
            const uint32_t pixel = water.PixelAt(x, y);
            if (y < 8) {
                ASSERT_EQ(pixel, original.PixelAt(x, y)) << x << "," << y;
            } else {
                ASSERT_EQ(pixel, original.PixelAt(std::clamp(x + shift, 0, 31), y)) << x << "," << y;
                changed += pixel != original.PixelAt(x, y);
            }
        }
    }
    EXPECT_GT(changed, 100);
}

// A frame "Pond" of 64 x 48 whose background and mask pictures the test paints itself.
class RipplingWaterFixture : public ::testing::Test {
protected:
    RipplingWaterFixture() {
        test.project->paths.FramesPath = (test.folder.path() / "Frames").string() + "/";
        scene.SetBounds({0, 0, 64, 48});
        water.AddControls(scene);
    }
    bool Load() { return water.LoadWaveEffectIfAny("Pond", "background.bmp"); }
    void WriteFrameFile(const std::string& name, const std::string& text) {
        test.Write("Frames/" + name, text);
        test.files.Forget();
    }
    WaterPictures Pictures() {
        WaterPictures pictures;
        pictures.size = [this](const std::string& path) -> std::optional<platform::Point> {
            if (path.ends_with(".rwm")) return maskSize;
            return platform::Point{64, 48};
        };
        pictures.copy = [this](platform::Canvas& into, const std::string& path, const platform::Rect& area) {
            copied.push_back(path);
            for (int y = 0; y < into.height(); ++y) {
                for (int x = 0; x < into.width(); ++x) {
                    const int fx = area.x + x, fy = area.y + y;
                    // The mask's right half is white (water); the background has stripes.
                    into.data()[y * into.width() + x] =
                        path.ends_with(".rwm") ? (x >= into.width() / 2 ? 0xFFFFFFFF : 0xFF000000)
                                               : 0xFF000000u | uint32_t((fx * 16) & 0xFF) | uint32_t(fy << 8);
                }
            }
            into.Painted();
        };
        return pictures;
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::PictureBox scene{"PictureBox"};
    std::optional<platform::Point> maskSize = platform::Point{32, 16};
    std::vector<std::string> copied;
    RipplingWater water{*test.project, test.flags, timers, Pictures()};
};

TEST_F(RipplingWaterFixture, AFrameNeedsBothFilesForWater) {
    WriteFrameFile("Pond.rwe", RweText(8, 24, 32, 16, 3, 5, true));
    EXPECT_FALSE(Load());
    EXPECT_FALSE(water.RipplingWaterActive());
    EXPECT_FALSE(water.picture().visible());
    EXPECT_TRUE(test.dialogs.shown().empty()) << "a frame without water is no error";
}

TEST_F(RipplingWaterFixture, LoadedWaterShowsOverItsAreaAndRipplesOnlyUnderTheMask) {
    WriteFrameFile("Pond.rwe", RweText(8, 24, 32, 16, 3, 5, std::nullopt));
    WriteFrameFile("Pond.rwm", "mask");
    ASSERT_TRUE(Load());
    EXPECT_FALSE(water.settings().WaveDirection);
    EXPECT_TRUE(water.picture().visible());
    EXPECT_EQ(water.picture().bounds(), (platform::Rect{8, 24, 32, 16}));
    water.StartRipplingWater();
    const platform::Canvas& canvas = water.picture().canvas();
    std::vector<uint32_t> before(canvas.view().pixels, canvas.view().pixels + 32 * 16);
    clock.SleepMs(60);
    timers.FireDue();
    int changed = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool differs = canvas.PixelAt(x, y) != before[y * 32 + x];
            if (x < 16) {
                ASSERT_FALSE(differs) << "outside the mask at " << x << "," << y;
            }
            changed += differs;
        }
    }
    EXPECT_GT(changed, 0) << "60 ms later the water has moved";
}

TEST_F(RipplingWaterFixture, DamagedWaterIsReportedAndStaysOff) {
    WriteFrameFile("Pond.rwm", "mask");
    for (const std::string& rwe :
         {RweText(0, 0, 30000, 30000, 3, 5, true), RweText(-4, 0, 10, 10, 3, 5, true),
          RweText(60, 0, 32, 16, 3, 5, true), std::string("\"cut\"\r\n")}) {
        WriteFrameFile("Pond.rwe", rwe);
        EXPECT_FALSE(Load());
        EXPECT_FALSE(water.RipplingWaterActive());
        EXPECT_FALSE(water.picture().visible());
    }
    WriteFrameFile("Pond.rwe", RweText(8, 24, 32, 16, 3, 5, true));
    maskSize = platform::Point{31, 16};
    EXPECT_FALSE(Load()) << "a mask of the wrong size";
    maskSize = std::nullopt;
    EXPECT_FALSE(Load()) << "a mask that cannot be read";
    ASSERT_EQ(test.dialogs.shown().size(), 6u);
    for (const auto& shown : test.dialogs.shown())
        EXPECT_NE(shown.request.text.find(" Error initializing the Rippling Water effect. "),
                  std::string::npos);
}

TEST_F(RipplingWaterFixture, SwitchingEffectsOffHidesTheWaterAndOnBringsItBack) {
    WriteFrameFile("Pond.rwe", RweText(8, 24, 32, 16, 3, 5, true));
    WriteFrameFile("Pond.rwm", "mask");
    ASSERT_TRUE(Load());
    water.StartRipplingWater();
    water.EffectsSwitched(false, "Pond", "background.bmp");
    EXPECT_FALSE(water.picture().visible());
    EXPECT_FALSE(water.running());
    const uint64_t revision = water.picture().canvas().revision();
    clock.SleepMs(90);
    timers.FireDue();
    EXPECT_EQ(water.picture().canvas().revision(), revision) << "no step draws while effects are off";
    water.EffectsSwitched(true, "Pond", "background.bmp");
    EXPECT_TRUE(water.picture().visible());
    EXPECT_TRUE(water.running());
    water.StopRipplingWater();
    water.EffectsSwitched(true, "Pond", "");
    EXPECT_FALSE(water.RipplingWaterActive()) << "a background that cannot have water (tiled) gets none";
}

}  // namespace
}  // namespace taviro::effects
