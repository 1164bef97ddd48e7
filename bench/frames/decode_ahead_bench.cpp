// Target: a click on a hotspot to the next frame drawn, one second after the previous frame opened,
// at most 2 ms with the next frame's pictures never loaded before (a 1024x768 JPEG background, 30
// hotspot pictures, 20 texts) but decoded ahead while the previous frame was shown. The same click
// without decoding ahead is measured beside it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "bench_game.h"
#include "checker/reachable_frames.h"
#include "platform/memory/memory_reuse.h"

namespace {

using namespace taviro;

constexpr int kFrames = 4;

std::string FrameName(int number) { return "Frame" + std::to_string(number % kFrames); }

// A ring of frames, each with pictures and texts of its own, whose every hotspot opens the next frame.
struct Ring : bench::BenchGame {
    Ring() : BenchGame("taviro-decode-ahead-bench", "Frame0") {
        for (int frame = 0; frame < kFrames; ++frame) {
            const std::string name = FrameName(frame);
            WriteFrame(
                name, name + ".jpg", 100 + static_cast<unsigned>(frame),
                [frame](int) { return FrameName(frame + 1); }, name + ", text number ");
        }
    }
};

bench::BenchGame& Game() {
    static Ring ring;
    return ring;
}

// A player showing the ring headless; with decodeAhead it prepares the frames ahead as the program
// does.
struct Player : bench::BenchPlayer {
    explicit Player(bool decodeAhead) : BenchPlayer(Game()) {
        if (decodeAhead) {
            game->frames().frameShown = [this](const std::string& frame) {
                screen->AtNextIdle([this, frame] {
                    checker::ShownAhead ahead = checker::ReachableContent(project, frame);
                    screen->PrepareAhead(std::move(ahead.pictureFiles), std::move(ahead.texts));
                });
            };
        }
        Open("Frame0");
    }

    // One second after the frame opened, turning the event loop as a real-time wait does; the
    // pictures decoded so far are dropped, so the next frame's are cold unless decoded ahead.
    void WaitOneSecondAfter(std::chrono::steady_clock::time_point opened) {
        screen->pictures().Trim();
        const auto end = opened + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < end) {
            screen->loop().DoEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

void ClickToTheNextFrameDrawn(benchmark::State& state, bool decodeAhead) {
    Player player(decodeAhead);
    auto opened = std::chrono::steady_clock::now();
    size_t decodedBefore = 0;
    size_t adoptedBefore = 0;
    for (auto _ : state) {
        state.PauseTiming();
        player.WaitOneSecondAfter(opened);
        decodedBefore = player.screen->pictures().decodeCount();
        adoptedBefore = player.screen->pictures().decodedAheadCount();
        state.ResumeTiming();
        player.ClickTheFirstHotspot();
        state.PauseTiming();
        opened = std::chrono::steady_clock::now();
        state.counters["decoded on click"] =
            static_cast<double>(player.screen->pictures().decodeCount() - decodedBefore);
        state.counters["decoded ahead, taken on click"] =
            static_cast<double>(player.screen->pictures().decodedAheadCount() - adoptedBefore);
        state.ResumeTiming();
    }
}

void ClickToAFrameDecodedAhead(benchmark::State& state) { ClickToTheNextFrameDrawn(state, true); }
void ClickToAFrameNotDecodedAhead(benchmark::State& state) { ClickToTheNextFrameDrawn(state, false); }

BENCHMARK(ClickToAFrameDecodedAhead)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(ClickToAFrameNotDecodedAhead)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // As the player does at start-up.
    platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
