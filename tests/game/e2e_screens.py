"""Screenshot numbering, the window resized to 640 by 480 (magnification 2, labels rendered at
twice the font size rather than stretched) and closing the window, played on the real game."""
import os

from e2e_common import BLUE, CELLS, FOCUSED, Image, Test, scaled


def glyph_box(image, cell, m):
    """Top and bottom of the label's glyph pixels in a button's cell."""
    left, top, right, bottom = scaled(cell, m)
    rows = [y for y in range(top, bottom) if any(image.at(x, y) != FOCUSED for x in range(left, right))]
    return (rows[0], rows[-1] + 1) if rows else (0, 0)


def uneven_blocks(image, cell, m, dx, dy):
    """Of the 2 by 2 blocks (starting at the offset) that hold a glyph pixel, the share whose four
    pixels are not all equal. A label stretched from half the size would be made of equal blocks
    for one of the offsets."""
    left, top, right, bottom = scaled(cell, m)
    glyph = uneven = 0
    for y in range(top + dy, bottom - 1, 2):
        for x in range(left + dx, right - 1, 2):
            block = {image.at(x, y), image.at(x + 1, y), image.at(x, y + 1), image.at(x + 1, y + 1)}
            if block != {FOCUSED}:
                glyph += 1
                uneven += len(block) > 1
    return uneven / glyph if glyph else 0.0


def scenario(t, game):
    game.start()
    first = game.focus()
    second = game.screenshot()
    t.check([os.path.basename(first), os.path.basename(second)] == ["000.bmp", "001.bmp"],
            f"S twice writes 000.bmp then 001.bmp ({os.path.basename(first)}, {os.path.basename(second)})")
    small = Image(second)

    # A gap in the numbers is filled first.
    game.screenshot()
    os.remove(os.path.join(game.workdir, "001.bmp"))
    refill = game.screenshot()
    t.check(os.path.basename(refill) == "001.bmp",
            f"with 000.bmp present and 001.bmp absent the next is 001.bmp ({os.path.basename(refill)})")

    # A player drags the window larger: magnification 2.
    size = game.resize_client(640, 480)
    t.require(size == (640, 480), f"the client area is 640x480 after dragging ({size[0]}x{size[1]})")
    big = game.shot()
    t.require((big.width, big.height) == (640, 480), f"the screenshot is 640x480 ({big.width}x{big.height})")
    t.check(big.at(639, 479) == BLUE and big.at(320, 400) == BLUE, "the background fills the larger screen")
    t.check_menu(big, selected=0, m=2)
    for i, cell in enumerate(CELLS):
        top1, bottom1 = glyph_box(small, cell, 1)
        top2, bottom2 = glyph_box(big, cell, 2)
        ratio = (bottom2 - top2) / max(1, bottom1 - top1)
        even = min(uneven_blocks(big, cell, 2, dx, dy) for dx in (0, 1) for dy in (0, 1))
        t.check(1.7 <= ratio <= 2.3 and even >= 0.1,
                f"[{i}] is twice as tall ({bottom1 - top1} -> {bottom2 - top2} rows) and rendered, "
                f"not stretched ({even:.0%} uneven blocks)")

    # Closing the window ends the game.
    t.quit(game, "alt+F4", "closing the window ends the game")


Test("screens").run(scenario)
