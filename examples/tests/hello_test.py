#!/usr/bin/env python3
"""hello: the filled plane sits where it was drawn on the background, and the frame-rate
read-out shows in the top-left corner."""
import sys

from example import Checks, shot

code, output, screen = shot(sys.argv[1], "hello.bmp", 30)
checks = Checks()
checks.equal(code, 0, 'exit code')
checks.equal((screen.width, screen.height), (640, 480), 'screen size')
# The plane: 200 by 120 at (220, 180), orange, with the background around it.
checks.equal(screen.colours((220, 180, 420, 300)), {0xFF8000}, 'every pixel of the plane')
checks.equal(screen.colours((219, 179, 421, 180)) | screen.colours((219, 300, 421, 301)),
             {0x203060}, 'the rows just outside it')
checks.equal(screen.colours((200, 400, 640, 480)), {0x203060}, 'the background')
# The read-out "FPS:..": light green text (GDI colour 0x80C080) with a dark green shadow
# (0x408040), in the top-left corner only.
text = screen.count((0, 0, 160, 40), lambda c: c == 0x80C080)
shadow = screen.count((0, 0, 160, 40), lambda c: c == 0x408040)
checks.check(text > 100 and shadow > 100, f'read-out: {text} text and {shadow} shadow pixels')
checks.equal(screen.colours((160, 0, 640, 170)), {0x203060}, 'nothing else at the top')
checks.done()
