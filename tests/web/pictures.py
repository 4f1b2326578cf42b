#!/usr/bin/python3
"""pictures.py: every screen drawn in the browser, in the known state of its reference picture
(tests/picture_cases.cpp, shared with the Linux and the Windows builds' picture tests), looks as
its reference in tests/pictures/: within 8 steps a channel but for 16 pixels, as the Windows build
is held to. The screens are drawn by a page of their own (tests/web/picture_page_web.cpp, built
into build-web/checks/ by tools/test-web.sh) with the game's own script and WebGL context, and
read back from the canvas as the browser shows it. A mismatch leaves what the browser drew and a
map of the differences (red: more than 8 steps, blue: fewer) in build-web/pictures/.

Chromium draws here with Mesa's llvmpipe, the renderer that drew the references (and that the
Windows build's test draws with under Wine), on an X server of its own: what is held is the game's
drawing, not a renderer's rounding. SwiftShader, which the other checks draw with, filters the
small text a few steps otherwise (up to 11 steps on about 150 pixels of the high-score page).

Run after tools/test-web.sh has built the page: /usr/bin/python3 tests/web/pictures.py
"""

import os
import sys
import unittest

from browser import *

CHECKS = os.path.join(os.path.dirname(SITE), 'checks')
OUT = os.path.join(os.path.dirname(SITE), 'pictures')


class Pictures(unittest.TestCase):
    def test_every_screen_looks_as_its_reference(self):
        server = Server(CHECKS, page='pictures.html')
        self.addCleanup(server.stop)
        browser = Browser(server, renderer=ON_MESA)
        self.addCleanup(browser.quit)
        tab = browser.tab()
        wait_until('the picture page started', lambda: tab.run(
            "return Module.calledRun === true || "
            "!document.getElementById('message').hidden"), LOAD_SECONDS)
        self.assertEqual(tab.said(), '')
        self.assertIn('llvmpipe', tab.renderer())
        count = tab.run('return _pictureCaseCount()')
        self.assertEqual(count, len([name for name in os.listdir(REFERENCES) if name.endswith('.png')]))
        for index in range(count):
            name = tab.run('return UTF8ToString(_pictureCaseName(arguments[0]))', index)
            with self.subTest(screen=name):
                self.assertEqual(tab.run('return _drawPictureCase(arguments[0])', index), 1, 'its screen')
                self.assertEqual(tab.run("var c = document.getElementById('canvas'); return [c.width, c.height]"),
                                 list(SCREEN))
                got = tab.picture()
                far, apart, _ = compare_pictures(got, reference(name))
                print('%-17s %6d pixels apart by more than %d steps, %6d by any' % (name, far, CHANNEL_STEPS, apart))
                self.assertTrue(looks_as(got, name, OUT))
        self.assertEqual(tab.console_errors(), [])


if __name__ == '__main__':
    # Chromium draws on an X server of its own.
    if not os.environ.get('DISPLAY'):
        own = os.path.join(SOURCE, 'tests', 'own-x-server.sh')
        os.execv(own, [own, sys.executable] + sys.argv)
    unittest.main(verbosity=2)
