// The three figures of the sound: the share of one core that mixing seven MP3/OGG streams and a
// MIDI tune takes, the time from a file name set to its first sample handed to the device, and the
// memory a sixty-minute MP3 takes while it plays. The sound files are made with the ffmpeg program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/media/audio_engine.h"
#include "platform/media/sound_player.h"

namespace {

using namespace taviro::platform;
using namespace taviro::platform::media;
namespace fs = std::filesystem;

fs::path Folder() {
    static fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / "taviro-media-bench";
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// A file made once by ffmpeg from its lavfi sources; kept between runs.
std::string Made(const std::string& name, const std::string& arguments) {
    fs::path path = Folder() / name;
    if (!fs::exists(path)) {
        std::string command = "ffmpeg -loglevel error -y " + arguments + " '" + path.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command);
    }
    return path.string();
}

std::string BigEndian(uint32_t value, int bytes) {
    std::string text;
    for (int i = bytes - 1; i >= 0; --i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
    return text;
}

std::string VariableLength(uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) bytes.insert(bytes.begin(), static_cast<char>((value & 0x7F) | 0x80));
    return bytes;
}

// A minute of MIDI on all 16 channels: every quarter of a second two notes start, on the next two
// channels in turn, and each is held for a second; with their release that keeps at most 32 voices
// of the General MIDI soundfont sounding (22 on average).
std::string BusyMidi() {
    fs::path path = Folder() / "busy16.mid";
    if (fs::exists(path)) return path.string();
    struct Event {
        uint32_t tick;
        std::string bytes;
    };
    std::vector<Event> events;
    for (int channel = 0; channel < 16; ++channel)
        events.push_back({0, {static_cast<char>(0xC0 | channel), static_cast<char>(channel * 5)}});
    constexpr uint32_t kStepTicks = 240;  // 480 ticks a beat at 120 beats a minute
    for (uint32_t step = 0; step < 240; ++step) {
        for (uint32_t k = 0; k < 2; ++k) {
            auto channel = static_cast<char>((step * 2 + k) % 16);
            auto note = static_cast<char>(48 + (step * 5 + k * 7) % 24);
            events.push_back({step * kStepTicks, {static_cast<char>(0x90 | channel), note, 90}});
            events.push_back({(step + 4) * kStepTicks - 1, {static_cast<char>(0x80 | channel), note, 0}});
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    std::string track;
    uint32_t last = 0;
    for (const Event& event : events) {
        track += VariableLength(event.tick - last) + event.bytes;
        last = event.tick;
    }
    track += std::string("\0\xFF\x2F\0", 4);
    std::ofstream(path, std::ios::binary)
        << "MThd" << BigEndian(6, 4) << BigEndian(0, 2) << BigEndian(1, 2) << BigEndian(480, 2) << "MTrk"
        << BigEndian(static_cast<uint32_t>(track.size()), 4) << track;
    return path.string();
}

// Seven streams (four MP3, three OGG, each a minute long) and the busy MIDI tune, mixed for 60 s of
// sound in device-sized pieces. Reported: the share of one core, in percent. The argument picks the
// voices: 0 all eight, 1 the seven streams alone, 2 the MIDI tune alone.
void MixSevenStreamsAndAMidiTune(benchmark::State& state) {
    std::vector<std::string> files;
    for (int i = 0; i < 7; ++i) {
        std::string extension = i < 4 ? ".mp3" : ".ogg";
        std::string codec = i < 4 ? "-c:a libmp3lame -b:a 128k" : "-c:a libvorbis -q:a 4";
        files.push_back(Made("stream" + std::to_string(i) + extension,
                             "-f lavfi -i sine=frequency=" + std::to_string(220 + 110 * i) +
                                 ":sample_rate=44100:duration=61 -ac 2 " + codec));
    }
    std::string tune = BusyMidi();
    VirtualClock clock;
    constexpr int kPieceFrames = 512;
    constexpr int kSeconds = 60;
    std::vector<float> out(kPieceFrames * kMixChannels);
    double cpuSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AudioEngine engine(clock, false);
        std::string error;
        for (int voice = 0; voice < 7 && state.range(0) != 2; ++voice)
            engine.mixer().Start(voice, engine.Open(files[static_cast<size_t>(voice)], error), false, -600,
                                 engine.NextTicket());
        if (state.range(0) != 1)
            engine.mixer().Start(7, engine.Open(tune, error), false, -600, engine.NextTicket());
        state.ResumeTiming();
        std::clock_t start = std::clock();
        for (int done = 0; done < kMixRate * kSeconds; done += kPieceFrames)
            engine.mixer().Render(out.data(), kPieceFrames);
        cpuSeconds += double(std::clock() - start) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["percent_of_one_core"] = 100 * cpuSeconds / double(state.iterations()) / kSeconds;
}
BENCHMARK(MixSevenStreamsAndAMidiTune)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// From FileName set to the first sample handed to the device's callback, on SDL's dummy device with
// a buffer of 512 frames. Reported: the median of 40 starts, in milliseconds.
void FirstSampleAfterFileName(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string file = Made("start.mp3", "-f lavfi -i sine=frequency=440:duration=5 -c:a libmp3lame");
    RealClock clock;
    AudioEngine engine(clock, true);
    if (!engine.hasDevice()) {
        state.SkipWithError("no audio device");
        return;
    }
    SoundPlayer player(engine, 1);
    std::vector<double> delaysMs;
    for (auto _ : state) {
        for (int start = 0; start < 40; ++start) {
            player.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(7 + start % 5));
            auto before = std::chrono::steady_clock::now();
            player.SetFileName(file);
            while (engine.mixer().FirstMixed(1) != engine.lastTicket()) std::this_thread::yield();
            delaysMs.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count());
        }
    }
    std::sort(delaysMs.begin(), delaysMs.end());
    state.counters["median_ms"] = delaysMs[delaysMs.size() / 2];
    state.counters["worst_ms"] = delaysMs.back();
}
BENCHMARK(FirstSampleAfterFileName)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The resident memory of the process, in bytes.
double ResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) * 1024;
    }
    return 0;
}

