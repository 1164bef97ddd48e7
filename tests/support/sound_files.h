// Small sound files made by the tests themselves: a WAV tone and MIDI tunes of a known length.
#pragma once

#include <string>

namespace taviro::testing {

// A 16-bit mono PCM WAV file of a 440 Hz tone.
std::string ToneWav(double seconds, int rate = 22050);
// A standard MIDI file: one note held for `seconds` at 120 beats a minute, then the end of the tune.
std::string OneNoteMidi(double seconds);
// The same tune inside a RIFF MIDI (.rmi) file, after an INFO list.
std::string RiffMidi(const std::string& midi);

}  // namespace taviro::testing
