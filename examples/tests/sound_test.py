#!/usr/bin/env python3
"""sound: with --demo the program presses its effect keys by itself while the music plays from
its archive. A private PulseAudio records what it plays: the music's three notes at their level,
in their order, all through the run; the three effects at their frequencies, in their order, half
a second apart, with the volume and pan the demo set (the middle at full volume, the left only,
the right only at half volume). The last frame shows the volume and pan it ended with. Then the
keys, pressed through the display: Down, Left and 2 play effect 2 a step quieter, a step left.
Exit 77 (skipped) without PulseAudio."""
import math
import operator
import sys

from example import READOUT, Checks, focus, press, shot, start
from sound_server import RATE, SKIPPED, PrivatePulse, Recorder, available, warm_up

program = sys.argv[1]
FRAMES = 75  # 2.5 s at 30 frames a second; the demo's last key is at frame 45
# What make_sounds.py wrote, as the demo plays it: frequency, left peak, right peak.
EFFECTS = [(1000, 12000, 12000), (1500, 12000, 0), (2000, 0, 6000)]
NOTES, MUSIC_PEAK = (220, 280, 330), 6000
EFFECT_SPACING = 0.5  # seconds: 15 frames
PRINTED = [r'sounds\effect1.wav: result 0', r'sounds\effect2.wav: result 0', r'sounds\effect3.wav: result 0',
           r'sounds\music.ogg: result 0', 'effect 1, volume 256, pan 0', 'effect 2, volume 256, pan -256',
           'effect 3, volume 128, pan 256']

# The recording is measured in windows of 100 ms, every 50 ms. Each frequency is a whole number of
# cycles in a window, so a tone filling a window gives its own peak there and nothing at the
# other frequencies.
WINDOW, HOP = RATE // 10, RATE // 20
SECONDS_PER_HOP = HOP / RATE


