"""The game on a 200 % screen (a Wine prefix at 192 DPI): it opens with a 640 by 480 client area at
magnification 2, and its first screen is the one the game shows at 96 DPI in a window dragged to
640 by 480.
python3 e2e_dpi.py <wine-run> <PyroPlaza.exe> <window_client_size.exe> <192 DPI prefix>"""
import os
import subprocess

from e2e_common import BLUE, Image, Test


def client_size(t, game, helper):
    """The client area of the game's window, as Windows reports it in the game's prefix."""
    out = subprocess.run([t.game.wine_run, helper, "PYROPLAZ"], env=game.env, capture_output=True, text=True)
    values = out.stdout.split()
    return tuple(map(int, values)) if out.returncode == 0 and len(values) == 2 else None


def scenario(t, game):
    helper, prefix = t.args
    t.require(os.path.isfile(os.path.join(prefix, "user.reg")), f"the 192 DPI prefix {prefix} exists (scripts/setup.sh)")

    # The reference: 96 DPI, the window dragged to 640 by 480.
    game.start()
    game.focus()
    game.key("f")  # the read-out's figures vary from run to run
    t.require(game.resize_client(640, 480) == (640, 480), "at 96 DPI the window is dragged to 640x480")
    dragged = game.screenshot()
    t.quit(game, "Escape", "Escape ends the game at 96 DPI")

    high = t.new_game(env={"WINEPREFIX": prefix}, subdir="192")
    try:
        high.start(client=(640, 480))
        size = client_size(t, high, helper)
        t.require(size == (640, 480), f"at 192 DPI the game opens with a 640x480 client area ({size})")
        high.focus()
        high.key("f")
        shot = Image(high.screenshot())
        t.require((shot.width, shot.height) == (640, 480), f"the screenshot is 640x480 ({shot.width}x{shot.height})")
        t.check(shot.at(0, 0) == BLUE and shot.at(639, 479) == BLUE, "the background fills the magnified screen")
        t.check_menu(shot, selected=0, m=2)
        t.check(open(shot.path, "rb").read() == open(dragged, "rb").read(),
                "the screen is the one at 96 DPI in a window dragged to 640x480")
        t.quit(high, "Escape", "Escape ends the game at 192 DPI")
    finally:
        high.kill()
        # The prefix's own Wine server ends with the test, before the display does.
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=high.env, check=False)


Test("dpi", extra=("window_client_size.exe", "192 DPI prefix")).run(scenario)
