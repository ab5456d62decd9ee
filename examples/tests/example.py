"""Runs an example under Wine and reads what it leaves: its printed output and its screen shots.

The environment gives the Wine prefix (WINEPREFIX) and the X display (DISPLAY); the programs run
with the Japanese locale, so that Wine's ANSI code page is 932 as the framework expects.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time


# The frame-rate read-out's corner of a screen.
READOUT = (0, 0, 160, 40)


def is_32bit(program):
    """Whether the program's PE header names the i386 machine."""
    try:
        with open(program, 'rb') as f:
            head = f.read(4096)
        offset = struct.unpack_from('<I', head, 60)[0]
        return head[:2] == b'MZ' and head[offset:offset + 4] == b'PE\0\0' and \
            struct.unpack_from('<H', head, offset + 4)[0] == 0x14c
    except (OSError, struct.error):
        return False


def wine(program):
    """The Wine loader for the program's size: Debian's 32-bit loader for a 32-bit program."""
    if is_32bit(program):
        candidates = ('/usr/lib/wine/wine', shutil.which('wine'))
    else:
        candidates = (os.environ.get('PYRO_WINE'), '/usr/lib/wine/wine64', shutil.which('wine64'),
                      shutil.which('wine'))
    for candidate in candidates:
        if candidate and os.path.exists(candidate):
            return candidate
    sys.exit(f'no Wine loader found for {program}')


def run(program, *args, timeout=120, env=None):
    """Runs the program in its own folder, where its data lies, and returns (exit code, its
    output and error output)."""
    environment = dict(os.environ, LANG='ja_JP.UTF-8', LC_ALL='ja_JP.UTF-8',
                       WINEDLLOVERRIDES='mscoree,mshtml=')
    environment.setdefault('WINEDEBUG', '-all')
    environment.update(env or {})
    # Wine's background processes inherit the output descriptors and outlive the program: read
    # the output from a file rather than waiting for a pipe to close.
    with tempfile.TemporaryFile() as out:
        code = subprocess.call([wine(program), program, *args], stdout=out, stderr=out,
                               stdin=subprocess.DEVNULL, env=environment, timeout=timeout,
                               cwd=os.path.dirname(os.path.abspath(program)))
        out.seek(0)
        return code, out.read().decode('utf-8', 'replace')


def shot(program, name, frames, *args, env=None, dib=True):
    """Runs the program for the frames and returns (exit code, output, the last frame's Bitmap
    written to name in the current folder). On Direct3D 11 the program also writes the swap
    chain's picture, which must be the same file; then, unless dib is False (a test that records
    the run's sound), the same frames run on the DIB back-end and must give the same picture but
    for the frame-rate read-out's corner, whose figures vary from run to run. A difference turns
    the exit code into 97 or 98."""
    path = os.path.abspath(name)
    presented = path + '.presented.bmp'
    for old in (path, presented):
        if os.path.exists(old):
            os.remove(old)
    # Wine's drive Z: is the root of the file system.
    code, output = run(program, '--shot', 'Z:' + path.replace('/', '\\'), '--frames', str(frames), *args, env=env)
    if code == 0 and os.path.exists(path) and os.path.exists(presented):
        with open(path, 'rb') as f, open(presented, 'rb') as g:
            if f.read() != g.read():
                code, output = 97, output + '\nthe swap chain shows another picture than the back buffer\n'
        if dib:
            dib_path = path + '.dib.bmp'
            if os.path.exists(dib_path):
                os.remove(dib_path)
            dib_code, _ = run(program, '--shot', 'Z:' + dib_path.replace('/', '\\'), '--frames', str(frames), *args,
                              env=dict(env or {}, PYRO_DISPLAY='dib'))
            same = dib_code == 0 and os.path.exists(dib_path)
            if same:
                a, b = Bitmap(path), Bitmap(dib_path)
                same = (a.width, a.height) == (b.width, b.height) and all(
                    a.pixel(x, y) == b.pixel(x, y) for y in range(a.height) for x in range(a.width)
                    if not (x < READOUT[2] and y < READOUT[3]))
            if not same:
                code, output = 98, output + '\nthe DIB back-end shows another picture than Direct3D 11\n'
    return code, output, Bitmap(path) if os.path.exists(path) else None


