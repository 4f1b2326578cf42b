#!/usr/bin/python3
"""session.py: a player's evening in the browser, by real keys and the pointer: the menu, a game
started and a block dropped, the pause by P and by the Pause key, Escape back to the menu; the
options page, a switch flipped and the page left; the controls page naming the keys as the desktop
game does, and a key of the player's own put on a control; a game played to a great score over a
table of low scores loaded back, and the name typed; then the page reloaded: the row, the switch
and the key are there. The console stays free of errors throughout.

Run after tools/web.sh: /usr/bin/python3 tests/web/session.py (pictures that differ go to
build-web/shots/).
"""

import unittest

from browser import *

# Ten rows below any score a game can make: a game of no points enters the table.
LOW_TABLE = ''.join('low%d 1 0 -%d\n' % (row, row + 1) for row in range(10))

# The well, where blocks fall and land (game/play.h): its bottom row.
BOTTOM_ROW = (18, 550, 640, 32)
TURN_ROW = (200, 176)           # on the controls page


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


def differs(image, before, box):
    x, y, width, height = box
    crop = (x, y, x + width, y + height)
    return ImageChops.difference(image.crop(crop), before.crop(crop)).getbbox() is not None


class Session(unittest.TestCase):
    def setUp(self):
        self.browser = Browser(server)
        self.addCleanup(self.browser.quit)
        self.tab = self.browser.tab()
        self.tab.wait_for_picture()

    def open_controls(self):
        tab = self.tab
        tab.click(*OPTIONS)
        tab.wait_for(options_page, 'the options page')
        tab.click(*CONTROLS_ITEM)
        tab.wait_for(lambda image: not options_page(image), 'the controls page')

    def back_to_menu(self):
        """Escape until the main page shows, as many times as the page needs."""
        tab = self.tab
        for _ in range(3):
            if main_page(tab.picture()):
                return
            tab.hold(Keys.ESCAPE)
            try:
                wait_until('a page back', lambda: main_page(tab.picture()), 3)
            except AssertionError:
                pass
        tab.wait_for(main_page, 'the main page')

    def test_a_players_session_is_kept_across_a_reload(self):
        tab = self.tab
        tab.load_files(file_to_load(self, 'dex.dll', LOW_TABLE))
        tab.wait_for_stored('dex.dll', LOW_TABLE)
        menu = tab.wait_for(main_page, 'the main page')

        # The keys light "new game" (Down lights the first item) and Return starts a game.
        tab.hold(Keys.ARROW_DOWN)
        tab.wait_for_new_picture(menu, 'new game lit')
        tab.hold(Keys.RETURN)
        playing = tab.wait_for(lambda image: not main_page(image), 'the game')
        self.assertFalse(paused(playing))
        empty = playing
        self.assertFalse(differs(playing, empty, BOTTOM_ROW))
        # Space drops the block into the empty well: it lands on the bottom row.
        tab.hold(Keys.SPACE, 0.3)
        tab.wait_for(lambda image: differs(image, empty, BOTTOM_ROW), 'the block landed')

        # P pauses and goes on; so does the Pause key.
        for key in ('p', Keys.PAUSE):
            with self.subTest(pause=key):
                tab.hold(key)
                tab.wait_for(paused, 'the game paused')
                tab.hold(key)
                tab.wait_for(lambda image: not paused(image), 'the game going on')

        # Escape leaves the game for the menu.
        tab.hold(Keys.ESCAPE)
        tab.wait_for(main_page, 'the main page after the game')

        # The options page: the music switched off by a click, the page left by Escape.
        tab.click(*OPTIONS)
        options = tab.wait_for(options_page, 'the options page')
        tab.click(*MUSIC_SWITCH)
        tab.wait_for_new_picture(options, 'the music switched off')
        tab.hold(Keys.ESCAPE)
        tab.wait_for(main_page, 'the main page after the options')
        tab.wait_for_stored('opt.dat', '0\n1\n0\n')

        # The controls page names the keys as the desktop game does (its reference picture).
        self.open_controls()
        shown = self.tab.still('the controls page at rest')
        self.assertTrue(looks_as(shown, 'controls-defaults', SHOTS), 'the keys named as on the desktop')
        # A key of the player's own: the turn's row chosen by a click, then W.
        tab.click(*TURN_ROW)
        waiting = tab.wait_for_new_picture(shown, 'the row waiting for its key')
        tab.hold('w')
        tab.wait_for_new_picture(waiting, 'the row with its key')
        tab.hold(Keys.ESCAPE)
        tab.wait_for(options_page, 'the options page after the controls')
        wait_until('the key stored', lambda: 'turn 119 0\n' in (tab.stored('controls.dat') or ''))
        self.back_to_menu()

        # A game of no points is a great score over the low table: the name typed, the row stored.
        play_to_name_entry(tab, 'zoe')
        wait_until('the row stored', lambda: (tab.stored('dex.dll') or '').startswith('zoe 1 '))
        self.back_to_menu()

        # What the player sees before the reload: the table, the controls, the switches.
        before = self.pages()
        tab.front().refresh()
        tab.wait_for_picture()
        tab.wait_for(main_page, 'the main page after the reload')
        after = self.pages()
        for page in before:
            with self.subTest(page=page):
                far, apart, _ = compare_pictures(after[page], before[page])
                self.assertEqual(apart, 0, 'read back as it was')
        self.assertEqual(tab.kept('opt.dat'), '0\n1\n0\n')
        self.assertTrue(tab.kept('dex.dll').startswith('zoe 1 '))
        self.assertEqual(tab.console_errors(), [])

    def pages(self):
        """The high-score page, the controls page and the options page, each at rest, from the main page."""
        tab = self.tab
        shown = {}
        tab.click(*HIGH_SCORE_ITEM)
        tab.wait_for(lambda image: not main_page(image), 'the high-score page')
        shown['high-score'] = self.tab.still('the high-score page at rest')
        self.back_to_menu()
        self.open_controls()
        shown['controls'] = self.tab.still('the controls page at rest')
        tab.hold(Keys.ESCAPE)
        tab.wait_for(options_page, 'the options page')
        shown['options'] = self.tab.still('the options page at rest')
        self.back_to_menu()
        return shown


if __name__ == '__main__':
    unittest.main(verbosity=2)
