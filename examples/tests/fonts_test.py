#!/usr/bin/env python3
"""fonts: a UTF-8 program. Its caption reaches Windows whole; every line of text draws (Latin,
Greek and Cyrillic in DejaVu Sans, Korean in NanumGothicCoding, Chinese and Japanese in
IPAGothic, all from the example's archive), antialiased over a gradient: the edges mix text and
background; translucent text lets the gradient through; paragraphs wrap into several lines; the
centred label is centred. A file named outside Shift-JIS is written and read, and the error log
is UTF-8, the framework's own message included. The English and the Japanese locale give the
same pixels."""
import os
import sys

from example import Checks, shot

checks = Checks()
WHITE = 0xFFFFFF


def gradient(y):
    return 0x20 << 16 | (0x30 + y * 0x40 // 480) << 8 | (0x60 + y * 0x60 // 480)


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
    checks.equal(lines[0], 'fonts: DejaVu Sans, IPAGothic, NanumGothicCoding', f'faces from the archive ({locale})')
    checks.equal(lines[1], 'file café_日本語_한국.txt: write 0, read 0, 15 bytes', f'the Unicode file name ({locale})')
    checks.check(lines[2].startswith('CPlane::Loadで"données\\absent.bmp"の読み込みに失敗'),
                 f'the framework\'s message in UTF-8: {lines[2]!r}')
    with open(os.path.join(folder, 'café_日本語_한국.txt'), 'rb') as note:
        checks.equal(note.read().decode('utf-8'), 'Grüße, 世界', 'the file under its Unicode name')

checks.equal(screens['ja_JP.UTF-8'] == screens['en_US.UTF-8'], True, 'the same pixels under both locales')


def ink(rect):
    """Pixels of the rectangle that are not the gradient."""
    left, top, right, bottom = rect
    return {(x, y) for y in range(top, bottom) for x in range(left, right) if screen.pixel(x, y) != gradient(y)}


for i in range(6):
    left, top = 16 + (i // 3) * 300, 60 + (i % 3) * 48
    points = ink((left, top, left + 280, top + 44))
    full = sum(1 for x, y in points if screen.pixel(x, y) == WHITE)
    mixed = len(points) - full
    checks.check(full > 40 and mixed > 40, f'line {i}: {full} white and {mixed} smooth-edge pixels')

# Translucent white at level 128 over the gradient: no pixel is white, each lies half-way.
faded = ink((16, 210, 400, 240))
whites = sum(1 for x, y in faded if screen.pixel(x, y) == WHITE)
brightest = max(screen.pixel(x, y) >> 16 for x, y in faded) if faded else 0
checks.check(len(faded) > 100 and whites == 0 and 0x80 <= brightest <= 0x90,
             f'translucent text: {len(faded)} pixels, none white, red at most {brightest:#x}')

# Paragraphs: text rows form several bands, within the 290 pixels they were wrapped to.
for left in (16, 326):
    points = ink((left, 250, left + 300, 410))
    rows = sorted({y for _, y in points})
    bands = 1 + sum(1 for a, b in zip(rows, rows[1:]) if b - a > 2)
    right = max(x for x, _ in points) - left
    checks.check(bands >= 3 and right < 294, f'paragraph at {left}: {bands} lines, {right} pixels wide')

# The centred label: as much room on its left as on its right within the 608-pixel box.
points = ink((16, 420, 630, 450))
xs = [x for x, _ in points]
room_left, room_right = min(xs) - 16, 16 + 608 - 1 - max(xs)
checks.check(abs(room_left - room_right) <= 4, f'centred label: {room_left} left, {room_right} right')
checks.done()
