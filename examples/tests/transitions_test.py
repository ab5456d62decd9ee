#!/usr/bin/env python3
"""transitions: phase 0 shows the first picture and phase 256 the second; in between, an effect
that draws the second picture in place shows only pixels of the two pictures, some of each; the
effect's number, name and mode are printed and shown below the pictures."""
import sys

from example import Checks, shot

program = sys.argv[1]
checks = Checks()
PICTURE = (0, 0, 640, 400)


def stripes(x, y):
    return 0xE06020 if (x + y) // 40 % 2 else 0xF0C040


def rings(x, y):
    dx, dy = x - 320, y - 200
    return 0x2040A0 if (dx * dx + dy * dy) // 1600 % 2 else 0x40C0E0


def sample():
    return [(x, y) for y in range(0, 400, 7) for x in range(0, 640, 5)]


def matches(screen, picture):
    return sum(1 for x, y in sample() if screen.pixel(x, y) == picture(x, y))


for phase, picture, name in ((0, stripes, 'first'), (256, rings, 'second')):
    code, output, screen = shot(program, f'phase{phase}.bmp', 2, '--effect', '12', '--phase', str(phase))
    checks.equal(code, 0, f'exit code at phase {phase}')
    checks.equal(matches(screen, picture), len(sample()), f'phase {phase} shows the {name} picture')

# Effect 7 dissolves the second picture in, in place, with plain copies (mode 0).
code, output, screen = shot(program, 'dissolve.bmp', 2, '--effect', '7', '--mode', '0', '--phase', '128')
checks.equal(output.strip(), 'effect 7: dissolve, mode 0 (BltFast)', 'printed effect')
first, second = matches(screen, stripes), matches(screen, rings)
# Where the two pictures agree a pixel counts for both.
both = sum(1 for x, y in sample() if stripes(x, y) == rings(x, y))
checks.equal(first + second - both, len(sample()), 'every pixel from one of the two pictures')
checks.check(first > len(sample()) // 5 and second > len(sample()) // 5,
             f'half way: {first} of the first picture, {second} of the second')
# The label: white text on black below the pictures.
label = screen.count((0, 400, 640, 480), lambda c: c == 0xFFFFFF)
checks.check(label > 200, f'the label shows ({label} white pixels)')

code, output, screen = shot(program, 'last.bmp', 2, '--effect', '82', '--mode', '3', '--phase', '64')
checks.equal(output.strip(), 'effect 82: smear from top, mode 3 (BltNatural)', 'printed last effect')
checks.done()
