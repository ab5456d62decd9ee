"""Number panels opened and closed with the keys and the mouse, cancelling the menu, and Escape
while a panel is open, played on the real game."""
from e2e_common import BLUE, CELLS, FOCUSED, MENU, READOUT, WHITE, Image, Test, background, grey


def panel_rect(n):
    return (20 * n, 20 * n, 20 * n + 240, 20 * n + 32)


def ring(rect):
    """The pixels just outside a rectangle."""
    left, top, right, bottom = rect
    return ([(x, top - 1) for x in range(left, right)] + [(x, bottom) for x in range(left, right)] +
            [(left - 1, y) for y in range(top, bottom)] + [(right, y) for y in range(top, bottom)])


def white_mask(image, left, top, right, bottom):
    return [[image.at(x, y) == WHITE for x in range(left, right)] for y in range(top, bottom)]


def scenario(t, game):
    game.start()
    start = Image(game.focus())
    t.check_menu(start, selected=0)

    def check_panel(image, n, what):
        t.log(what)
        rect = panel_rect(n)
        pixels = [image.at(x, y) for y in range(rect[1], rect[3]) for x in range(rect[0], rect[2])
                  if not (x < READOUT[2] and y < READOUT[3])]
        t.check(pixels.count(FOCUSED) > len(pixels) // 2, f"panel {n} at {rect[:2]} is 404040")
        t.check(all(p == FOCUSED or grey(p) for p in pixels), "panel shows only its fill and white text")
        t.check(pixels.count(WHITE) > 100, f"panel text is white ({pixels.count(WHITE)} pixels)")
        edge = [image.at(x, y) for x, y in ring(rect) if x >= 0 and y >= 0]
        t.check(FOCUSED not in edge, "panel is 240 by 32")
        # The menu below shows in the lighter grey where the panel leaves it uncovered.
        uncovered = [image.at(x, y) for y in range(MENU[1], MENU[3]) for x in range(MENU[0], MENU[2])
                     if not (rect[0] <= x < rect[2] and rect[1] <= y < rect[3])]
        t.check(FOCUSED not in uncovered and uncovered.count(0x808080) > len(uncovered) // 3,
                "the menu below is 808080")

    def check_closed(image, selected, what):
        t.log(what)
        t.check_menu(image, selected=selected)
        t.check(all(p == BLUE for p in background(image)), "no panel left on the screen")

    # The digit 2 chooses "[2]" at once.
    game.key("2")
    image = game.shot()
    check_panel(image, 2, "2 opens panel 2")
    # Its text is "ナンバー2！！": the white glyph of the digit in the unselected label "[2]" of
    # the first screen (same font and size) appears in the panel's text after the four katakana.
    digit = white_mask(start, CELLS[2][0] + 14, CELLS[2][1], CELLS[2][0] + 31, CELLS[2][3])
    found = [x for x in range(64, 280 - 17) if white_mask(image, x, 40, x + 17, 72) == digit]
    t.check(any(map(any, digit)) and len(found) == 1 and found[0] > 64 + 100,
            f"the panel reads ナンバー2！！ (the digit's glyph at x = {found})")

    game.key("z")
    check_closed(game.shot(), 2, "Z closes the panel")

    game.key("3")
    check_panel(game.shot(), 3, "3 opens panel 3")
    game.key("x")
    check_closed(game.shot(), 3, "X closes it too")

    # Mouse: a click on a button opens its panel.
    game.click(127 + 24, 55 + 16)
    check_panel(game.shot(), 1, "clicking [1] opens panel 1")
    game.click(300, 200)
    check_panel(game.shot(), 1, "a left click outside the panel does nothing")
    game.click(300, 200, button=3)
    check_closed(game.shot(), 1, "a right click outside closes it")
    game.click(79 + 24, 55 + 16)
    check_panel(game.shot(), 0, "clicking [0] opens panel 0")
    game.click(100, 10)
    check_closed(game.shot(), 0, "a left click inside the panel closes it")
    game.click(127 + 24, 55 + 16, button=3)
    check_closed(game.shot(), 0, "a right click inside the menu does nothing")

    # Escape ends the game also while a panel is open.
    game.key("2")
    check_panel(game.shot(), 2, "2 opens panel 2 again")
    t.quit(game, "Escape", "Escape ends the game while a panel is open")


Test("panels").run(scenario)
