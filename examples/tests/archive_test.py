#!/usr/bin/env python3
"""archive: the list and the pictures it names come out of data.dat the same as out of the loose
folder data/ it was made from, and the pictures show with their exact pixels: two bitmaps, and a
PNG whose alpha channel (opaque, half, clear in bands of 16 columns) blends it over the
background."""
import os
import sys

from example import Checks, fmt, shot

program = sys.argv[1]
checks = Checks()
loose = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'archive')
BANDS = [0xC03030, 0xE0A030, 0x40A040, 0x3060C0]
PRINTED = ['bands.bmp: result 0, 64 x 48', 'checks.bmp: result 0, 64 x 48', 'glow.png: result 0, 64 x 48, alpha']
BACKGROUND, GLOW = 0x000040, 0xFFD040


def pictures(screen, where):
    # Two pictures of 64 by 48: bands at (16, 16), checks at (16, 80).
    for band, colour in enumerate(BANDS):
        rect = (16, 16 + band * 12, 80, 28 + band * 12)
        checks.equal(screen.colours(rect), {colour}, f'{where}: band {band}')
    squares = {(x, y): 0xF0F0F0 if (x // 8 + y // 8) % 2 else 0x202020 for y in range(48) for x in range(64)}
    wrong = sum(1 for (x, y), c in squares.items() if screen.pixel(16 + x, 80 + y) != c)
    checks.equal(wrong, 0, f'{where}: pixels of the checks picture that differ')
    # The PNG at (16, 144): its colour where opaque, the background where clear, half of each
    # (to the rounding of the blend) where its alpha is 128.
    checks.equal(screen.colours((16, 144, 32, 192)), {GLOW}, f'{where}: the opaque band of the PNG')
    checks.equal(screen.colours((48, 144, 80, 192)), {BACKGROUND}, f'{where}: the clear band of the PNG')
    half = screen.colours((32, 144, 48, 192))
    expected = [(GLOW >> s & 255) * 128 / 256 + (BACKGROUND >> s & 255) * 128 / 256 for s in (16, 8, 0)]
    checks.check(len(half) == 1 and all(abs((c >> s & 255) - e) <= 1 for c in half for s, e in zip((16, 8, 0), expected)),
                 f'{where}: the half band of the PNG is half of each: {fmt(half)}')
    caption = screen.count((96, 16, 320, 208), lambda c: c == 0xFFFFFF)
    checks.check(caption > 100, f'{where}: the captions show ({caption} white pixels)')


code, output, screen = shot(program, 'archive.bmp', 2)
checks.equal(code, 0, 'exit code')
lines = output.splitlines()
checks.equal(lines, ['list.txt read from the archive data.dat'] + PRINTED, 'printed from the archive')
pictures(screen, 'archive')

code, output, screen = shot(program, 'loose.bmp', 2, '--base', loose)
lines = output.splitlines()
checks.equal(lines, ['list.txt read from the folder data'] + PRINTED, 'printed from the loose folder')
pictures(screen, 'loose folder')
checks.done()
