#!/usr/bin/env python3
"""shapes: the screenshot of frame 1 holds each shape's exact pixels, each logical pixel a 2 by 2
block: opaque fills, outlines, thick-line ends, two additive ellipses overlapping, the even-odd
star's empty middle, the gradient near its green corner and the translucent band."""
import sys

from example import Checks, shot

program = sys.argv[1]
checks = Checks()
BACKGROUND = 0x182030


def block(screen, x, y):
    """The colours of logical pixel (x, y): its 2 by 2 block."""
    return screen.colours((2 * x, 2 * y, 2 * x + 2, 2 * y + 2))


def logical(screen, x, y, colour, what):
    checks.equal(block(screen, x, y), {colour}, f'{what} at logical ({x}, {y})')


code, output, screen = shot(program, 'shapes.bmp', 2)
checks.equal(code, 0, 'exit code')
checks.equal((screen.width, screen.height), (640, 480), 'screen size')
logical(screen, 300, 130, BACKGROUND, 'background')
logical(screen, 200, 40, 0xE04040, 'filled circle')
logical(screen, 232, 40, 0xFFFFFF, 'circle outline, rightmost pixel')
logical(screen, 231, 40, BACKGROUND, 'between the circle and its outline')
logical(screen, 8, 104, 0xE0E0E0, 'the fan\'s vertical line ends at its end point')
logical(screen, 9, 104, BACKGROUND, 'beside the fan\'s end points')
# Width 9 between the centres of (20, 128) and (140, 128): rows 124 to 132, square ends reach
# from column 16 to 144.
logical(screen, 16, 124, 0x40A0FF, 'square end, top-left corner')
logical(screen, 144, 132, 0x40A0FF, 'square end, bottom-right corner')
logical(screen, 15, 128, BACKGROUND, 'left of the square end')
logical(screen, 16, 112, 0x40A0FF, 'round end on its axis')
logical(screen, 16, 108, BACKGROUND, 'round end leaves its corner')
# Add mode: 0x602000 once and twice over the background, per channel saturating.
logical(screen, 200, 100, 0x784030, 'one additive ellipse')
logical(screen, 240, 100, 0xD86030, 'two additive ellipses overlapping')
logical(screen, 50, 190, BACKGROUND, 'the even-odd star\'s middle')
logical(screen, 50, 165, 0xD060E0, 'the star\'s top arm')
logical(screen, 200, 190, 0x808080, 'rounded box')
logical(screen, 170, 150, BACKGROUND, 'rounded box, its cut corner')
r, g, b = (lambda c: (c >> 16, c >> 8 & 0xFF, c & 0xFF))(screen.pixel(560, 290))
checks.check(g > 150 and r < 80 and b < 80, f'gradient near its green corner: {r:02X}{g:02X}{b:02X}')
# The band of frame 1 covers rows 4 to 19: black at alpha 128 halves the background.
logical(screen, 300, 10, 0x0C1018, 'the translucent band over the background')
logical(screen, 300, 20, BACKGROUND, 'below the band')
checks.done()
