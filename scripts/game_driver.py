"""Plays the game as a player would: starts PyroPlaza.exe under Wine on the current X display,
finds its window by caption, presses keys and clicks with xdotool, and reads back the 24-bit
bitmaps the game itself writes when S is pressed. Used by ./run's tour and the end-to-end tests.

Everything waits by polling with generous time-outs; nothing depends on exact timing.
"""
import os
import struct
import subprocess
import time

CAPTION = "Pyro丸Plaza"
LOGICAL_WIDTH, LOGICAL_HEIGHT = 320, 240


class GameError(Exception):
    pass


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check and result.returncode != 0:
        raise GameError(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
    return result.stdout


def wait_until(condition, timeout, interval=0.05):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            return value
        time.sleep(interval)


class Image:
    """A 24-bit bitmap as rows of 0xRRGGBB values."""

    def __init__(self, path):
        data = open(path, "rb").read()
        if len(data) < 54 or data[:2] != b"BM":
            raise GameError(f"{path}: not a bitmap file")
        offset = struct.unpack_from("<I", data, 10)[0]
        width, height = struct.unpack_from("<ii", data, 18)
        bits = struct.unpack_from("<H", data, 28)[0]
        if bits != 24:
            raise GameError(f"{path}: {bits} bits per pixel, not 24")
        self.path, self.width, self.height = path, width, abs(height)
        stride = (width * 3 + 3) & ~3
        if offset + stride * self.height > len(data):
            raise GameError(f"{path}: shorter than its header says")
        self.rows = []
        for y in range(self.height):
            # Bottom-up unless the height is negative.
            row = offset + (self.height - 1 - y if height > 0 else y) * stride
            line = data[row:row + width * 3]
            self.rows.append([line[3 * x + 2] << 16 | line[3 * x + 1] << 8 | line[3 * x] for x in range(width)])

    def at(self, x, y):
        return self.rows[y][x]

    def region(self, left, top, right, bottom):
        """Pixels of the rectangle (right and bottom exclusive), row by row."""
        return [self.rows[y][x] for y in range(top, bottom) for x in range(left, right)]


class Game:
    """One run of the game in a working directory, which is its base directory: screenshots
    appear there."""

    def __init__(self, wine_run, exe, workdir, log=print, env=None):
        """env: variables to set for the game, such as PYRO_LOCALE or WINEPREFIX."""
        # The game runs in the working directory: the paths must not depend on ours.
        self.wine_run, self.exe = os.path.abspath(wine_run), os.path.abspath(exe)
        self.workdir, self.log = workdir, log
        self.env = dict(os.environ, **(env or {}))
        self.process = None
        self.output = None  # a file for the game's output (Wine's debug channels), else none
        self.window = None
        self.border = self.top = 0  # the frame around the client area

    # ---- Start and end ----

    def start(self, timeout=30, client=(LOGICAL_WIDTH, LOGICAL_HEIGHT)):
        """Starts the game and finds its window, whose client area is expected to be client."""
        sink = open(self.output, "wb") if self.output else subprocess.DEVNULL
        self.process = subprocess.Popen([self.wine_run, self.exe], cwd=self.workdir, env=self.env,
                                        stdout=sink, stderr=subprocess.STDOUT if self.output else subprocess.DEVNULL)
        if self.output:
            sink.close()
        self.window = wait_until(self._find_window, timeout, 0.1)
        if not self.window:
            self.kill()
            raise GameError(f"no window captioned {CAPTION} within {timeout} s")
        # What is left over around the client area is the frame.
        x, y, width, height = self.geometry()
        self.border = (width - client[0]) // 2
        self.top = height - client[1] - self.border
        self.log(f"window {self.window} captioned {CAPTION} at ({x}, {y}), {width}x{height}, "
                 f"client at +{self.border}+{self.top}")

    def _find_window(self):
        out = xdotool("search", "--onlyvisible", "--name", f"^{CAPTION}$", check=False).split()
        return out[0] if out else None

    def focus(self, timeout=30):
        """Gives the window the keyboard and waits until the game answers S with a screenshot,
        which proves that the keys arrive and the frame loop runs. Returns that screenshot."""
        end = time.monotonic() + timeout
        attempt = 0
        while time.monotonic() < end:
            xdotool("windowfocus", "--sync", self.window, check=False)
            time.sleep(0.3)
            if attempt >= 2:
                # Clicking the caption bar activates the window the way a player would.
                x, y, width, _ = self.geometry()
                xdotool("mousemove", x + width // 2, y + self.top // 2)
                xdotool("click", 1)
                time.sleep(0.3)
            attempt += 1
            shot = self.screenshot(timeout=2, retry=False)
            if shot:
                return shot
        raise GameError("the game did not answer the keyboard")

    def window_name(self):
        """The window's name as X has it (Wine sets it from the caption)."""
        return xdotool("getwindowname", self.window).rstrip("\n")

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=20):
        """The exit code and the seconds it took, or (None, timeout) when still running."""
        start = time.monotonic()
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None, timeout
        return code, time.monotonic() - start

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    # ---- Input ----

    def key(self, name, hold=0.12):
        """Presses and releases a key, held long enough for several 33 ms polls."""
        xdotool("keydown", name)
        time.sleep(hold)
        xdotool("keyup", name)
        time.sleep(0.08)

    def geometry(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def client_size(self):
        _, _, width, height = self.geometry()
        return width - 2 * self.border, height - self.top - self.border

    def move_mouse(self, x, y):
        """Places the cursor at a point of the client area."""
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + self.border + x, wy + self.top + y)
        time.sleep(0.1)

    def click(self, x, y, button=1, hold=0.12):
        """Clicks a point of the client area (1 left, 3 right)."""
        self.move_mouse(x, y)
        xdotool("mousedown", button)
        time.sleep(hold)
        xdotool("mouseup", button)
        time.sleep(0.1)

    def resize_client(self, width, height, attempts=3):
        """Drags the window's top-left corner, as a player would, until the client area has the
        size. Returns the size reached."""
        for _ in range(attempts):
            current = self.client_size()
            if current == (width, height):
                break
            x, y, _, _ = self.geometry()
            dx, dy = width - current[0], height - current[1]
            xdotool("mousemove", x + 1, y + 1)
            time.sleep(0.2)
            xdotool("mousedown", 1)
            time.sleep(0.2)
            # In two steps, so that the sizing loop sees movement even for a small change.
            xdotool("mousemove", x + 1 - dx // 2, y + 1 - dy // 2)
            time.sleep(0.2)
            xdotool("mousemove", x + 1 - dx, y + 1 - dy)
            time.sleep(0.3)
            xdotool("mouseup", 1)
            time.sleep(0.5)
        return self.client_size()

    # ---- Screenshots ----

    def bitmaps(self):
        return sorted(name for name in os.listdir(self.workdir) if name.endswith(".bmp"))

    def screenshot(self, timeout=10, retry=True):
        """Presses S and returns the path of the bitmap the game wrote, once complete; None when
        none came (only without retry). The game writes the first free name "%03d.bmp"."""
        before = set(self.bitmaps())
        end = time.monotonic() + timeout
        while True:
            self.key("s")
            new = wait_until(lambda: sorted(set(self.bitmaps()) - before), 1.5)
            if new:
                path = os.path.join(self.workdir, new[0])
                if wait_until(lambda: self._complete(path), 5):
                    return path
                raise GameError(f"{path} was not completed")
            if not retry or time.monotonic() > end:
                if retry:
                    raise GameError("no screenshot appeared after S")
                return None
            self.log("S was not answered; pressing it again")

    @staticmethod
    def _complete(path):
        try:
            data = open(path, "rb").read()
        except OSError:
            return False
        if len(data) < 54:
            return False
        return len(data) >= struct.unpack_from("<I", data, 2)[0]

    def shot(self):
        """A screenshot, read."""
        return Image(self.screenshot())
