#!/usr/bin/env python3
"""fonts: a UTF-8 program. Its caption reaches Windows whole, every line of text draws (Latin,
Greek and Cyrillic in DejaVu Sans, Chinese and Japanese in IPAGothic, both from the example's
archive), a file named outside Shift-JIS is written and read, and the error log is UTF-8, the
framework's own message included. The English and the Japanese locale give the same pixels."""
import os
import sys

from example import Checks, shot

checks = Checks()
BACKGROUND, WHITE = 0x203040, 0xFFFFFF
screens = {}
for locale in ('ja_JP.UTF-8', 'en_US.UTF-8'):
    code, output, screen = shot(sys.argv[1], 'fonts.bmp', 2, env={'LANG': locale, 'LC_ALL': locale})
    checks.equal(code, 0, f'exit code under {locale}')
    if screen is None:
        checks.done()
    screens[locale] = [screen.pixel(x, y) for y in range(480) for x in range(640)]
    folder = os.path.dirname(os.path.abspath(sys.argv[1]))
    with open(os.path.join(folder, 'fonts.log'), 'rb') as log:
        lines = log.read().decode('utf-8').splitlines()
    checks.equal(lines[0], 'fonts: DejaVu Sans, IPAGothic', f'faces loaded from the archive ({locale})')
    checks.equal(lines[1], 'file café_日本語_한국.txt: write 0, read 0, 15 bytes', f'the Unicode file name ({locale})')
    checks.check(lines[2].startswith('CPlane::Loadで"données\\absent.bmp"の読み込みに失敗'),
                 f'the framework\'s message in UTF-8: {lines[2]!r}')
    with open(os.path.join(folder, 'café_日本語_한국.txt'), 'rb') as note:
        checks.equal(note.read().decode('utf-8'), 'Grüße, 世界', 'the file under its Unicode name')
    for i in range(6):
        left, top = 16 + (i // 3) * 300, 80 + (i % 3) * 60
        ink = screen.count((left, top, left + 280, top + 40), lambda p: p == WHITE)
        checks.check(ink > 60, f'line {i} draws ({ink} text pixels, {locale})')
checks.equal(screens['ja_JP.UTF-8'] == screens['en_US.UTF-8'], True, 'the same pixels under both locales')
checks.done()
