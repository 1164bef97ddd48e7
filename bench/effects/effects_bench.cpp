// Targets: one alphablending step and one slide step of a 1024x768 transition composed with the
// software renderer, without presenting, in at most 2 ms each; one rippling-water step of a 640x200
// area in at most 1 ms.
#include <benchmark/benchmark.h>

#include <random>

#include "effects/transition_picture.h"
#include "effects/water_picture.h"
#include "platform/files/file_system.h"
#include "platform/pictures/picture_cache.h"
#include "platform/sdl/display.h"
#include "platform/sdl/scene_renderer.h"

namespace {

using namespace taviro;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

platform::Canvas Noise(int width, int height, uint32_t seed) {
    platform::Canvas image(width, height);
    std::mt19937 random(seed);
    for (int i = 0; i < width * height; ++i) image.data()[i] = random() | 0xFF000000u;
    image.Painted();
    return image;
}

// The game window's scene with the stage over the frame, drawn by the software renderer into the
// window's picture, which is not presented.
struct StageScene {
    platform::FileSystem files;
    platform::PictureCache pictures{files};
    platform::VirtualClock clock;
    platform::Display display{
        platform::DisplaySettings{.clientWidth = kWidth, .clientHeight = kHeight, .headless = true}};
    platform::SceneRenderer renderer{display.renderer(), pictures, clock};
    platform::Form form{"Game", kWidth, kHeight};
    platform::PictureBox* stage;
    platform::Canvas oldImage = Noise(kWidth, kHeight, 1);
    platform::Canvas newImage = Noise(kWidth, kHeight, 2);

    StageScene() {
        auto& scene = static_cast<platform::PictureBox&>(
            form.Add(std::make_unique<platform::PictureBox>("PictureBox")));
        scene.SetBounds({0, 0, kWidth, kHeight});
        stage =
            static_cast<platform::PictureBox*>(&form.Add(std::make_unique<platform::PictureBox>("picWhere")));
        stage->SetBounds({0, 0, kWidth, kHeight});
    }
    void Step(int kind, double progress) {
        effects::ComposeTransitionStep(kind, progress, oldImage.view(), newImage.view(), stage->canvas());
        renderer.Draw(form);
    }
};

void Run(benchmark::State& state, int kind, bool draw) {
    StageScene scene;
    double progress = 0;
    for (auto _ : state) {
        progress = progress >= 0.99 ? 0.01 : progress + 0.013;
        if (draw) {
            scene.Step(kind, progress);
        } else {
            effects::ComposeTransitionStep(kind, progress, scene.oldImage.view(), scene.newImage.view(),
                                           scene.stage->canvas());
        }
        benchmark::DoNotOptimize(scene.stage->canvas().revision());
    }
}

void BM_AlphablendingStep1024x768(benchmark::State& state) { Run(state, effects::kAlphablending, true); }
void BM_SlideStep1024x768(benchmark::State& state) { Run(state, effects::kSlideLeft, true); }
void BM_AlphablendingComposeOnly1024x768(benchmark::State& state) {
    Run(state, effects::kAlphablending, false);
}
void BM_SlideComposeOnly1024x768(benchmark::State& state) { Run(state, effects::kSlideUp, false); }

void BM_WaterStep640x200(benchmark::State& state) {
    platform::Canvas original = Noise(640, 200, 3), water(640, 200);
    std::vector<uint8_t> mask(640 * 200);
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = (i % 640) > 100 ? 1 : 0;
    int64_t clockMs = 0;
    for (auto _ : state) {
        clockMs += 30;
        effects::DrawWaterStep(original.view(), mask, 6, effects::WavePhase(clockMs, 5, true), water);
        benchmark::DoNotOptimize(water.revision());
    }
}

BENCHMARK(BM_AlphablendingStep1024x768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlideStep1024x768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlphablendingComposeOnly1024x768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlideComposeOnly1024x768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaterStep640x200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
