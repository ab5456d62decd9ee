#!/usr/bin/env python3
"""text: the four faces render the same line four different ways; the shadow lies beside the
text, the box behind it, the lines of a multi-line text one below the other, and vertical text
runs downwards."""
import sys

from example import Checks, shot

checks = Checks()
code, output, screen = shot(sys.argv[1], 'text.bmp', 2)
checks.equal(code, 0, 'exit code')
WHITE, SHADOW, BOX, BACKGROUND = 0xFFFFFF, 0x800000, 0x804000, 0x203040


def ink(rect, colour=WHITE):
    left, top, right, bottom = rect
    return {(x - left, y - top) for y in range(top, bottom) for x in range(left, right)
            if screen.pixel(x, y) == colour}


def bounds(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


faces = [ink((16, 16 + i * 40, 540, 56 + i * 40)) for i in range(4)]
for i, face in enumerate(faces):
    checks.check(len(face) > 200, f'face {i} draws its line ({len(face)} text pixels)')
checks.check(all(faces[i] != faces[j] for i in range(4) for j in range(i)), 'the four faces differ')
# Proportional faces set the same line narrower than their fixed-pitch twins.
widths = [bounds(face)[2] for face in faces]
checks.check(widths[1] < widths[0] and widths[3] < widths[2], f'line widths {widths}')

text, shadow = ink((16, 200, 300, 250)), ink((16, 200, 300, 250), SHADOW)
checks.check(len(text) > 200 and len(shadow) > 100, f'shadowed: {len(text)} text, {len(shadow)} shadow pixels')
moved = {(x + 3, y + 3) for x, y in text}
checks.check(len(shadow - moved) == 0, 'every shadow pixel lies 3 by 3 off a text pixel')

box = ink((0, 250, 500, 310), BOX)
left, top, right, bottom = bounds(box)
left, top, right, bottom = left, top + 250, right, bottom + 250
edge = {screen.pixel(x, y) for x in range(left, right) for y in (top, bottom - 1)}
edge |= {screen.pixel(x, y) for y in range(top, bottom) for x in (left, right - 1)}
checks.equal(edge, {BOX}, 'boxed: the edge of the box')
inside = ink((left, top, right, bottom))
checks.check(len(inside) > 200 and len(inside) == len(ink((0, 250, 500, 310))),
             f'boxed: all {len(inside)} text pixels inside the box')

rows = sorted({y for x, y in ink((16, 310, 300, 420))})
# Strokes of one line leave gaps of a few rows; lines are 28 rows apart for a 20-pixel face.
bands = 1 + sum(1 for a, b in zip(rows, rows[1:]) if b - a > 5)
checks.equal(bands, 3, 'multi-line: bands of text rows')

vertical = ink((540, 190, 640, 480))
left, top, right, bottom = bounds(vertical)
checks.check(bottom - top > 4 * (right - left), f'vertical text is {right - left} wide, {bottom - top} tall')
checks.equal(screen.colours((320, 180, 520, 480)), {BACKGROUND}, 'nothing drawn between the columns')
checks.done()
