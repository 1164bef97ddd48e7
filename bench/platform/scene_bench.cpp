// Targets: composing a 1024x768 scene of 50 controls plus one full-frame alpha-blended layer with the
// software renderer in at most 4 ms; a second load of a 1024x768 JPEG at least 20 times faster than the
// first; at most 150 MB at peak while showing a 1024x768 scene of 50 pictures.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/memory/memory_reuse.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/display.h"
#include "platform/sdl/scene_renderer.h"

namespace {

using namespace taviro::platform;

// A folder of pictures written once for all benchmarks.
struct PictureFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "taviro-platform-bench";
    PictureFolder() { std::filesystem::create_directories(path); }
    ~PictureFolder() { std::filesystem::remove_all(path); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
    // A picture of noise, so that JPEG has real work to do.
    static std::shared_ptr<SDL_Surface> Noise(int width, int height, uint32_t alphaMask, unsigned seed) {
        auto surface = test_pictures::Filled(width, height, 0);
        std::mt19937 random(seed);
        for (int y = 0; y < height; ++y) {
            auto* row =
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
            for (int x = 0; x < width; ++x) row[x] = (random() & 0x00FFFFFF) | alphaMask;
        }
        return surface;
    }
};

PictureFolder& Folder() {
    static PictureFolder folder;
    return folder;
}

struct Scene {
    FileSystem files;
    PictureCache pictures{files};
    VirtualClock clock;
    Display display{DisplaySettings{.clientWidth = 1024, .clientHeight = 768, .headless = true}};
    SceneRenderer renderer{display.renderer(), pictures, clock};
    Form form{"Main", 1024, 768};

    // 50 controls of `pictureSize` pixels, each with its own picture, then a half-transparent full-frame
    // layer.
    explicit Scene(int pictureSize) {
        form.picture = Folder().Write(
            "background.png", test_pictures::PngBytes(PictureFolder::Noise(1024, 768, 0xFF000000, 1).get()));
        for (int i = 0; i < 50; ++i) {
            std::string name = "sprite" + std::to_string(pictureSize) + "_" + std::to_string(i) + ".png";
            auto& image = static_cast<ImageControl&>(form.Add(std::make_unique<ImageControl>("img", i)));
            image.picture = Folder().Write(
                name, test_pictures::PngBytes(PictureFolder::Noise(pictureSize, pictureSize,
                                                                   i % 2 ? 0xFF000000 : 0xC0000000, 10 + i)
                                                  .get()));
            image.SetBounds({(i % 10) * 100, (i / 10) * 150, pictureSize, pictureSize});
        }
        auto& layer = static_cast<ImageControl&>(form.Add(std::make_unique<ImageControl>("layer")));
        layer.picture = Folder().Write(
            "layer.png", test_pictures::PngBytes(test_pictures::Filled(1024, 768, 0x80FFFF00).get()));
        layer.SetBounds({0, 0, 1024, 768});
    }
};

void ComposeSceneOfFiftyControlsAndAFullFrameAlphaLayer(benchmark::State& state) {
    Scene scene(96);
    scene.renderer.Draw(scene.form);  // pictures decoded and textures made before timing
    for (auto _ : state) {
        scene.renderer.Draw(scene.form);
        benchmark::DoNotOptimize(scene.display.target()->pixels);
    }
    state.counters["target_ms"] = 4;
}
BENCHMARK(ComposeSceneOfFiftyControlsAndAFullFrameAlphaLayer)->Unit(benchmark::kMillisecond);

std::string JpegPath() {
    static std::string path = Folder().Write(
        "photo.jpg", test_pictures::JpegBytes(PictureFolder::Noise(1024, 768, 0xFF000000, 7).get()));
    return path;
}

void FirstLoadOfA1024x768Jpeg(benchmark::State& state) {
    FileSystem files;
    for (auto _ : state) {
        PictureCache cache(files);
        benchmark::DoNotOptimize(cache.Load(JpegPath()));
    }
}
BENCHMARK(FirstLoadOfA1024x768Jpeg)->Unit(benchmark::kMicrosecond);

void SecondLoadOfA1024x768Jpeg(benchmark::State& state) {
    FileSystem files;
    PictureCache cache(files);
    cache.Load(JpegPath());
    for (auto _ : state) benchmark::DoNotOptimize(cache.Load(JpegPath()));
    state.counters["decodes"] = static_cast<double>(cache.decodeCount());
}
BENCHMARK(SecondLoadOfA1024x768Jpeg)->Unit(benchmark::kMicrosecond);

void PeakMemoryShowingA1024x768SceneOfFiftyPictures(benchmark::State& state) {
    for (auto _ : state) {
        Scene scene(256);
        scene.renderer.Draw(scene.form);
        benchmark::DoNotOptimize(scene.display.target()->pixels);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux reports kilobytes
    state.counters["target_MB"] = 150;
}
BENCHMARK(PeakMemoryShowingA1024x768SceneOfFiftyPictures)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    // As the player does at start-up.
    taviro::platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
