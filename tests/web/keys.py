#!/usr/bin/python3
"""keys.py: the browser's keys, pressed through Chromium's own input, read in the game's key codes
(SDL 1.2's on every system) from Emscripten's SDL: its events' codes (gameKey) and its table of
held keys (readKeyTable, input/keycodes_web.cpp).

Run after tools/web.sh: /usr/bin/python3 tests/web/keys.py
"""

import unittest

from browser import *

# Each key as Selenium presses it, and its code in SDL 1.2, in an order that keeps the game
# running: Return before the arrows can light "exit", Escape, which may quit, last.
KEYS = [
    ('a', 97), ('z', 122), ('0', 48), ('9', 57), (';', 59), ('=', 61), ('-', 45), (',', 44), ('.', 46),
    ('/', 47), ('[', 91), ("'", 39), ('`', 96),
    (Keys.F1, 282), (Keys.F2, 283), (Keys.F10, 291),
    (Keys.NUMPAD0, 256), (Keys.NUMPAD5, 261), (Keys.NUMPAD9, 265), (Keys.MULTIPLY, 268), (Keys.ADD, 270),
    (Keys.SUBTRACT, 269), (Keys.DECIMAL, 266), (Keys.DIVIDE, 267),
    (Keys.SHIFT, 304), (Keys.CONTROL, 306), (Keys.ALT, 308),
    (Keys.HOME, 278), (Keys.END, 279), (Keys.PAGE_UP, 280), (Keys.PAGE_DOWN, 281), (Keys.INSERT, 277),
    (Keys.DELETE, 127), (Keys.TAB, 9), (Keys.BACKSPACE, 8), (Keys.RETURN, 13), (Keys.SPACE, 32),
    (Keys.PAUSE, 19), (Keys.LEFT, 276), (Keys.RIGHT, 275), (Keys.UP, 273), (Keys.DOWN, 274),
    (Keys.ESCAPE, 27),
]

HELD = """
    var table = _malloc(323);
    __Z12readKeyTablePh(table);
    var held = [];
    for (var key = 0; key < 323; key++)
        if (HEAPU8[table + key])
            held.push(key);
    _free(table);
    return held;"""


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


class KeyCodes(unittest.TestCase):
    def test_every_key_reads_as_sdl_1_2_names_it_held_and_let_go(self):
        browser = Browser(server)
        self.addCleanup(browser.quit)
        tab = browser.tab()
        tab.wait_for_picture()
        for key, code in KEYS:
            with self.subTest(code=code):
                # The game's frames take the key into SDL's table as they look at the queue.
                ActionChains(tab.front()).key_down(key).perform()
                try:
                    wait_until('%d held' % code, lambda: tab.run(HELD) == [code], 10)
                finally:
                    ActionChains(tab.front()).key_up(key).perform()
                # Escape on the main page ends the game, whose frames then look no more.
                wait_until('%d let go' % code, lambda: tab.run(HELD) == [] or tab.said() == 'The game has ended.', 10)
        self.assertEqual(tab.console_errors(), [])

    def test_the_codes_emscripten_gives_translate_as_sdl_1_2_has_them(self):
        browser = Browser(server)
        self.addCleanup(browser.quit)
        tab = browser.tab()
        tab.wait_for_picture()
        # What Emscripten's SDL makes of the browser's own key codes (its lookupKeyCodeForEvent),
        # then the game: the right-hand modifiers, and keys no test can press here.
        codes = tab.run("""
            return arguments[0].map(function (key) {
                return __Z7gameKeyi(SDL.lookupKeyCodeForEvent({keyCode: key[0], location: key[1]}));
            });""", [[16, 2], [17, 2], [18, 2], [91, 1], [20, 0], [144, 0], [145, 0], [123, 0], [124, 0],
                     [13, 3], [226, 0], [229, 0], [0, 0]])
        self.assertEqual(codes, [303, 305, 307, 311, 301, 300, 302, 293, 294, 13, 60, 0, 0])


if __name__ == '__main__':
    unittest.main(verbosity=2)
