#!/usr/bin/env python3
"""input: a key held and let go, and a mouse click at a known place, come out as the key
mapper's logical key and the mouse's press and release edges at the logical position; without a
joystick the error log's messages reach the debugger channel, which Wine 8 prints on its seh
channel."""
import re
import sys
import time

from example import Checks, focus, press, run, start, xdotool

program = sys.argv[1]
checks = Checks()

process, output_file = start(program)
try:
    window = focus('input')
    checks.check(bool(window), 'the window appears')
    # Held as a finger would: the program polls once per frame.
    press('Left')
    # Two clicks 60 by 40 pixels apart, given relative to the X window, whose top-left corner
    # lies a frame's width outside the client area.
    for x, y in ((200, 150), (260, 190)):
        xdotool('mousemove', '--window', window, str(x), str(y))
        time.sleep(0.3)
        xdotool('mousedown', '1')
        time.sleep(0.3)
        xdotool('mouseup', '1')
        time.sleep(0.3)
    press('Escape')
    code = process.wait(timeout=30)
finally:
    if process.poll() is None:
        process.kill()
with open(output_file, encoding='utf-8', errors='replace') as f:
    lines = f.read().splitlines()
checks.equal(code, 0, 'exit code after Escape')
events = [re.sub(r'at \d+,\d+', 'at', l) for l in lines if l.startswith(('key', 'mouse'))]
checks.equal(events, ['key left down', 'key left up'] + ['mouse left press at', 'mouse left release at'] * 2
             + ['key escape down'], 'printed events')
places = [tuple(map(int, m)) for m in re.findall(r'press at (\d+),(\d+)', '\n'.join(lines))]
if len(places) == 2:
    (x1, y1), (x2, y2) = places
    checks.equal((x2 - x1, y2 - y1), (60, 40), 'the second click lies 60 by 40 from the first')
    checks.check(190 <= x1 <= 200 and 110 <= y1 <= 150, f'the first click at {x1},{y1}: inside the frame')

# The debugger channel, read as the guide says: Wine 8 turns the wide text back into the ANSI code
# page (932 under the Japanese locale) and prints it escaped.
code, output = run(program, '--frames', '5', env={'WINEDEBUG': '-all,warn+seh'})
messages = [bytes(m, 'latin-1').decode('unicode_escape').encode('latin-1').decode('cp932')
            for m in re.findall(r'OutputDebugStringA "(.*)\\n"', output)]
checks.check('CJoyStick::GetKeyState IJoyStickの初期化に失敗' in messages,
             f'the joystick failure reaches the debugger channel: {messages}')
checks.done()
