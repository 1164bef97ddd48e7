// The three figures of video: how much faster than real time one core decodes a 640x480 MPEG-4 AVI,
// the time from a decoded picture to the screen (painted into its picture box, uploaded and drawn),
// and what an 8-frame animated GIF at speed 50 costs per turn of the game loop (drawn with the scene,
// since the game thread does no work of its own for it). Files are made with the ffmpeg program.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/clock.h"
#include "platform/controls/form.h"
#include "platform/media/video_decoder.h"
#include "platform/pictures/picture_cache.h"
#include "platform/sdl/scene_renderer.h"

namespace {

using namespace taviro::platform;
using namespace taviro::platform::media;
namespace fs = std::filesystem;

// A file made once by ffmpeg from its lavfi sources; kept between runs.
std::string Made(const std::string& name, const std::string& arguments) {
    fs::path folder = fs::temp_directory_path() / "taviro-video-bench";
    fs::create_directories(folder);
    fs::path path = folder / name;
    if (!fs::exists(path)) {
        std::string command = "ffmpeg -loglevel error -y " + arguments + " '" + path.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command);
    }
    return path.string();
}

// Ten seconds of a moving test picture at 640x480, 25 pictures a second.
void DecodeMpeg4Avi(benchmark::State& state) {
    std::string path =
        Made("640x480.avi", "-f lavfi -i testsrc2=size=640x480:rate=25:duration=10 -c:v mpeg4 -q:v 4");
    double videoSeconds = 0, wallSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        std::string error;
        auto decoder = VideoDecoder::Open(path, error);
        if (!decoder) throw std::runtime_error(error);
        decoder->Start(0, 0);
        int64_t position = 0;
        while (!decoder->endMs() || position < *decoder->endMs()) {
            auto picture = decoder->TakePictureAt(position, true);
            benchmark::DoNotOptimize(picture);
            position += 40;
        }
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        videoSeconds += static_cast<double>(*decoder->endMs()) / 1000;
    }
    state.counters["times_real_time"] = videoSeconds / wallSeconds;
}
BENCHMARK(DecodeMpeg4Avi)->Unit(benchmark::kMillisecond)->Iterations(3);

// A window with a software renderer, as in headless play.
struct Screen {
    Screen() {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_Init(SDL_INIT_VIDEO);
        window = SDL_CreateWindow("bench", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    ~Screen() {
        SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
    }
    SDL_Window* window;
    SDL_Renderer* renderer;
    VirtualClock clock;
};

// One decoded 640x480 picture a turn: painted into the video's picture box, then the scene drawn.
void PictureToScreen(benchmark::State& state) {
    Screen screen;
    FileSystem files;
    PictureCache pictures(files);
    SceneRenderer renderer(screen.renderer, pictures, screen.clock);
    Form form("game", 640, 480);
    auto& box = static_cast<PictureBox&>(form.Add(std::make_unique<PictureBox>("OneTimeVideoPlayer")));
    box.SetBounds({0, 0, 640, 480});
    VideoPicture picture{0, 640, 480, std::vector<uint32_t>(640 * 480)};
    uint32_t colour = 0;
    for (auto _ : state) {
        for (auto& pixel : picture.pixels) pixel = 0xFF000000 | ++colour;
        PixelView view{picture.pixels.data(), 640, 480, 640};
        box.canvas().Copy(view, {0, 0, 640, 480}, 0, 0);
        renderer.Draw(form);
        SDL_RenderPresent(screen.renderer);
    }
}
BENCHMARK(PictureToScreen)->Unit(benchmark::kMillisecond);

// An 8-frame animated GIF at speed 50 over a frame: one display frame of the scene per turn, with and
// without the animation, so that the difference is its cost.
void AnimatedGifTurn(benchmark::State& state) {
    std::string gif = Made("eight.gif", "-f lavfi -i testsrc=size=64x64:rate=10:duration=0.8");
    Screen screen;
    FileSystem files;
    PictureCache pictures(files);
    SceneRenderer renderer(screen.renderer, pictures, screen.clock);
    Form form("game", 640, 480);
    auto& image = static_cast<ImageControl&>(form.Add(std::make_unique<ImageControl>("AniGif", 1)));
    image.SetBounds({100, 100, 64, 64});
    image.picture = state.range(0) ? gif : "";
    for (auto _ : state) {
        screen.clock.SleepMs(10);
        renderer.Draw(form);
    }
}
BENCHMARK(AnimatedGifTurn)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