class Spectrum:
    """The amplitude of each frequency of interest in each window, per channel."""

    def __init__(self, samples, frequencies):
        channels = (samples[0::2], samples[1::2])
        count = max(0, (len(channels[0]) - WINDOW) // HOP + 1)
        self.windows = count
        self.amplitude = {}
        for f in frequencies:
            cos = [math.cos(2 * math.pi * f * i / RATE) for i in range(WINDOW)]
            sin = [math.sin(2 * math.pi * f * i / RATE) for i in range(WINDOW)]
            self.amplitude[f] = [[self._measure(channel[w * HOP: w * HOP + WINDOW], cos, sin) for channel in channels]
                                 for w in range(count)]

    @staticmethod
    def _measure(part, cos, sin):
        return 2 * math.hypot(sum(map(operator.mul, part, cos)), sum(map(operator.mul, part, sin))) / WINDOW

    def loudest(self, f, window):
        return max(self.amplitude[f][window])


def runs(windows, gap=2):
    """Consecutive window numbers as (first, last) runs; a gap of up to gap windows (a buffer
    that reached the server late) does not split a run."""
    found = []
    for w in windows:
        if found and w - found[-1][1] <= gap + 1:
            found[-1][1] = w
        else:
            found.append([w, w])
    return found


def near(value, expected, tolerance):
    return abs(value - expected) <= tolerance


def listen(samples):
    """(condition, what) for each check of the recording."""
    results = []
    spectrum = Spectrum(samples, [f for f, _, _ in EFFECTS] + list(NOTES))

    # The music: one of its notes in every window from its start to the program's end.
    music = [max(NOTES, key=lambda f: spectrum.loudest(f, w)) for w in range(spectrum.windows)]
    music = [f if spectrum.loudest(f, w) > MUSIC_PEAK / 3 else None for w, f in enumerate(music)]
    span = runs([w for w, f in enumerate(music) if f])
    results.append((len(span) == 1, f'the music plays in one stretch: {len(span)} found'))
    if not span:
        return results
    first, last = span[0]
    seconds = (last - first) * SECONDS_PER_HOP
    results.append((seconds > 1.8, f'the music plays {seconds:.2f} s, all through the run'))
    order = [f for w, f in enumerate(music[first:last + 1]) if f and (w == 0 or f != music[first + w - 1])]
    following = all(NOTES[(NOTES.index(a) + 1) % 3] == b for a, b in zip(order, order[1:]))
    results.append((following and len(order) >= 5, f'the notes follow each other in their loop: {order}'))
    for f in NOTES:
        peaks = [round(max(spectrum.amplitude[f][w][c] for w in range(first, last + 1))) for c in (0, 1)]
        results.append((all(near(p, MUSIC_PEAK, MUSIC_PEAK * 0.1) for p in peaks),
                        f'note {f} Hz peaks {peaks}, expected {MUSIC_PEAK} on both sides'))

    # The effects: each once, at its level on each side, in order, over the music.
    starts = []
    for n, (f, left, right) in enumerate(EFFECTS, 1):
        heard = runs([w for w in range(spectrum.windows) if spectrum.loudest(f, w) > 1000])
        results.append((len(heard) == 1, f'effect {n} ({f} Hz) sounds once: {len(heard)} times'))
        if len(heard) != 1:
            continue
        a, b = heard[0]
        starts.append(a * SECONDS_PER_HOP)
        peaks = [round(max(spectrum.amplitude[f][w][c] for w in range(a, b + 1))) for c in (0, 1)]
        results.append((all(near(p, e, max(150, e * 0.03)) for p, e in zip(peaks, (left, right))),
                        f'effect {n} peaks {peaks}, expected {[left, right]}'))
        full = sum(1 for w in range(a, b + 1) if spectrum.loudest(f, w) > max(left, right) / 2)
        results.append((4 <= full <= 7, f'effect {n} lasts {full * SECONDS_PER_HOP:.2f} s, expected 0.3'))
        results.append((first <= a and b <= last, f'effect {n} plays over the music'))
    if len(starts) == 3:
        gaps = [round(later - earlier, 2) for earlier, later in zip(starts, starts[1:])]
        results.append((all(near(g, EFFECT_SPACING, 0.15) for g in gaps),
                        f'the effects follow each other {gaps} s apart, as the demo pressed them'))
    return results


def look(checks, screen):
    """The read-out of the last frame: volume 128 as a bar half full, pan 256 at the right end."""
    lit = [x for x in range(20, 300) if screen.pixel(x, 120) == 0x40C040]
    checks.equal((lit[0], lit[-1], len(lit)) if lit else None, (32, 159, 128),
                 'the volume bar: first and last lit pixel, how many (128 of 256)')
    checks.equal(screen.colours((160, 116, 288, 124)), {0x303840}, 'the rest of the volume track')
    marker = [x for x in range(20, 300) if screen.pixel(x, 160) == 0xE04040]
    checks.equal(marker, list(range(286, 290)), 'the pan marker at the right end of its track')
    for name, top in (('volume', 94), ('pan', 134), ('music', 190)):
        white = screen.count((16, top, 300, top + 20), lambda c: c == 0xFFFFFF)
        checks.check(white > 40, f'the {name} line is written ({white} white pixels)')
    for n in range(3):
        box = (16 + n * 56, 40, 64 + n * 56, 50)
        checks.equal(screen.colours(box), {0x404860}, f'effect {n + 1} box unlit: its sound ended')


def keys(checks, env):
    """The keys, as a player presses them."""
    process, output_file = start(program, env=env)
    try:
        checks.check(bool(focus('sound')), 'the window appears')
        for key in ('Down', 'Left', '2', 'Escape'):
            press(key)
        code = process.wait(timeout=30)
    finally:
        if process.poll() is None:
            process.kill()
    with open(output_file, encoding='utf-8', errors='replace') as f:
        effects = [line for line in f.read().splitlines() if line.startswith('effect')]
    checks.equal(code, 0, 'exit code after Escape')
    checks.equal(effects, ['effect 2, volume 224, pan -64'], 'the keys: Down, Left, then 2')


def main():
    if not available():
        print('pulseaudio, parec or pacat is not installed; skipped')
        return SKIPPED
    checks = Checks()
    with PrivatePulse() as pulse:
        # A machine too busy to feed the server loses buffers; only then is a failed recording
        # made again.
        for attempt in range(1, 4):
            recorder = Recorder(pulse.env)
            warm_up(pulse, recorder)
            # Recorded on the DIB back-end: under Wine, Direct3D draws on the processor (llvmpipe)
            # and takes the time a busy machine's mixer needs; the picture is compared below.
            code, output, screen = shot(program, 'sound.bmp', FRAMES, '--demo',
                                        env={'XDG_RUNTIME_DIR': pulse.runtime, 'PYRO_DISPLAY': 'dib'}, dib=False)
            recorder.stop()
            results = listen(recorder.samples())
            if all(ok for ok, _ in results) or attempt == 3:
                break
            print(f'attempt {attempt}:', '; '.join(what for ok, what in results if not ok))
        keys(checks, {'XDG_RUNTIME_DIR': pulse.runtime, 'PYRO_DISPLAY': 'dib'})
        # The same frames on Direct3D 11: the swap chain shows the back buffer (checked by shot)
        # and the picture is the DIB back-end's but for the read-out's corner.
        d3d_code, d3d_output, d3d_screen = shot(program, 'sound-d3d.bmp', FRAMES, '--demo',
                                                env={'XDG_RUNTIME_DIR': pulse.runtime, 'PYRO_DISPLAY': 'd3d11'},
                                                dib=False)
    checks.equal(d3d_code, 0, 'exit code on Direct3D 11' + (f': {d3d_output.strip()}' if d3d_code else ''))
    if screen and d3d_screen:
        same = all(screen.pixel(x, y) == d3d_screen.pixel(x, y) for y in range(screen.height)
                   for x in range(screen.width) if not (x < READOUT[2] and y < READOUT[3]))
        checks.check(same, 'Direct3D 11 shows the picture of the DIB back-end')
    checks.equal(code, 0, 'exit code')
    checks.equal(output.splitlines(), PRINTED, 'printed')
    for ok, what in results:
        checks.check(ok, what)
    if screen:
        look(checks, screen)
    else:
        checks.check(False, 'the last frame was written')
    checks.done()


if __name__ == '__main__':
    sys.exit(main())
