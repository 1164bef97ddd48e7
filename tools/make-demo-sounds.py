#!/usr/bin/env python3
"""Makes the sounds of the demo game (examples/demo): the music of the hall and of the garden (OGG,
encoded by the ffmpeg program), the library's MIDI tune, and two sound effects (WAV). Everything is
synthesized here from sine waves and noise; run it again after changing a sound."""
import math
import os
import random
import struct
import subprocess
import tempfile
import wave

DEMO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")
RATE = 22050


def note_frequency(midi_note):
    return 440.0 * 2 ** ((midi_note - 69) / 12)


def tone(samples, start, seconds, frequency, volume):
    """Adds a plucked tone: a sine with its octave, fading out."""
    first = int(start * RATE)
    for i in range(int(seconds * RATE)):
        if first + i >= len(samples):
            break
        t = i / RATE
        envelope = min(1.0, t * 200) * math.exp(-3.0 * t / seconds)
        samples[first + i] += volume * envelope * (math.sin(2 * math.pi * frequency * t)
                                                    + 0.3 * math.sin(4 * math.pi * frequency * t))


def write_wav(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.8 * 32767 / peak
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(s * scale)) for s in samples))


def write_ogg(path, samples):
    with tempfile.TemporaryDirectory() as folder:
        wav = os.path.join(folder, "music.wav")
        write_wav(wav, samples)
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-i", wav, "-c:a", "libvorbis", "-q:a", "2", path],
                       check=True)


def music(notes, beat_seconds, bass):
    """A tune of (beat, midi note, beats) over a bass note each bar of four beats; it loops cleanly."""
    length = max(beat + beats for beat, _, beats in notes) * beat_seconds
    samples = [0.0] * int(length * RATE)
    for beat, note, beats in notes:
        tone(samples, beat * beat_seconds, beats * beat_seconds, note_frequency(note), 0.5)
    for bar, note in enumerate(bass):
        tone(samples, bar * 4 * beat_seconds, 4 * beat_seconds, note_frequency(note), 0.35)
    return samples


def hall_theme():
    """A slow arpeggio in A minor: eight bars of two seconds."""
    chords = [(57, 60, 64), (53, 57, 60), (48, 52, 55), (52, 56, 59)] * 2
    notes = []
    for bar, chord in enumerate(chords):
        for step in range(4):
            notes.append((bar * 4 + step, chord[step % 3] + 12, 1.5))
    return music(notes, 0.5, [chord[0] - 12 for chord in chords])


def garden_theme():
    """A light pentatonic tune in C major: four bars of two seconds."""
    melody = [72, 74, 76, 79, 81, 79, 76, 74, 72, 76, 79, 84, 81, 79, 76, 72]
    notes = [(step, note, 1.0) for step, note in enumerate(melody)]
    return music(notes, 0.5, [48, 53, 55, 48])


def creak():
    """A door creak: a wavering low tone over a little noise, 0.6 s."""
    random.seed(7)
    samples = []
    for i in range(int(0.6 * RATE)):
        t = i / RATE
        frequency = 180 + 60 * math.sin(2 * math.pi * 7 * t)
        envelope = min(1.0, t * 30) * (1 - t / 0.6)
        samples.append(envelope * (math.sin(2 * math.pi * frequency * t) ** 3 + 0.2 * random.uniform(-1, 1)))
    return samples


def rustle():
    """Dry leaves: filtered noise in short bursts, 0.4 s."""
    random.seed(11)
    samples, smooth = [], 0.0
    for i in range(int(0.4 * RATE)):
        t = i / RATE
        smooth = 0.7 * smooth + 0.3 * random.uniform(-1, 1)
        samples.append(smooth * abs(math.sin(2 * math.pi * 9 * t)) * (1 - t / 0.4))
    return samples


def variable_length(value):
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(data)


def library_tune():
    """A harpsichord minuet of eight bars at 120 beats a minute, as a standard MIDI file."""
    melody = [67, 60, 62, 64, 65, 67, 60, 60, 69, 65, 67, 69, 71, 72, 60, 60,
              65, 67, 65, 64, 62, 64, 65, 64, 62, 60, 59, 60, 62, 64, 60, 62]
    track = bytes([0, 0xC0, 6])  # channel 1: harpsichord
    for note in melody:
        track += bytes([0, 0x90, note, 120]) + variable_length(240) + bytes([0x80, note, 0])
    track += bytes([0, 0xFF, 0x2F, 0])
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(track)) + track


def main():
    write_ogg(os.path.join(DEMO, "Areas", "hall-theme.ogg"), hall_theme())
    write_ogg(os.path.join(DEMO, "Areas", "garden-theme.ogg"), garden_theme())
    with open(os.path.join(DEMO, "Areas", "library.mid"), "wb") as out:
        out.write(library_tune())
    write_wav(os.path.join(DEMO, "Frames", "creak.wav"), creak())
    write_wav(os.path.join(DEMO, "Frames", "rustle.wav"), rustle())


if __name__ == "__main__":
    main()
