// Byte layouts of WAV, standard MIDI and RIFF MIDI files.
#include "support/sound_files.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace taviro::testing {
namespace {

std::string LittleEndian(uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
    return text;
}

std::string BigEndian(uint32_t value, int bytes) {
    std::string text;
    for (int i = bytes - 1; i >= 0; --i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
    return text;
}

}  // namespace

std::string ToneWav(double seconds, int rate) {
    auto frames = static_cast<uint32_t>(seconds * rate);
    std::string data;
    for (uint32_t i = 0; i < frames; ++i) {
        auto sample = static_cast<int16_t>(12000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
        data += LittleEndian(static_cast<uint16_t>(sample), 2);
    }
    return "RIFF" + LittleEndian(36 + frames * 2, 4) + "WAVEfmt " + LittleEndian(16, 4) + LittleEndian(1, 2) +
           LittleEndian(1, 2) + LittleEndian(static_cast<uint32_t>(rate), 4) +
           LittleEndian(static_cast<uint32_t>(rate) * 2, 4) + LittleEndian(2, 2) + LittleEndian(16, 2) +
           "data" + LittleEndian(frames * 2, 4) + data;
}

std::string OneNoteMidi(double seconds) {
    // 480 ticks a beat at the default 120 beats a minute: 960 ticks a second.
    auto ticks = static_cast<uint32_t>(seconds * 960);
    std::string delta;
    for (uint32_t rest = ticks;; rest >>= 7) {
        delta.insert(delta.begin(), static_cast<char>((rest & 0x7F) | (delta.empty() ? 0 : 0x80)));
        if (rest < 0x80) break;
    }
    // Program 0 on channel 1, note A4 on, the note off after the delta, the end of the track.
    std::string track = std::string("\x00\xC0\x00\x00\x90\x45\x64", 7) + delta +
                        std::string("\x80\x45\x00\x00\xFF\x2F\x00", 7);
    return "MThd" + BigEndian(6, 4) + BigEndian(0, 2) + BigEndian(1, 2) + BigEndian(480, 2) + "MTrk" +
           BigEndian(static_cast<uint32_t>(track.size()), 4) + track;
}

std::string RiffMidi(const std::string& midi) {
    std::string chunks = "LIST" + LittleEndian(4, 4) + "INFO" + "data" +
                         LittleEndian(static_cast<uint32_t>(midi.size()), 4) + midi;
    if (midi.size() % 2 == 1) chunks += '\0';
    return "RIFF" + LittleEndian(static_cast<uint32_t>(4 + chunks.size()), 4) + "RMID" + chunks;
}

}  // namespace taviro::testing