def start(program, *args, env=None):
    """Starts the program and returns (process, file its output goes to)."""
    environment = dict(os.environ, LANG='ja_JP.UTF-8', LC_ALL='ja_JP.UTF-8',
                       WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=')
    environment.update(env or {})
    out = tempfile.NamedTemporaryFile(delete=False)
    process = subprocess.Popen([wine(program), program, *args], stdout=out, stderr=out,
                               cwd=os.path.dirname(os.path.abspath(program)),
                               stdin=subprocess.DEVNULL, env=environment)
    return process, out.name


def xdotool(*args):
    return subprocess.run(['xdotool', *args], capture_output=True, text=True).stdout.strip()


def wait_for(predicate, seconds=30):
    """The first true result of predicate, tried every 0.2 s; None after the seconds."""
    end = time.time() + seconds
    while time.time() < end:
        result = predicate()
        if result:
            return result
        time.sleep(0.2)
    return None


def focus(caption):
    """Waits for the program's window and gives it the keyboard (there is no window manager
    under Xvfb); its X window id, or None."""
    window = wait_for(lambda: xdotool('search', '--name', f'^{caption}$').split('\n')[0])
    if window:
        xdotool('windowfocus', '--sync', window)
        time.sleep(1.0)
    return window


def press(key):
    """Holds the key as a finger would: the programs poll once per frame."""
    xdotool('keydown', key)
    time.sleep(0.3)
    xdotool('keyup', key)
    time.sleep(0.3)


class Bitmap:
    """A 24-bit Windows bitmap as the framework writes it; pixels as 0xRRGGBB."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        if data[:2] != b'BM':
            raise ValueError(f'{path} is not a bitmap')
        offset, = struct.unpack_from('<I', data, 10)
        self.width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
        if bits != 24:
            raise ValueError(f'{path} has {bits} bits per pixel')
        self.height = abs(height)
        self.bottom_up = height > 0
        self.stride = (self.width * 3 + 3) & ~3
        self.data = data
        self.offset = offset

    def pixel(self, x, y):
        row = self.height - 1 - y if self.bottom_up else y
        i = self.offset + row * self.stride + x * 3
        b, g, r = self.data[i], self.data[i + 1], self.data[i + 2]
        return (r << 16) | (g << 8) | b

    def count(self, rect, predicate):
        """How many pixels of rect (left, top, right, bottom) satisfy predicate(colour)."""
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if predicate(self.pixel(x, y)))

    def colours(self, rect):
        left, top, right, bottom = rect
        return {self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)}


class Checks:
    """Collects failed checks so that a test reports all of them, then exits 1 if any failed."""

    def __init__(self):
        self.failed = 0

    def check(self, condition, what):
        print(('ok   ' if condition else 'FAIL ') + what)
        if not condition:
            self.failed += 1

    def equal(self, actual, expected, what):
        self.check(actual == expected, f'{what}: {fmt(actual)}' +
                   ('' if actual == expected else f', expected {fmt(expected)}'))

    def done(self):
        print(f'{self.failed} failed' if self.failed else 'all checks passed')
        sys.exit(1 if self.failed else 0)


def fmt(value):
    if isinstance(value, (set, frozenset)):
        return '{' + ', '.join(fmt(v) for v in sorted(value)) + '}'
    return f'{value:06X}' if isinstance(value, int) and value > 255 else repr(value)


if __name__ == '__main__':
    # example.py PROGRAM [ARGUMENTS...]: runs a program under Wine and passes on its output and
    # exit code.
    code, output = run(*sys.argv[1:])
    print(output, end='')
    sys.exit(code)
