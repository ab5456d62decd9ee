"""The first screen, moving the selection with the arrows and Tab, the frame-rate read-out on
and off, and Escape, played on the real game."""
from e2e_common import BLUE, MENU, READOUT, Image, Test, background


def scenario(t, game):
    game.start()
    image = Image(game.focus())

    # The first screen: 320 by 240, blue around the menu, "[0]" selected.
    t.require((image.width, image.height) == (320, 240), f"first screenshot is 320x240 ({image.width}x{image.height})")
    t.check(all(p == BLUE for p in background(image)), "background outside the menu is 0000FF")
    t.check(any(image.at(x, y) != BLUE for x in range(READOUT[2]) for y in range(READOUT[3])),
            "the frame-rate read-out shows in the top-left corner")
    t.check_menu(image, selected=0)
    menu_at_start = image.region(*MENU)

    def after(key, expected, what, shift=False):
        t.log(what)
        game.key(f"shift+{key}" if shift else key)
        shot = game.shot()
        t.check_menu(shot, selected=expected)
        return shot

    after("Right", 1, "Right selects [1]")
    before = game.shot().region(*MENU)
    shot = after("Right", 1, "Right again changes nothing")
    t.check(shot.region(*MENU) == before, "Right at the edge leaves the menu as it was")
    after("Down", 3, "Down from [1] selects [3]")
    after("Left", 2, "Left from [3] selects [2]")
    after("Up", 0, "Up from [2] selects [0]")
    shot = after("Up", 0, "Up from [0] does nothing")
    t.check(shot.region(*MENU) == menu_at_start, "the menu looks as at the start again")

    # Tab walks the buttons in order and wraps; Shift+Tab walks back.
    for expected in (1, 2, 3, 0):
        after("Tab", expected, "Tab")
    for expected in (3, 2):
        after("Tab", expected, "Shift+Tab", shift=True)
    # The numeric keypad moves too.
    after("KP_Up", 0, "keypad 8 moves up")
    after("KP_Right", 1, "keypad 6 moves right")

    # F hides the read-out and F again shows it.
    game.key("f")
    shot = game.shot()
    t.check(all(p == BLUE for p in shot.region(*READOUT)), "after F the top-left corner is background")
    game.key("f")
    shot = game.shot()
    t.check(any(p != BLUE for p in shot.region(*READOUT)), "after F again the read-out is back")

    # Cancel on the menu takes it off the screen; the scene keys still work.
    game.key("x")
    shot = game.shot()
    t.check(all(p == BLUE for p in shot.region(0, READOUT[3], 320, 240)), "X on the menu leaves only the background")

    t.quit(game, "Escape", "Escape ends the game")


Test("menu").run(scenario)
