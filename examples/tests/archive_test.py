#!/usr/bin/env python3
"""archive: the list and the pictures it names come out of data.dat the same as out of the loose
folder data/ it was made from, and the pictures show with their exact pixels."""
import os
import sys

from example import Checks, shot

program = sys.argv[1]
checks = Checks()
loose = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'archive')
BANDS = [0xC03030, 0xE0A030, 0x40A040, 0x3060C0]
PRINTED = ['bands.bmp: result 0, 64 x 48', 'checks.bmp: result 0, 64 x 48']


def pictures(screen, where):
    # Two pictures of 64 by 48: bands at (16, 16), checks at (16, 80).
    for band, colour in enumerate(BANDS):
        rect = (16, 16 + band * 12, 80, 28 + band * 12)
        checks.equal(screen.colours(rect), {colour}, f'{where}: band {band}')
    squares = {(x, y): 0xF0F0F0 if (x // 8 + y // 8) % 2 else 0x202020 for y in range(48) for x in range(64)}
    wrong = sum(1 for (x, y), c in squares.items() if screen.pixel(16 + x, 80 + y) != c)
    checks.equal(wrong, 0, f'{where}: pixels of the checks picture that differ')
    caption = screen.count((96, 16, 320, 144), lambda c: c == 0xFFFFFF)
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
