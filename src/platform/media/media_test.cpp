#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/log.h"
#include "platform/media/audio_engine.h"
#include "platform/media/decoded_file.h"
#include "platform/media/midi_file.h"
#include "platform/media/sound_player.h"
#include "support/sound_files.h"
#include "support/test_project.h"

namespace taviro::platform::media {
namespace {

using std::string;
using testing::OneNoteMidi;
using testing::RiffMidi;
using testing::ToneWav;

// What a source gives until its end: its length in frames and the loudness of its samples.
struct Measure {
    int64_t frames = 0;
    double rms = 0;
    double seconds() const { return static_cast<double>(frames) / kMixRate; }
};

Measure ReadToEnd(AudioSource& source, int64_t limitFrames = int64_t{kMixRate} * 60) {
    std::vector<float> buffer(1000 * kMixChannels);
    Measure measure;
    double sum = 0;
    while (measure.frames < limitFrames) {
        int read = source.Read(buffer.data(), 1000);
        for (int i = 0; i < read * kMixChannels; ++i) sum += double(buffer[i]) * buffer[i];
        measure.frames += read;
        if (read < 1000) break;
    }
    if (measure.frames > 0) measure.rms = std::sqrt(sum / double(measure.frames * kMixChannels));
    return measure;
}

struct SoundFiles : ::testing::Test {
    // Encodes a second of a 440 Hz tone with the ffmpeg program.
    string Encode(const string& name, const string& codecOptions) {
        string path = (folder.path() / name).string();
        string command =
            "ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=22050:duration=1 " +
            codecOptions + " '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }
    string WriteBytes(const string& name, const string& bytes) { return folder.Write(name, bytes).string(); }

    testing::TemporaryFolder folder;
};

TEST_F(SoundFiles, EveryFormatDecodesToItsLengthAndIsHeard) {
    const std::pair<const char*, const char*> formats[] = {
        {"pcm.wav", "-c:a pcm_s16le"},   {"adpcm.wav", "-c:a adpcm_ms"}, {"tone.mp3", "-c:a libmp3lame"},
        {"tone.wma", "-c:a wmav2"},      {"tone.ogg", "-c:a libvorbis"}, {"tone.mp2", "-c:a mp2"},
        {"tone.mpa", "-c:a mp2 -f mp2"}, {"tone.au", "-c:a pcm_s16be"},  {"tone.snd", "-c:a pcm_s16be -f au"},
        {"tone.aiff", "-c:a pcm_s16be"}};
    for (const auto& [name, options] : formats) {
        string error;
        auto source = OpenDecodedFile(Encode(name, options), error);
        ASSERT_TRUE(source) << name << ": " << error;
        Measure measure = ReadToEnd(*source);
        // Encoders pad a little (an MP3 frame is 26 ms); no format loses or adds more than that.
        EXPECT_NEAR(measure.seconds(), 1.0, 0.08) << name;
        // ffmpeg's tone is at an eighth of full scale: an RMS of 0.088, 0.0625 on each side in stereo.
        EXPECT_NEAR(measure.rms, 0.0625, 0.005) << name;
    }
}

TEST_F(SoundFiles, FilesAreKnownByTheirContentNotTheirName) {
    string error;
    auto misnamed = OpenDecodedFile(Encode("mp3-inside.wav", "-c:a libmp3lame -f mp3"), error);
    ASSERT_TRUE(misnamed) << error;
    EXPECT_NEAR(ReadToEnd(*misnamed).seconds(), 1.0, 0.08);

    EXPECT_FALSE(OpenDecodedFile(folder.Write("empty.wav", "").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(OpenDecodedFile(folder.Write("garbage.mp3", string(5000, '\x17')).string(), error));
    EXPECT_FALSE(OpenDecodedFile((folder.path() / "missing.ogg").string(), error));

    // A file cut in the middle plays what is there.
    string whole = ToneWav(1.0);
    auto truncated =
        OpenDecodedFile(folder.Write("cut.wav", whole.substr(0, whole.size() / 2)).string(), error);
    ASSERT_TRUE(truncated) << error;
    EXPECT_NEAR(ReadToEnd(*truncated).seconds(), 0.5, 0.02);
}

TEST_F(SoundFiles, AFilePaddedWithHundredsOfMegabytesOfZerosPlaysItsSoundAndEnds) {
    // FFmpeg reads the zeros after a WAV's sound as millions of empty chunks, for many seconds at each
    // open and at the end of the sound; each of its steps has a time limit, so the file plays its
    // half second and ends.
    string path = WriteBytes("padded.wav", ToneWav(0.5));
    std::filesystem::resize_file(path, std::uintmax_t{400} << 20);  // sparse: costs no disk
    string error;
    auto source = OpenDecodedFile(path, error);
    ASSERT_TRUE(source) << error;
    EXPECT_NEAR(ReadToEnd(*source).seconds(), 0.5, 0.02);
}

TEST_F(SoundFiles, DecodedSoundsStartAgainFromTheBeginning) {
    const std::pair<const char*, const char*> formats[] = {
        {"again.ogg", "-c:a libvorbis"}, {"again.mp3", "-c:a libmp3lame"}, {"again.wav", "-c:a pcm_s16le"}};
    for (const auto& [name, options] : formats) {
        string error;
        auto source = OpenDecodedFile(Encode(name, options), error);
        ASSERT_TRUE(source) << error;
        int64_t first = ReadToEnd(*source).frames;
        ASSERT_TRUE(source->Rewind()) << name;
        EXPECT_NEAR(double(ReadToEnd(*source).frames), double(first), kMixRate * 0.01) << name;
    }
}

TEST_F(SoundFiles, MidiTunesLastUntilTheirLastEventInEitherContainer) {
    SoundFontLibrary library;
    string error;
    auto tune = OpenMidiFile(WriteBytes("tune.mid", OneNoteMidi(1.5)), library, error);
    ASSERT_TRUE(tune) << error;
    Measure measure = ReadToEnd(*tune);
    EXPECT_NEAR(measure.seconds(), 1.5, 0.02);
    EXPECT_GT(measure.rms, 0.001);

    auto riff = OpenMidiFile(WriteBytes("tune.rmi", RiffMidi(OneNoteMidi(1.5))), library, error);
    ASSERT_TRUE(riff) << error;
    EXPECT_NEAR(ReadToEnd(*riff).seconds(), 1.5, 0.02);
    ASSERT_TRUE(riff->Rewind());
    EXPECT_NEAR(ReadToEnd(*riff).seconds(), 1.5, 0.02);

    EXPECT_FALSE(OpenMidiFile(folder.Write("text.mid", "hello").string(), library, error));
    EXPECT_TRUE(StandardMidiData(
                    {'R', 'I', 'F', 'F', 9, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a', 1, 0, 0, 0, 'x'})
                    .empty());
    EXPECT_TRUE(IsMidiFileName("/a/Tune.MID"));
    EXPECT_FALSE(IsMidiFileName("/a/tune.mp3"));
}

// A standard MIDI file of one track.
string MidiOfTrack(const string& track) {
    auto be = [](uint32_t value, int bytes) {
        string text;
        for (int i = bytes - 1; i >= 0; --i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
        return text;
    };
    return "MThd" + be(6, 4) + be(0, 2) + be(1, 2) + be(480, 2) + "MTrk" + be(uint32_t(track.size()), 4) +
           track;
}

TEST_F(SoundFiles, OddMidiTunesPlayTheirLengthWithoutHanging) {
    SoundFontLibrary library;
    string error;
    const string note = string("\x00\x90\x45\x64", 4) + "\x83\x60" + string("\x80\x45\x00", 3);  // 480 ticks
    const string end = string("\x00\xFF\x2F\x00", 4);
    // A beat of 16.7 seconds, then one of a millionth of a second.
    auto slow = OpenMidiFile(
        WriteBytes("slow.mid", MidiOfTrack(string("\x00\xFF\x51\x03\xFF\xFF\xFF", 7) + note + end)), library,
        error);
    ASSERT_TRUE(slow) << error;
    EXPECT_NEAR(ReadToEnd(*slow).seconds(), 16.777, 0.05);
    auto fast = OpenMidiFile(
        WriteBytes("fast.mid", MidiOfTrack(string("\x00\xFF\x51\x03\x00\x00\x01", 7) + note + end)), library,
        error);
    ASSERT_TRUE(fast) << error;
    EXPECT_LT(ReadToEnd(*fast).seconds(), 0.01);
    // A million events at the same moment.
    string crowd;
    for (int i = 0; i < 500000; ++i) crowd += string("\x00\x90\x45\x64\x00\x80\x45\x00", 8);
    auto crowded = OpenMidiFile(WriteBytes("crowd.mid", MidiOfTrack(crowd + end)), library, error);
    ASSERT_TRUE(crowded) << error;
    EXPECT_LT(ReadToEnd(*crowded).seconds(), 0.01);
    string cut = MidiOfTrack(note + note + end);
    // A track cut short plays what is there, or is refused.
    if (auto truncated = OpenMidiFile(WriteBytes("cut.mid", cut.substr(0, cut.size() - 6)), library, error)) {
        EXPECT_LE(ReadToEnd(*truncated).seconds(), 1.0);
    }
}

TEST_F(SoundFiles, WithoutASoundDeviceSoundsStillEndOnTheClock) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    VirtualClock clock;
    AudioEngine engine(clock, true);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(engine.hasDevice());
    SoundPlayer player(engine, 4);
    player.SetFileName(folder.Write("tone.wav", ToneWav(1.0)).string());
    clock.AdvanceTo(900);
    EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying);
    clock.AdvanceTo(1100);
    EXPECT_EQ(player.PlayState(), SoundPlayer::kStopped);
}

TEST_F(SoundFiles, SoundsAwaitingTheDeviceWaitUnplayedAndThenGoOnFromTheirStart) {
    VirtualClock clock;
    AudioEngine engine(clock, false);
    engine.AwaitDevice();
    SoundPlayer player(engine, 4);
    player.SetFileName(folder.Write("tone.wav", ToneWav(1.0)).string());
    clock.AdvanceTo(2000);
    EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying);
    EXPECT_EQ(player.CurrentPosition(), 0);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    engine.OpenDevice();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(engine.hasDevice());
    // No device after all: the whole second plays on the clock from the moment it was asked for.
    clock.AdvanceTo(2900);
    EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying);
    clock.AdvanceTo(3100);
    EXPECT_EQ(player.PlayState(), SoundPlayer::kStopped);
}

// SDL's disk driver writes the device's samples into a pipe that the test reads; closing the
// reading end takes the device away while a sound plays.
TEST_F(SoundFiles, ADeviceThatGoesAwayLeavesTheSoundsOnTheClockAndOneLogLine) {
    string pipe = (folder.path() / "device").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    // Writing into the closed pipe must fail, not end the process.
    auto previousPipeHandler = std::signal(SIGPIPE, SIG_IGN);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", pipe.c_str(), 1);
    string logPath = (folder.path() / "log.txt").string();
    ASSERT_TRUE(log::Configure(logPath.c_str(), false));
    auto waitUntil = [](auto condition) {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    };
    {
        VirtualClock clock;
        AudioEngine engine(clock, true);
        ASSERT_TRUE(engine.hasDevice());
        SoundPlayer player(engine, 1);
        player.SetFileName(folder.Write("tone.wav", ToneWav(3.0)).string());

        // The tone reaches the device.
        bool heard = waitUntil([&] {
            char bytes[4096];
            ssize_t read = ::read(reader, bytes, sizeof bytes);
            return read > 0 && std::any_of(bytes, bytes + read, [](char byte) { return byte != 0; });
        });
        EXPECT_TRUE(heard);

        // The device goes; the next look at the player finds out.
        close(reader);
        EXPECT_TRUE(waitUntil([&] {
            player.PlayState();
            return !engine.hasDevice();
        }));
        // The rest of the tone, under three seconds of it, plays silently on the game clock.
        clock.AdvanceTo(clock.NowMs() + 300);
        EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying);
        clock.AdvanceTo(clock.NowMs() + 3000);
        EXPECT_EQ(player.PlayState(), SoundPlayer::kStopped);
        player.SetFileName((folder.path() / "tone.wav").string());
        EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying);
    }
    log::Configure(nullptr, false);
    std::signal(SIGPIPE, previousPipeHandler);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    std::ifstream logFile(logPath);
    int lines = 0, gone = 0;
    for (string line; std::getline(logFile, line); ++lines)
        gone += line.find("sound device has gone") != string::npos;
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(lines, 1);
}

TEST_F(SoundFiles, MidiTunesKeepTheirLengthWithoutASoundFont) {
    SoundFontLibrary missing((folder.path() / "none.sf2").string());
    string error;
    auto tune = OpenMidiFile(WriteBytes("tune.mid", OneNoteMidi(0.5)), missing, error);
    ASSERT_TRUE(tune) << error;
    Measure measure = ReadToEnd(*tune);
    EXPECT_NEAR(measure.seconds(), 0.5, 0.02);
    EXPECT_LT(measure.rms, 1e-5);
}

// A source of a constant sample, for the mixer.
struct ConstantSource : AudioSource {
    ConstantSource(float sample, int frames) : value(sample), length(frames) {}
    int Read(float* out, int frames) override {
        int count = std::min(frames, length - position);
        std::fill_n(out, count * kMixChannels, value);
        position += count;
        return count;
    }
    bool Rewind() override {
        position = 0;
        return true;
    }
    float value;
    int length;
    int position = 0;
};

TEST(Mixer, VolumesAreDecibelsAndChangeWithoutAJump) {
    EXPECT_FLOAT_EQ(Mixer::GainOf(0), 1.0F);
    EXPECT_FLOAT_EQ(Mixer::GainOf(-4000), 0.01F);
    EXPECT_NEAR(Mixer::GainOf(-600), 0.501, 0.001);
    EXPECT_EQ(Mixer::GainOf(-10000), 0.0F);

    Mixer mixer;
    std::vector<float> out(2 * 1000);
    mixer.Start(3, std::make_unique<ConstantSource>(0.5F, 100000), false, -4000, 1);
    // A volume set before the first sample applies at once.
    mixer.SetVolume(3, -2000);
    mixer.Render(out.data(), 1000);
    EXPECT_FLOAT_EQ(out[0], 0.05F);
    // Later changes ramp: the next buffer starts near the old level and ends at the new one.
    mixer.SetVolume(3, 0);
    mixer.Render(out.data(), 1000);
    EXPECT_LT(out[0], 0.06F);
    EXPECT_FLOAT_EQ(out[1998], 0.5F);
    for (int frame = 1; frame < 1000; ++frame)
        EXPECT_LE(out[2 * frame] - out[2 * frame - 2], 0.5F / Mixer::kRampFrames + 1e-6F);

    // Muted and paused: silence; paused keeps the place.
    mixer.SetMuted(true);
    mixer.Render(out.data(), 10);
    EXPECT_EQ(out[0], 0.0F);
    mixer.SetMuted(false);
    mixer.SetPaused(true);
    mixer.Render(out.data(), 10);
    EXPECT_EQ(out[0], 0.0F);
    mixer.SetPaused(false);
    mixer.Render(out.data(), 10);
    EXPECT_FLOAT_EQ(out[0], 0.5F);
}

TEST(Mixer, StoppedOrReplacedSoundsFadeOutOverARamp) {
    Mixer mixer;
    std::vector<float> out(2 * 1000);
    mixer.Start(5, std::make_unique<ConstantSource>(0.5F, 100000), false, 0, 1);
    mixer.Render(out.data(), 1000);
    mixer.Stop(5);
    mixer.Render(out.data(), 1000);
    EXPECT_NEAR(out[0], 0.5F, 0.01F);
    for (int frame = 1; frame < 1000; ++frame) EXPECT_LE(out[2 * frame], out[2 * frame - 2]);
    EXPECT_EQ(out[2 * Mixer::kRampFrames + 2], 0.0F);
    // A new sound on the voice starts at once while the old one fades under it.
    mixer.Start(5, std::make_unique<ConstantSource>(0.25F, 100000), false, 0, 2);
    mixer.Render(out.data(), 10);
    EXPECT_FLOAT_EQ(out[0], 0.25F);
    mixer.Start(5, std::make_unique<ConstantSource>(0.125F, 100000), false, 0, 3);
    mixer.Render(out.data(), 1000);
    EXPECT_GT(out[0], 0.125F);
    EXPECT_FLOAT_EQ(out[2 * 999], 0.125F);
}

TEST(Mixer, SoundsEndOrRepeatAndVoicesAddUp) {
    Mixer mixer;
    std::vector<float> out(2 * 1000);
    mixer.Start(1, std::make_unique<ConstantSource>(0.25F, 300), false, 0, 7);
    mixer.Start(2, std::make_unique<ConstantSource>(0.125F, 300), true, 0, 8);
    mixer.Render(out.data(), 1000);
    EXPECT_FLOAT_EQ(out[0], 0.375F);
    EXPECT_FLOAT_EQ(out[2 * 299], 0.375F);
    EXPECT_FLOAT_EQ(out[2 * 300], 0.125F);
    EXPECT_FLOAT_EQ(out[2 * 999], 0.125F);
    EXPECT_EQ(mixer.Finished(1), 7u);
    EXPECT_EQ(mixer.Finished(2), 0u);
    // A repeating source of no length ends instead of spinning.
    mixer.Start(4, std::make_unique<ConstantSource>(0.5F, 0), true, 0, 9);
    mixer.Render(out.data(), 10);
    EXPECT_EQ(mixer.Finished(4), 9u);
}

TEST_F(SoundFiles, PlayersEndOnTheVirtualClockAfterTheirLength) {
    VirtualClock clock;
    AudioEngine engine(clock, false);
    string tone = folder.Write("tone.wav", ToneWav(1.0)).string();
    SoundPlayer once(engine, 1), looping(engine, 2);
    once.SetFileName(tone);
    looping.SetPlayCount(0);
    looping.SetFileName(tone);
    EXPECT_EQ(once.PlayState(), SoundPlayer::kPlaying);
    clock.AdvanceTo(900);
    EXPECT_EQ(once.PlayState(), SoundPlayer::kPlaying);
    clock.AdvanceTo(1100);
    EXPECT_EQ(once.PlayState(), SoundPlayer::kStopped);
    EXPECT_EQ(once.fileName(), tone);
    clock.AdvanceTo(5000);
    EXPECT_EQ(looping.PlayState(), SoundPlayer::kPlaying);
    // The looping sound is a second long: it has started again a quarter of a second ago.
    clock.AdvanceTo(5250);
    EXPECT_NEAR(looping.CurrentPosition(), 0.25, 0.01);
    EXPECT_EQ(once.CurrentPosition(), 0);
    looping.SetCurrentPosition(0);
    clock.AdvanceTo(5350);
    EXPECT_NEAR(looping.CurrentPosition(), 0.1, 0.01);
    // Play starts an ended sound again from its beginning.
    once.Play();
    clock.AdvanceTo(6250);
    EXPECT_EQ(once.PlayState(), SoundPlayer::kPlaying);
    clock.AdvanceTo(6450);
    EXPECT_EQ(once.PlayState(), SoundPlayer::kStopped);

    // A file that cannot be played leaves the player stopped with its name.
    SoundPlayer broken(engine, 3);
    string missing = (folder.path() / "missing.wav").string();
    broken.SetFileName(missing);
    EXPECT_EQ(broken.PlayState(), SoundPlayer::kStopped);
    EXPECT_EQ(broken.fileName(), missing);
    broken.Play();
    EXPECT_EQ(broken.PlayState(), SoundPlayer::kStopped);
}

TEST_F(SoundFiles, MidiPlayersLastTheirTuneWithOrWithoutASoundFont) {
    string tune = WriteBytes("Tune.MID", OneNoteMidi(2.0));
    for (string soundFont : {string(), (folder.path() / "none.sf2").string()}) {
        VirtualClock clock;
        AudioEngine engine(clock, false, soundFont);
        SoundPlayer player(engine, 6);
        player.SetFileName(tune);
        clock.AdvanceTo(1950);
        EXPECT_EQ(player.PlayState(), SoundPlayer::kPlaying) << soundFont;
        clock.AdvanceTo(2050);
        EXPECT_EQ(player.PlayState(), SoundPlayer::kStopped) << soundFont;
    }
}

}  // namespace
}  // namespace taviro::platform::media
