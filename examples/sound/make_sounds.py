#!/usr/bin/env python3
"""Writes the sound example's folder sounds/ (kept in the tree; run again only to change it):
three effects as 16-bit mono WAVE files and a short looping tune as Ogg Vorbis (through sox). Every
sound is made of sine tones of whole multiples of 10 Hz with known peaks, so that the example's
test can find each of them in a recording:
  effect1.wav  1000 Hz, 300 ms, peak 12000
  effect2.wav  1500 Hz, 300 ms, peak 12000
  effect3.wav  2000 Hz, 300 ms, peak 12000
  music.ogg    220, 280 and 330 Hz, 400 ms each, peak 6000, 1.2 s in all
    make_sounds.py [FOLDER]
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

RATE = 44100
EFFECTS = [('effect1.wav', 1000), ('effect2.wav', 1500), ('effect3.wav', 2000)]
EFFECT_MS, EFFECT_PEAK = 300, 12000
NOTES, NOTE_MS, MUSIC_PEAK = (220, 280, 330), 400, 6000
EDGE_MS = 5  # rise and fall of each tone, so that it starts and ends without a click


def tone(frequency, ms, peak):
    frames = RATE * ms // 1000
    edge = RATE * EDGE_MS // 1000
    samples = []
    for i in range(frames):
        envelope = min(1.0, i / edge, (frames - 1 - i) / edge)
        samples.append(round(peak * envelope * math.sin(2 * math.pi * frequency * i / RATE)))
    return struct.pack(f'<{frames}h', *samples)


def write_wave(path, data):
    with wave.open(path, 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), 'sounds')
    os.makedirs(folder, exist_ok=True)
    for name, frequency in EFFECTS:
        write_wave(os.path.join(folder, name), tone(frequency, EFFECT_MS, EFFECT_PEAK))
    with tempfile.TemporaryDirectory() as work:
        music = os.path.join(work, 'music.wav')
        write_wave(music, b''.join(tone(f, NOTE_MS, MUSIC_PEAK) for f in NOTES))
        subprocess.run(['sox', music, '-C', '3', os.path.join(folder, 'music.ogg')], check=True)


if __name__ == '__main__':
    main()
