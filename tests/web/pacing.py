#!/usr/bin/python3
"""pacing.py: the game's pace in the browser, whatever the rate of the page's animation frames:
62.5 passes a second (one every 16 ms, as on the desktop) over ten seconds of play with the
browser calling back 60 and 144 times a second, at most one picture in a callback, and no drawing
at all in a callback that keeps its picture; a tab hidden for longer than the desktop's
ResyncAfterMs pauses the game, and coming back runs no more passes at once than the desktop does
after such a stall (the schedule starts afresh: the late pass and one more).

The check drives the animation frames from its own timer and the game's clock from its own count
(Date.now, which SDL_GetTicks reads, moves on by 1000 / rate milliseconds at each callback, and by
the time the tab was hidden when it shows again), both put in place before the page's scripts
run, so that the figures do not depend on how busy the machine is. Passes are counted where the
game looks at its focus, once a screen's frame (TavirelPage.appState); pictures where the page is
told of one (TavirelPage.pictureDrawn); drawing by WebGL's draw calls.

Run after tools/web.sh: /usr/bin/python3 tests/web/pacing.py
"""

import time
import unittest

from browser import *

# The check's animation frames and clock.
PACE = '''
(function () {
    var clock = Date.now(), queue = [], hiddenAt = 0, next = performance.now();
    var pace = window.pace = {
        rate: 60, clock: 0, callbacks: 0, passes: 0, passesNow: 0, picturesNow: 0, drawsNow: 0,
        mostPasses: 0, mostPictures: 0, drawsKept: 0, hiddenFor: 0, back: null
    };
    Date.now = function () { return Math.floor(clock); };
    window.requestAnimationFrame = function (run) { queue.push(run); return queue.length; };
    ['drawArrays', 'drawElements'].forEach(function (name) {
        var draw = WebGLRenderingContext.prototype[name];
        WebGLRenderingContext.prototype[name] = function () {
            pace.drawsNow++;
            return draw.apply(this, arguments);
        };
    });
    // A hidden tab gets no animation frames; its time passes all the same.
    document.addEventListener('visibilitychange', function () {
        if (document.hidden) {
            hiddenAt = performance.now();
        } else if (hiddenAt) {
            pace.hiddenFor = performance.now() - hiddenAt;
            clock += pace.hiddenFor;
            pace.back = 'waiting';
        }
    }, true);
    // The callbacks at the rate on the page's own clock too, as timers run a millisecond late or
    // early; one missed by more, as a display's would be, is not made up.
    function tick() {
        var now = performance.now(), period = 1000 / pace.rate;
        next = Math.max(next + period, now - period);
        setTimeout(tick, Math.max(0, next - now));
        if (document.hidden)
            return;
        clock += 1000 / pace.rate;
        pace.clock = clock;
        var runs = queue;
        queue = [];
        runs.forEach(function (run) {
            pace.passesNow = pace.picturesNow = pace.drawsNow = 0;
            run(performance.now());
            pace.callbacks++;
            pace.passes += pace.passesNow;
            pace.mostPasses = Math.max(pace.mostPasses, pace.passesNow);
            pace.mostPictures = Math.max(pace.mostPictures, pace.picturesNow);
            if (pace.picturesNow === 0)
                pace.drawsKept += pace.drawsNow;
            if (pace.back === 'waiting')
                pace.back = { passes: pace.passesNow, pictures: pace.picturesNow };
        });
    }
    tick();
})();'''

# Once the page's script is there: its passes and pictures counted.
COUNT = '''
var look = TavirelPage.appState, drawn = TavirelPage.pictureDrawn;
TavirelPage.appState = function () { pace.passesNow++; return look(); };
TavirelPage.pictureDrawn = function () { pace.picturesNow++; return drawn(); };'''

SECONDS = 10
# The desktop's schedule: a pass every 16 ms, started afresh after ResyncAfterMs behind (app/loop.h).
PASSES_A_SECOND = 1000 / 16
RESYNC_AFTER_MS = 1000


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


class Pacing(unittest.TestCase):
    def test_the_pace_is_the_desktops_at_60_and_144_frames_a_second_and_after_a_hidden_tab(self):
        browser = Browser(server)
        self.addCleanup(browser.quit)
        browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': PACE})
        tab = browser.tab()
        tab.wait_for_picture()
        tab.run(COUNT)
        tab.click(*NEW_GAME)
        tab.wait_for(lambda image: not main_page(image), 'the game')
        for rate in (60, 144):
            with self.subTest(rate=rate):
                tab.run('pace.rate = arguments[0]', rate)
                # From the first callback at the new rate on.
                start = tab.run('var c = pace.callbacks; return c;')
                wait_until('callbacks at %d a second' % rate, lambda: tab.run('return pace.callbacks') > start + 2)
                tab.run('pace.mostPasses = pace.mostPictures = pace.drawsKept = 0')
                before = tab.run('return [pace.clock, pace.passes, pace.callbacks]')
                after = wait_until('%d s of the game\'s clock' % SECONDS, lambda: (lambda now: now if now[0] - before[0] >= SECONDS * 1000 else None)(
                    tab.run('return [pace.clock, pace.passes, pace.callbacks]')), 120)
                seconds = (after[0] - before[0]) / 1000
                passes = (after[1] - before[1]) / seconds
                callbacks = (after[2] - before[2]) / seconds
                most = tab.run('return [pace.mostPasses, pace.mostPictures, pace.drawsKept]')
                print('%3d callbacks a second: %.2f passes a second over %.1f s, at most %d pass(es) and %d picture(s) '
                      'in one callback, %d draw calls in callbacks that kept their picture'
                      % (round(callbacks), passes, seconds, most[0], most[1], most[2]))
                self.assertAlmostEqual(callbacks, rate, delta=0.5)
                self.assertAlmostEqual(passes, PASSES_A_SECOND, delta=0.5)
                self.assertEqual(most[1], 1, 'one picture at most in a callback, and some drawn')
                self.assertEqual(most[2], 0, 'a kept picture draws nothing')
        # Another tab in front hides the game's; its time passes. (The tab is hidden for a set
        # time on purpose: the stall is what is checked.)
        self.assertFalse(paused(tab.picture()))
        game_tab = tab.handle
        browser.driver.switch_to.new_window('tab')
        time.sleep(2 * RESYNC_AFTER_MS / 1000)
        browser.driver.switch_to.window(game_tab)
        back = wait_until('a callback after the tab showed again', lambda: (lambda b: b if isinstance(b, dict) else None)(
            tab.run('return pace.back')))
        hidden = tab.run('return pace.hiddenFor')
        print('hidden for %.1f s: %d pass(es) and %d picture(s) in the first callback back'
              % (hidden / 1000, back['passes'], back['pictures']))
        self.assertGreater(hidden, RESYNC_AFTER_MS)
        self.assertGreaterEqual(back['passes'], 1)
        self.assertLessEqual(back['passes'], 2, 'the schedule started afresh, as on the desktop')
        self.assertLessEqual(back['pictures'], 1)
        tab.wait_for(paused, 'the game paused')
        self.assertEqual(tab.console_errors(), [])


if __name__ == '__main__':
    unittest.main(verbosity=2)
