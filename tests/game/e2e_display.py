"""The game on each display back-end, chosen with PYRO_DISPLAY: what the X window shows is the
screenshot the game writes from its back buffer, byte for byte, at 96 DPI (magnification 1) and
in the 192 DPI prefix (magnification 2); Direct3D 11 and GDI show the same pixels; a Direct3D
device that cannot be made leaves the game on GDI with one line in the error log.
python3 e2e_display.py <wine-run> <PyroPlaza.exe> <192 DPI prefix>"""
import os
import re
import subprocess

from e2e_common import Image, Test


def window_pixels(game, width, height):
    """The client area of the game's window as X has it, rows of 0xRRGGBB values."""
    out = subprocess.run(["import", "-window", game.window, "-depth", "8", "ppm:-"], capture_output=True, check=False)
    data = out.stdout
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    if out.returncode != 0 or not match:
        return None
    full_width = int(match.group(1))
    body = data[match.end():]
    rows = []
    for y in range(game.top, game.top + height):
        row = body[(y * full_width + game.border) * 3:(y * full_width + game.border + width) * 3]
        rows.append([row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2] for x in range(width)])
    return rows


def error_lines(output):
    """The error log's lines in Wine's seh channel output (see the guide's Diagnostics)."""
    lines = []
    for escaped in re.findall(r'OutputDebugStringA "(.*)\\n"', output):
        raw = escaped.encode("latin-1").decode("unicode_escape").encode("latin-1")
        lines.append(raw.decode("cp932", errors="replace"))
    return lines


def scenario(t, game):
    (prefix,) = t.args
    t.require(os.path.isfile(os.path.join(prefix, "user.reg")), f"the 192 DPI prefix {prefix} exists (scripts/setup.sh)")
    game.kill()
    seen = {}
    for m, env in ((1, {}), (2, {"WINEPREFIX": prefix})):
        size = (320 * m, 240 * m)
        for kind in ("dib", "d3d11"):
            run = t.new_game(env=dict(env, PYRO_DISPLAY=kind), subdir=f"{kind}-{m}")
            run.start(client=size)
            run.focus()
            run.key("f")  # the read-out's figures change from frame to frame
            shot = Image(run.screenshot())
            t.require((shot.width, shot.height) == size, f"{kind} at x{m}: the screenshot is {size[0]}x{size[1]}")
            shown = window_pixels(run, *size)
            t.check(shown == shot.rows, f"{kind} at x{m}: the X window shows the back buffer exactly")
            seen[kind, m] = (shown, open(shot.path, "rb").read())
            t.quit(run, "Escape", f"Escape ends the game on {kind} at x{m}")
        t.check(seen["d3d11", m][0] == seen["dib", m][0], f"x{m}: Direct3D 11 and GDI show the same pixels in X")
        t.check(seen["d3d11", m][1] == seen["dib", m][1], f"x{m}: the screenshots of both back-ends are identical")
        if env:
            subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, **env), check=False)

    # A device that cannot be made: one line in the log, and the window shows what GDI shows.
    failing = t.new_game(env={"PYRO_DISPLAY": "d3d11", "PYRO_D3D11_FAULT": "device",
                              "WINEDEBUG": "-all,warn+seh"}, subdir="fault")
    failing.output = os.path.join(t.workdir, "fault.log")
    failing.start()
    failing.focus()
    failing.key("f")
    shown = window_pixels(failing, 320, 240)
    t.check(shown == seen["dib", 1][0], "after the failed start the window shows the GDI picture")
    t.quit(failing, "Escape", "Escape ends the game after the fall-back")
    lines = [line for line in error_lines(open(failing.output, encoding="latin-1").read()) if "CD3D11Draw" in line]
    t.check(len(lines) == 1 and lines[0].startswith("CD3D11Draw::StartでD3D11CreateDeviceに失敗"),
            f"one line in the error log: {lines}")


Test("display", extra=("192 DPI prefix",)).run(scenario)