// A sixty-minute MP3 playing (half an hour of it rendered) against silence. Silence is the player
// after it has played a short sound once: FFmpeg's first use in a process pages in its code and
// builds its tables (reported apart as ffmpeg_first_use_megabytes). Reported: the growth of resident
// memory while the long MP3 plays, in megabytes, and how much of it came during the half hour.
// Run it alone (--benchmark_filter=Memory): after the other benchmarks the process has it all already.
void MemoryOfASixtyMinuteMp3(benchmark::State& state) {
    std::string file = Made("hour.mp3",
                            "-f lavfi -i sine=frequency=330:sample_rate=44100:duration=3600 -ac 2 "
                            "-c:a libmp3lame -b:a 128k");
    std::string shortFile = Made("start.mp3", "-f lavfi -i sine=frequency=440:duration=5 -c:a libmp3lame");
    VirtualClock clock;
    for (auto _ : state) {
        AudioEngine engine(clock, false);
        SoundPlayer player(engine, 1);
        double before = ResidentBytes();
        player.SetFileName(shortFile);
        clock.AdvanceTo(clock.NowMs() + 6000);
        engine.Pump();
        player.Stop();
        engine.Pump();
        double silence = ResidentBytes();
        player.SetFileName(file);
        clock.AdvanceTo(clock.NowMs() + 1000);
        engine.Pump();
        double oneSecond = ResidentBytes();
        clock.AdvanceTo(clock.NowMs() + 1800000);
        engine.Pump();
        state.counters["ffmpeg_first_use_megabytes"] = (silence - before) / 1e6;
        state.counters["extra_megabytes"] = (ResidentBytes() - silence) / 1e6;
        state.counters["growth_over_half_an_hour_megabytes"] = (ResidentBytes() - oneSecond) / 1e6;
        if (player.PlayState() != SoundPlayer::kPlaying) state.SkipWithError("the MP3 did not play");
    }
}
BENCHMARK(MemoryOfASixtyMinuteMp3)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
