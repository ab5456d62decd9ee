"""The game under the Japanese locale (ANSI code page 932) and then under the English one (1252):
X shows the same window name, and the screens the game saves are the same bytes, the panel's
Japanese text included. Both runs save into directories with Japanese names."""
from e2e_common import CAPTION, Test

LOCALES = [("ja_JP.UTF-8", "日本語"), ("en_US.UTF-8", "英語")]


def play(t, game):
    """The screens of one run: the menu, panel 2 ("ナンバー2！！") and the menu after it, with
    the frame-rate read-out off (its figures vary from run to run)."""
    game.start()
    name = game.window_name()
    t.check(name == CAPTION, f"the window's name in X is {CAPTION} ({name!r})")
    game.focus()
    game.key("f")
    shots = [game.screenshot()]
    game.key("2")
    shots.append(game.screenshot())
    game.key("z")
    shots.append(game.screenshot())
    t.quit(game, "Escape", "Escape ends the game")
    return [open(path, "rb").read() for path in shots]


def scenario(t, _):
    runs = {}
    for locale, folder in LOCALES:
        t.log(f"under {locale}")
        runs[locale] = play(t, t.new_game(env={"PYRO_LOCALE": locale}, subdir=folder))
    japanese, english = runs[LOCALES[0][0]], runs[LOCALES[1][0]]
    for i, what in enumerate(["menu", "panel 2", "menu after the panel"]):
        t.check(japanese[i] == english[i], f"the {what} saved under English is the one saved under Japanese")
    t.check(japanese[0] != japanese[1], "the panel changed the screen")


Test("locales").run(scenario)
