#!/usr/bin/python3
"""smoke.py: the page in headless Chromium shows the game, plays its menus by keys and a click,
ends with the exit item, and says why where the browser gives no WebGL; the console stays clean.

Run after tools/web.sh: /usr/bin/python3 tests/web/smoke.py (the pictures go to build-web/shots/).
"""

import unittest

from PIL import ImageStat

from browser import *

NO_WEBGL = ("Tavirel cannot start, as no OpenGL window could be made; the details are in its log, "
            "the browser's console")


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


class Smoke(unittest.TestCase):
    def open(self, *arguments):
        browser = Browser(server, (AUTOPLAY,) + arguments)
        self.addCleanup(browser.quit)
        tab = browser.tab()
        tab.wait_for_picture()
        return tab

    def test_the_menus_answer_keys_and_a_click_and_the_console_stays_clean(self):
        tab = self.open()
        self.assertEqual(tab.said(), '')
        # The canvas: 4 : 3, whole in the window, as many pixels as the screen has under it.
        width, height, shown, ratio, window = tab.run("""
            var canvas = document.getElementById('canvas'), box = canvas.getBoundingClientRect();
            return [canvas.width, canvas.height, [box.left, box.top, box.right, box.bottom], devicePixelRatio,
                    [innerWidth, innerHeight]];""")
        self.assertEqual(width * 3, height * 4)
        self.assertAlmostEqual((shown[2] - shown[0]) * ratio, width, delta=0.5)
        self.assertTrue(0 <= shown[0] and shown[2] <= window[0] and 0 <= shown[1] and shown[3] <= window[1], shown)
        main = tab.picture()
        self.assertTrue(main_page(main))
        self.assertGreater(ImageStat.Stat(main.convert('L')).stddev[0], 20, 'a picture, not a plain canvas')
        tab.save_picture('main-page')

        tab.hold(Keys.ARROW_DOWN)
        lit = tab.wait_for_new_picture(main, 'an item lit by the arrow key')
        tab.click(*OPTIONS)
        tab.wait_for(options_page, 'the options page')
        tab.save_picture('options-page')
        # Escape leaves the options page, which saves its switches; the main page it goes back to
        # does not take the same Escape as a quit.
        tab.hold(Keys.ESCAPE)
        tab.wait_for_stored('opt.dat', '0\n0\n0\n')
        self.assertEqual(tab.said(), '')
        self.assertEqual(tab.console_errors(), [])

    def test_the_canvas_follows_the_browsers_window(self):
        tab = self.open()
        tab.front().set_window_size(700, 560)
        wait_until('the canvas sized anew', lambda: tab.run("""
            var stage = document.getElementById('stage'), canvas = document.getElementById('canvas');
            var unit = Math.floor(Math.min(stage.clientWidth / 4, stage.clientHeight / 3));
            return canvas.width === 4 * unit && canvas.height === 3 * unit && canvas.style.width === 4 * unit + 'px';"""))
        # Drawn anew at its new size, the picture whole.
        tab.wait_for(main_page, 'the main page at the new size')
        self.assertEqual(tab.console_errors(), [])

    def test_the_exit_item_ends_the_game_and_the_page_offers_another(self):
        tab = self.open()
        tab.click(*EXIT)
        wait_until('the end said', lambda: tab.said() == 'The game has ended.')
        self.assertEqual(tab.run("return document.getElementById('canvas').style.visibility"), 'hidden')
        # Files loaded back would reach no game: the page no longer offers to load them.
        self.assertTrue(tab.run("return document.getElementById('load-label').hidden"))
        tab.front().find_element(By.ID, 'again').click()
        tab.wait_for_picture()
        self.assertEqual(tab.said(), '')
        self.assertEqual(tab.console_errors(), [])

    def test_without_webgl_the_page_says_why_the_game_cannot_start(self):
        tab = self.open('--disable-3d-apis')
        self.assertEqual(tab.said(), NO_WEBGL)
        # And what it means in a browser, under it.
        self.assertTrue(tab.run("return !document.getElementById('no-webgl').hidden"))
        # The sentence is the one error, in the console as well.
        errors = tab.console_errors()
        self.assertEqual(len(errors), 1, errors)
        self.assertIn(NO_WEBGL, errors[0])


