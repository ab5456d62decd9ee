#!/usr/bin/env python3
"""sprites: each of the eight kinds of drawing gives its exact pixels in the top row, the moving
sprites fill the field below it, and --bench names the transfer set it was held to and reports
frame times for the three sprite counts."""
import re
import sys

from example import Checks, run, shot

program = sys.argv[1]
checks = Checks()
BACKGROUND = 0x404040
RED, BLUE, GREEN, YELLOW = 0xE03020, 0x2040E0, 0x30C040, 0xE0D030


def cell(kind):
    return 16 + kind * 78, 24


def quarters(screen, kind, colours, size=32, inset=2):
    """The four quarters of a sprite drawn at size, each checked inside a margin of inset."""
    x, y = cell(kind)
    half = size // 2
    border = size // 16
    for (qx, qy), colour in zip(((0, 0), (1, 0), (0, 1), (1, 1)), colours):
        left = x + (border if qx == 0 else half) + inset
        top = y + (border if qy == 0 else half) + inset
        right = x + (half if qx == 0 else size - border) - inset
        bottom = y + (half if qy == 0 else size - border) - inset
        yield (left, top, right, bottom), colour


def exact(screen, kind, name, colours, size=32, inset=0):
    for rect, colour in quarters(screen, kind, colours, size, inset):
        checks.equal(screen.colours(rect), {colour}, f'{name} quarter at {rect}')
    x, y = cell(kind)
    checks.equal(screen.colours((x, y, x + size, y + size // 16)), {BACKGROUND},
                 f'{name}: the keyed border leaves the background')


def near(actual, expected, tolerance=2):
    return all(abs((actual >> s & 0xFF) - (expected >> s & 0xFF)) <= tolerance for s in (0, 8, 16))


code, output, screen = shot(program, 'sprites.bmp', 2, '--count', '0')
checks.equal(code, 0, 'exit code')
checks.equal((screen.width, screen.height), (640, 480), 'screen size')
exact(screen, 0, 'keyed', (RED, BLUE, GREEN, YELLOW))
# Saturating per channel: 0x40 + 0xE0 stays at 0xFF, 0x40 - 0xE0 at 0.
exact(screen, 2, 'add', (0xFF7060, 0x6080FF, 0x70FF80, 0xFFFF70))
exact(screen, 3, 'subtract', (0x001020, 0x200000, 0x100000, 0x000010))
exact(screen, 4, 'mirrored', (BLUE, RED, YELLOW, GREEN))
# Stretched samples land a pixel off at the quarters' edges, so those are left out.
exact(screen, 5, 'stretched twice', (RED, BLUE, GREEN, YELLOW), size=64, inset=3)
# The alpha sprite: opaque above; below, alpha 128 of 255 over the background (the blend may
# round one step either way).
rects = list(quarters(screen, 1, (RED, BLUE, 0x388040, 0x908838), inset=0))
for rect, colour in rects:
    colours = screen.colours(rect)
    checks.check(all(near(c, colour) for c in colours), f'alpha quarter at {rect}: ~{colour:06X}')
x, y = cell(1)
checks.check(all(near(c, BACKGROUND) for c in screen.colours((x, y, x + 32, y + 2))),
             'alpha: the clear border leaves the background')
# A quarter turn clockwise about the centre: the top-left quarter goes to the top-right. The
# edges of a turned picture are sampled, so the quarters are checked away from them.
for rect, colour in quarters(screen, 6, (GREEN, RED, YELLOW, BLUE), inset=3):
    checks.equal(screen.colours(rect), {colour}, f'rotated quarter at {rect}')
for rect, colour in quarters(screen, 7, (RED, BLUE, GREEN, YELLOW), size=64, inset=3):
    checks.equal(screen.colours(rect), {colour}, f'zoomed quarter at {rect}')
checks.equal(screen.colours((0, 120, 640, 480)), {BACKGROUND}, 'no moving sprite with --count 0')
top_row = [screen.pixel(x, y) for y in range(0, 100) for x in range(640)]

code, output, screen = shot(program, 'sprites-moving.bmp', 3, '--count', '300')
checks.equal(code, 0, 'exit code with 300 sprites')
covered = screen.count((0, 120, 640, 480), lambda c: c != BACKGROUND)
checks.check(covered > 640 * 360 // 4, f'300 moving sprites cover {covered} pixels of the field')
checks.check([screen.pixel(x, y) for y in range(0, 100) for x in range(640)] == top_row,
             'the moving sprites stay out of the top row')

# Held down to the SSE2 set, which every x86-64 processor has: the switch reaches a program
# built against the package, and the bench says which set it measures.
code, output = run(program, '--bench', timeout=600, env={'PYRO_CPU_KIND': '5'})
print(output)
checks.equal(code, 0, 'exit code of --bench')
checks.check('processor kind 5: SSE2 transfers' in output.splitlines(), '--bench names the SSE2 set')
for count in (100, 1000, 10000):
    checks.check(re.search(rf'^ *{count} sprites: +[0-9.]+ ms per frame', output, re.M) is not None,
                 f'--bench reports {count} sprites')
checks.done()
