#!/usr/bin/env python3
"""End to end with a real sound server: starts a private PulseAudio with a null sink (in a
runtime directory of its own, so nothing else on the machine is touched), records the sink's
monitor with parec while the Windows program sound_e2e.exe plays four tones under Wine, ends the
server, and checks each tone's frequency, level and order, that the first tone starts within
100 ms of its request, and that the tone requested while minimised waits for the restore.
    e2e_sound.py WINE_RUN PROGRAM [--runs N]
With --runs it only measures: it prints the delay of the first tone for each run.
Exit 77 (skipped) when pulseaudio, parec or pacat is not installed.
"""
import argparse
import os
import subprocess
import sys
import time

# The private server and its recorder, shared with the sound example's test.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'examples', 'tests'))
from sound_server import RATE, SKIPPED, PrivatePulse, Recorder, available, warm_up  # noqa: E402

# frequency, left peak, right peak, as sound_e2e.exe plays them
TONES = [(440, 8000, 8000), (880, 16000, 16000), (660, 8000, 0), (550, 8000, 8000)]


def run_once(pulse, wine_run, program):
    recorder = Recorder(pulse.env)
    warm_up(pulse, recorder)
    result = subprocess.run([wine_run, program], env=pulse.env, capture_output=True, text=True, timeout=120)
    time.sleep(0.3)
    recorder.stop()
    if result.returncode != 0:
        sys.exit(f"sound_e2e.exe exit code {result.returncode}:\n{result.stdout}{result.stderr}")
    events = {}
    for line in result.stdout.splitlines():
        parts = line.split()
        if len(parts) == 2:
            events[parts[0]] = float(parts[1])
    return events, recorder.samples(), recorder.start_time()


def segments(samples):
    """(first, end) frames of each tone, found in 10 ms blocks, and the number of silent blocks
    inside the tones. A quiet stretch shorter than 100 ms (a buffer that reached the server too
    late on a loaded machine) stays inside its tone; the tones are 200 ms or more apart."""
    block = RATE // 100
    frames = len(samples) // 2
    active = []
    for b in range(frames // block):
        part = samples[2 * b * block: 2 * (b + 1) * block]
        active.append(max(abs(v) for v in part) > 1000)
    found = []
    dropouts = 0
    b = 0
    while b < len(active):
        if active[b]:
            e = b
            while e < len(active) and any(active[e:e + 10]):
                dropouts += not active[e]
                e += 1
            first = max(0, b - 1) * block
            while abs(samples[2 * first]) <= 300 and abs(samples[2 * first + 1]) <= 300:
                first += 1
            found.append((first, e * block))
            b = e
        else:
            b += 1
    return found, dropouts


def frequency(samples, first, end, channel):
    """From the median time between rising zero crossings (placed between samples by linear
    interpolation), so that a lost buffer inside a tone does not change the figure."""
    crossings = []
    for i in range(first + 1, end):
        a, b = samples[2 * (i - 1) + channel], samples[2 * i + channel]
        if a < 0 <= b:
            crossings.append(i - 1 + (-a) / (b - a))
    periods = sorted(later - earlier for earlier, later in zip(crossings, crossings[1:]))
    return RATE / periods[len(periods) // 2]


def check(events, samples, start):
    """The failures found in one recording, and the first tone's delay."""
    found, _ = segments(samples)
    if len(found) != len(TONES):
        return [f"expected {len(TONES)} tones in the recording, found {len(found)}: {found}"], None
    failures = []
    onsets = [start + first / RATE for first, _ in found]
    for n, ((freq, left, right), (first, end)) in enumerate(zip(TONES, found)):
        middle = (first + (end - first) // 10, end - (end - first) // 10)
        measured = frequency(samples, *middle, 0)
        peak = [max(abs(samples[2 * i + c]) for i in range(first, end)) for c in (0, 1)]
        print(f"tone {n + 1}: {measured:.1f} Hz, peaks {peak[0]} {peak[1]}, "
              f"{(onsets[n] - events[f'play{n + 1}']) * 1000:.1f} ms after its request")
        if abs(measured - freq) > freq * 0.01:
            failures.append(f"tone {n + 1}: {measured:.1f} Hz, expected {freq}")
        for c, expected in enumerate((left, right)):
            if abs(peak[c] - expected) > max(80, expected * 0.02):
                failures.append(f"tone {n + 1} channel {c}: peak {peak[c]}, expected {expected}")
    delay = onsets[0] - events["play1"]
    if delay > 0.100:
        failures.append(f"the first tone started {delay * 1000:.1f} ms after its request")
    if onsets[3] - events["play4"] < 0.2:
        failures.append("the tone requested while minimised sounded before the restore")
    if onsets[3] - events["resumed"] > 0.15:
        failures.append("the tone requested while minimised did not follow the restore")
    return failures, delay


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("wine_run")
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=0)
    args = parser.parse_args()
    if not available():
        print("pulseaudio, parec or pacat is not installed; skipped")
        return SKIPPED

    with PrivatePulse() as pulse:
        if args.runs:
            for run in range(args.runs):
                events, samples, start = run_once(pulse, args.wine_run, args.program)
                failures, delay = check(events, samples, start)
                dropouts = segments(samples)[1]
                print(f"run {run + 1}: first sample {delay * 1000:.1f} ms after the request, "
                      f"{dropouts} lost buffers" if delay is not None else f"run {run + 1}: {failures[0]}")
            return 0
        # A recording with silent stretches inside the tones comes from a machine too busy to
        # keep the server fed; only then is a failed attempt tried again.
        for attempt in range(1, 4):
            events, samples, start = run_once(pulse, args.wine_run, args.program)
            failures, _ = check(events, samples, start)
            dropouts = segments(samples)[1]
            for failure in failures:
                print("FAIL:", failure)
            if not failures:
                return 0
            if not dropouts:
                return 1
            print(f"attempt {attempt}: {dropouts} buffers of 10 ms were lost on the way to the server")
    return 1


if __name__ == "__main__":
    sys.exit(main())
