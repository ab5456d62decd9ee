"""Shared parts of the end-to-end tests: a game in a fresh base directory, the scene's geometry
and colours, and checks that report every failure before the test ends."""
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from game_driver import CAPTION, Game, GameError, Image  # noqa: E402,F401

BLUE = 0x0000FF
FOCUSED = 0x404040
UNFOCUSED = 0x808080
RED = 0xFF0000
WHITE = 0xFFFFFF

MENU = (79, 55, 175, 119)
# The four buttons' cells on the logical screen, "[0]" to "[3]".
CELLS = [(79, 55, 127, 87), (127, 55, 175, 87), (79, 87, 127, 119), (127, 87, 175, 119)]
# Where the frame-rate read-out is drawn (top-left corner of the back buffer).
READOUT = (0, 0, 120, 30)


def scaled(rect, m):
    return tuple(v * m for v in rect)


def grey(p):
    return p >> 16 == (p >> 8) & 0xFF == p & 0xFF


def reddish(p):
    """Red text and its antialiased edges: green equals blue, red at least as strong."""
    return (p >> 8) & 0xFF == p & 0xFF and p >> 16 >= p & 0xFF


def label_colours(image, m=1):
    """(pure red, pure white) pixel counts of each button's cell."""
    result = []
    for cell in CELLS:
        pixels = image.region(*scaled(cell, m))
        result.append((pixels.count(RED), pixels.count(WHITE)))
    return result


def outside(rect, width, height):
    left, top, right, bottom = rect
    return [(x, y) for y in range(height) for x in range(width)
            if not (left <= x < right and top <= y < bottom)]


def background(image):
    """Pixels of the 320 by 240 screen outside the menu and outside the read-out's corner."""
    return [image.at(x, y) for x, y in outside(MENU, 320, 240)
            if not (x < READOUT[2] and y < READOUT[3])]


class Test:
    """Runs one end-to-end scenario: python3 <test>.py <wine-run> <PyroPlaza.exe> [extra...].
    The game starts in a fresh directory with a Japanese name, its base directory."""

    def __init__(self, name, extra=()):
        if len(sys.argv) != 3 + len(extra):
            sys.exit(f"usage: {sys.argv[0]} <wine-run wrapper> <PyroPlaza.exe>" + "".join(f" <{e}>" for e in extra))
        self.name = name
        self.args = sys.argv[3:]
        self.failures = 0
        self.workdir = tempfile.mkdtemp(prefix=f"pyro-{name}-画面-")
        self.games = []
        self.game = self.new_game()

    def new_game(self, env=None, subdir=None):
        """A further run of the game (env: variables such as PYRO_LOCALE or WINEPREFIX), in its
        own directory below the working directory when subdir is given."""
        workdir = self.workdir
        if subdir:
            workdir = os.path.join(self.workdir, subdir)
            os.makedirs(workdir)
        game = Game(sys.argv[1], sys.argv[2], workdir, log=self.log, env=env)
        self.games.append(game)
        return game

    def log(self, text):
        print(f"[{self.name}] {text}", flush=True)

    def check(self, condition, what):
        if condition:
            self.log(f"ok: {what}")
        else:
            self.failures += 1
            self.log(f"FAILED: {what}")
        return condition

    def require(self, condition, what):
        if not self.check(condition, what):
            raise GameError(f"cannot go on after: {what}")

    def run(self, scenario):
        try:
            scenario(self, self.game)
        except GameError as error:
            self.failures += 1
            self.log(f"FAILED: {error}")
        finally:
            for game in self.games:
                game.kill()
        if self.failures:
            self.log(f"{self.failures} failure(s); screenshots kept in {self.workdir}")
            sys.exit(1)
        shutil.rmtree(self.workdir, ignore_errors=True)
        self.log("all passed")

    # ---- Checks shared by the scenarios ----

    def check_menu(self, image, selected, focused=True, m=1):
        """The menu's rectangle is its fill wherever no glyph is, the selected label is red and
        the others are white. One line of output, with the details when it fails."""
        fill = FOCUSED if focused else UNFOCUSED
        pixels = image.region(*scaled(MENU, m))
        problems = []
        if pixels.count(fill) <= len(pixels) // 2:
            problems.append(f"fill {fill:06X} on only {pixels.count(fill)} of {len(pixels)} pixels")
        strays = [p for p in pixels if p != fill and not (grey(p) or reddish(p))]
        if strays:
            problems.append(f"{len(strays)} pixels neither fill nor glyph, e.g. {strays[0]:06X}")
        colours = label_colours(image, m)
        for i, (red, white) in enumerate(colours):
            ok = red > 20 and white == 0 if i == selected else white > 20 and red == 0
            if not ok:
                problems.append(f"[{i}] has {red} red and {white} white pixels")
        state = f"[{selected}] selected" if selected is not None else "nothing selected"
        focus = "" if focused else ", unfocused"
        self.check(not problems, f"menu in {fill:06X} with {state}{focus}" + (": " + "; ".join(problems) if problems else ""))

    def quit(self, game, key, what):
        """Presses the key and checks that the game ends with exit code 0."""
        start = time.monotonic()
        game.key(key)
        code, _ = game.wait_exit(10)
        seconds = time.monotonic() - start
        self.check(code == 0, f"{what}: exit code {code} {seconds:.2f} s after the key went down")
        if code == 0 and seconds > 2:
            self.log(f"note: the process took {seconds:.2f} s to end")
