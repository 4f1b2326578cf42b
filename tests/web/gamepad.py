#!/usr/bin/python3
"""gamepad.py: a gamepad in the browser, as the page's navigator.getGamepads shows it: a pad
named as Chromium names an Xbox pad, in the browser's standard mapping (Back 8, Start 9, the pad
as the buttons 12 to 15). Its pad plays the menus and moves the block, Start pauses, Back leaves
the game, the button the desktop takes for an Xbox pad's Start does nothing, and on the controls
page the pad's buttons are the pad, never a button to put on a control.

No real gamepad is to be had here: the check puts one in place of the browser's (the page's
navigator.getGamepads answers with it), its buttons held a moment as a player holds them, and the
game reads it through Emscripten's own gamepad code.

Run after tools/web.sh: /usr/bin/python3 tests/web/gamepad.py
"""

import time
import unittest

from browser import *

# A pad as Chromium shows an Xbox 360 pad: its name says Xbox, its mapping is the standard one.
PAD = '''
window.pad = { id: 'Xbox 360 Controller (XInput STANDARD GAMEPAD)', index: 0, connected: true,
               mapping: 'standard', timestamp: 1, axes: [0, 0, 0, 0], buttons: [] };
for (var i = 0; i < 17; i++)
    pad.buttons.push({ pressed: false, touched: false, value: 0 });
navigator.getGamepads = function () { return [window.pad, null, null, null]; };
window.dispatchEvent(new Event('gamepadconnected'));'''
PRESS = '''
pad.buttons[arguments[0]] = { pressed: arguments[1], touched: arguments[1], value: arguments[1] ? 1 : 0 };
pad.timestamp++;'''

A, START, BACK, XBOX_START = 0, 9, 8, 7
PAD_UP, PAD_DOWN, PAD_LEFT = 12, 13, 14
PAUSE_ROW = (200, 302)   # on the controls page
# The well left of the columns where a block comes in (game/play.h): only a block moved left shows there.
WELL_LEFT = (18, 102, 280, 200)


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


def lit(image, box):
    """Whether the item in `box` shows the menus' yellow."""
    return light_pixels(image, box, 200, True) > 100


NEW_GAME_BOX = (330, 75, 140, 20)
OPTIONS_BOX = (330, 135, 140, 20)


class Gamepad(unittest.TestCase):
    def hold(self, button, seconds=0.15):
        """A button pressed, held for a moment (the game polls the pad once a frame), let go."""
        self.tab.run(PRESS, button, True)
        time.sleep(seconds)
        self.tab.run(PRESS, button, False)

    def test_the_standard_mapping_whatever_the_pads_name(self):
        browser = Browser(server)
        self.addCleanup(browser.quit)
        tab = self.tab = browser.tab()
        tab.wait_for_picture()
        tab.run(PAD)
        wait_until('the gamepad opened', lambda: any(
            'Gamepad Xbox 360 Controller (XInput STANDARD GAMEPAD) with 17 buttons' in entry['message']
            for entry in tab.console()))
        tab.point(*ASIDE)

        # The pad's buttons move over the menu's items; A chooses.
        self.hold(PAD_DOWN)
        tab.wait_for(lambda image: lit(image, NEW_GAME_BOX), 'new game lit by the pad')
        self.hold(PAD_DOWN)
        tab.wait_for(lambda image: lit(image, OPTIONS_BOX) and not lit(image, NEW_GAME_BOX), 'options lit')
        self.hold(PAD_UP)
        tab.wait_for(lambda image: lit(image, NEW_GAME_BOX), 'new game lit again')
        self.hold(A)
        playing = tab.wait_for(lambda image: not main_page(image), 'the game')

        # The pad held left moves the block out of the columns it comes in.
        self.assertTrue(tab.run(PRESS, PAD_LEFT, True) is None)
        try:
            tab.wait_for(lambda image: ImageChops.difference(image.crop(box(WELL_LEFT)),
                                                             playing.crop(box(WELL_LEFT))).getbbox(),
                         'the block moved left')
        finally:
            tab.run(PRESS, PAD_LEFT, False)

        # Start pauses and goes on; the desktop's Start of an Xbox pad is nothing here; Back leaves.
        self.hold(START)
        tab.wait_for(paused, 'paused by Start')
        self.hold(START)
        tab.wait_for(lambda image: not paused(image), 'going on by Start')
        self.hold(XBOX_START)
        self.hold(A)   # a frame or more later, which turns the block: the game is still on
        self.assertFalse(paused(tab.picture()))
        self.hold(BACK)
        tab.wait_for(main_page, 'the menu, by Back')

        # On the controls page the pad's buttons are the pad: a row waiting for its button does not
        # take them, and takes the next other button; "defaults" gives the pause Start again.
        tab.click(*OPTIONS)
        tab.wait_for(options_page, 'the options page')
        tab.click(*CONTROLS_ITEM)
        tab.wait_for(lambda image: not options_page(image), 'the controls page')
        tab.click(*PAUSE_ROW)
        waiting = tab.still('the pause row waiting')
        self.hold(PAD_DOWN)
        self.hold(PAD_LEFT)
        self.assertEqual(compare_pictures(tab.still('still waiting'), waiting)[1], 0, 'the pad is no button')
        self.hold(5)
        tab.wait_for_new_picture(waiting, 'the row with its button')
        tab.hold(Keys.ESCAPE)
        wait_until('the button stored', lambda: 'pause 112 5\n' in (tab.stored('controls.dat') or ''))
        tab.click(*CONTROLS_ITEM)
        tab.wait_for(lambda image: not options_page(image), 'the controls page again')
        tab.click(400, 368)   # "defaults"
        self.assertTrue(looks_as(tab.still('the controls as the game comes'), 'controls-defaults', SHOTS),
                        'Start is the pause\'s button by default')
        self.assertEqual(tab.console_errors(), [])


def box(rectangle):
    x, y, width, height = rectangle
    return (x, y, x + width, y + height)


if __name__ == '__main__':
    unittest.main(verbosity=2)