class Page(unittest.TestCase):
    """What the page does around the game: sound, touch, fullscreen, a hidden tab."""

    def open(self, arguments=(AUTOPLAY,), before=None):
        browser = Browser(server, arguments)
        self.addCleanup(browser.quit)
        if before:
            before(browser.driver)
        tab = browser.tab()
        tab.wait_for_picture()
        return tab

    def test_sound_starts_with_the_first_key(self):
        tab = self.open(())
        # The menu's music asked for, the page's sound held back until the player's first key.
        asked = "return [SDL.audioContext.state, !!SDL.music.audio && !SDL.music.audio.paused]"
        self.assertEqual(tab.run(asked), ['suspended', True])
        tab.hold(Keys.ARROW_DOWN)
        playing = "return [SDL.audioContext.state, !!SDL.music.audio.webAudioNode]"
        wait_until('the music playing', lambda: tab.run(playing) == ['running', True])
        self.assertEqual(tab.console_errors(), [])

    def test_a_touch_screen_is_told_of_the_keyboard_and_its_taps_are_clicks(self):
        def touch_only(driver):
            driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
        tab = self.open(before=touch_only)
        self.assertTrue(tab.run("return !document.getElementById('keyboard').hidden"))
        tab.tap(*OPTIONS)
        tab.wait_for(options_page, 'the options page, tapped')
        self.assertEqual(tab.console_errors(), [])

    def test_the_fullscreen_switch_fills_the_screen_and_the_browsers_own_exit_sets_it_back(self):
        tab = self.open()
        tab.click(*OPTIONS)
        options = tab.wait_for(options_page, 'the options page')
        tab.click(*FULLSCREEN_SWITCH)
        tab.wait_for_new_picture(options, 'the switch on')
        self.assertFalse(tab.run("return !!document.fullscreenElement"), 'not before the page is left')
        tab.hold(Keys.ESCAPE)
        wait_until('fullscreen', lambda: tab.run("return document.fullscreenElement === document.getElementById('stage')"))
        tab.wait_for_stored('opt.dat', '1\n0\n0\n')
        # The canvas follows: the whole screen's part of 4 : 3.
        wait_until('the canvas sized to the screen', lambda: tab.run("""
            var stage = document.getElementById('stage'), canvas = document.getElementById('canvas');
            return canvas.width === 4 * Math.floor(Math.min(stage.clientWidth / 4, stage.clientHeight / 3));"""))
        tab.wait_for(main_page, 'the main page, fullscreen')
        tab.save_picture('fullscreen')
        # The switch kept: after a reload the page fills the screen at the player's first key, as
        # no browser lets a page do so sooner.
        tab.front().refresh()
        tab.wait_for_picture()
        self.assertFalse(tab.run("return !!document.fullscreenElement"))
        tab.hold(Keys.ARROW_DOWN)
        wait_until('fullscreen again', lambda: tab.run("return !!document.fullscreenElement"))
        # Left by the browser's own doing, as its Escape key does: the switch goes back, kept so.
        tab.run("document.exitFullscreen();")
        tab.wait_for_stored('opt.dat', '0\n0\n0\n')
        self.assertEqual(tab.console_errors(), [])

    def test_a_hidden_tab_pauses_the_game(self):
        tab = self.open()
        tab.click(*NEW_GAME)
        playing = tab.wait_for(lambda image: not main_page(image), 'the game')
        self.assertFalse(paused(playing))
        tab.browser.tab()    # in front: the game's tab is hidden
        tab.front()
        tab.wait_for(paused, 'the game paused')
        self.assertEqual(tab.console_errors(), [])


if __name__ == '__main__':
    unittest.main(verbosity=2)
