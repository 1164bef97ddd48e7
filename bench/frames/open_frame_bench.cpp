// Targets: OpenFrame of a frame with a 1024x768 JPEG background, 30 hotspots with pictures and 20
// texts, from the call to the frame drawn: at most 10 ms median with pictures not yet decoded, 2 ms
// when they are. Also the time from a click on a hotspot to the next frame drawn.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_game.h"
#include "platform/memory/memory_reuse.h"

namespace {

using namespace taviro;

// Two frames, "Big" and "Other", each with the full set of hotspots and texts; odd hotspots go to
// Other, even ones to Big.
struct TwoFrames : bench::BenchGame {
    TwoFrames() : BenchGame("taviro-open-frame-bench", "Big") {
        auto destination = [](int hotspot) { return hotspot % 2 ? "Other" : "Big"; };
        WriteFrame("Big", "big.jpg", 1, destination, "Text number ");
        WriteFrame("Other", "big.jpg", 1, destination, "Text number ");
    }
};

bench::BenchGame& Game() {
    static TwoFrames game;
    return game;
}

using Player = bench::BenchPlayer;

void OpenFrameWithPicturesNotYetDecoded(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto player = std::make_unique<Player>(Game());
        state.ResumeTiming();
        player->Open("Big");
        state.PauseTiming();
        player.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFrameWithPicturesNotYetDecoded)->Unit(benchmark::kMillisecond)->Iterations(20);

void OpenFrameWithPicturesDecoded(benchmark::State& state) {
    Player player(Game());
    player.Open("Big");
    bool other = true;
    for (auto _ : state) {
        player.Open(other ? "Other" : "Big");
        other = !other;
    }
}
BENCHMARK(OpenFrameWithPicturesDecoded)->Unit(benchmark::kMillisecond);

// The same without drawing, to tell the loading from the composing of the screen.
void OpenFrameWithoutDrawing(benchmark::State& state) {
    Player player(Game());
    player.Open("Big");
    bool other = true;
    for (auto _ : state) {
        player.game->frames().OpenFrame(other ? "Other" : "Big", false, 0, 0);
        other = !other;
    }
}
BENCHMARK(OpenFrameWithoutDrawing)->Unit(benchmark::kMillisecond);

void ClickOnAHotspotToTheNextFrameDrawn(benchmark::State& state) {
    Player player(Game());
    player.Open("Big");
    // Hotspot 1 of each frame goes to Other, which is thus opened again and again.
    for (auto _ : state) player.ClickTheFirstHotspot();
}
BENCHMARK(ClickOnAHotspotToTheNextFrameDrawn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // As the player does at start-up.
    platform::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
