#!/usr/bin/env python3
"""Writes the sound fixtures for the decoder tests: a known integer waveform as raw 16-bit
samples, converted by sox (without dither) into WAVE files of each encoding and into Ogg Vorbis.
The tests compute the same waveform (SoundTesting.h) and compare sample by sample.
    make_fixtures.py OUTPUT_DIRECTORY
"""
import os
import struct
import subprocess
import sys

# Channel c of frame i: a triangle wave of period PERIODS[c], in steps of 256 so that 8-bit and
# float encodings hold it exactly.
PERIODS = (200, 120, 80)


def triangle(i, period):
    return 256 * (abs(i % period - period // 2) - period // 4)


# name, rate, channels, frames, sox output options
FIXTURES = [
    ("s16_stereo_44100.wav", 44100, 2, 4410, ["-e", "signed", "-b", "16"]),
    ("s16_mono_22050.wav", 22050, 1, 2205, ["-e", "signed", "-b", "16"]),
    ("u8_mono_8000.wav", 8000, 1, 800, ["-e", "unsigned", "-b", "8"]),
    ("f32_stereo_48000.wav", 48000, 2, 4800, ["-e", "floating-point", "-b", "32"]),
    ("stereo_44100.ogg", 44100, 2, 44100, []),
    ("mono_22050.ogg", 22050, 1, 22050, []),
    ("three_22050.ogg", 22050, 3, 22050, []),
]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, rate, channels, frames, options in FIXTURES:
        raw = os.path.join(out, name + ".raw")
        with open(raw, "wb") as f:
            for i in range(frames):
                for c in range(channels):
                    f.write(struct.pack("<h", triangle(i, PERIODS[c])))
        subprocess.run(["sox", "-D", "-t", "raw", "-r", str(rate), "-e", "signed", "-b", "16",
                        "-c", str(channels), "-L", raw] + options + [os.path.join(out, name)],
                       check=True)
        os.remove(raw)


if __name__ == "__main__":
    main()
