"""A short scripted tour of the game for a machine without a desktop: moves the selection, opens
and closes a panel, switches the frame-rate read-out off and on, enlarges the window, takes
screenshots with S, and writes them as PNG files into the output folder.
    python3 scripts/tour.py <wine-run wrapper> <PyroPlaza.exe> <output folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from game_driver import Game, GameError


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    wine_run, exe, out = sys.argv[1:]
    workdir = tempfile.mkdtemp(prefix="pyro-tour-")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    game = Game(wine_run, exe, workdir, log=lambda text: print(f"tour: {text}", flush=True))
    shots = []
    try:
        game.start()
        shots.append(("start", game.focus()))
        print("tour: the menu is up; [0] is selected (red)", flush=True)
        steps = [
            ("Right", "right", "Right moves the selection to [1]"),
            ("Down", "down", "Down moves it to [3]"),
            ("z", "panel", "Z opens the panel of [3]; the menu turns light grey"),
            ("x", "closed", "X closes the panel"),
            ("f", "no-readout", "F switches the frame-rate read-out off"),
        ]
        for key, name, what in steps:
            game.key(key)
            shots.append((name, game.screenshot()))
            print(f"tour: {what}", flush=True)
        game.key("f")
        size = game.resize_client(640, 480)
        time.sleep(1.5)  # the read-out measures over the last second; dragging held the loop up
        game.key("2")
        shots.append(("large", game.screenshot()))
        print(f"tour: the window dragged to {size[0]}x{size[1]}: the screen is magnified, the text"
              " drawn at the larger size; 2 opens the panel of [2]", flush=True)
        game.key("Escape")
        code, _ = game.wait_exit(10)
        print(f"tour: Escape ends the game (exit code {code})", flush=True)
    except GameError as error:
        print(f"tour: {error}", file=sys.stderr)
        return 1
    finally:
        game.kill()
    for number, (name, bmp) in enumerate(shots, 1):
        subprocess.run(["convert", bmp, os.path.join(out, f"{number}-{name}.png")], check=True)
    shutil.rmtree(workdir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
