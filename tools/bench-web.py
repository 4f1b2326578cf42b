#!/usr/bin/python3
"""bench-web.py: figures of the page built by tools/web.sh, played in headless Chromium: the sizes of
its files (plain and gzipped, against 2.5 MB gzipped for the whole), how soon the first picture shows
on a first visit and on the next (in pairs, each pair in a fresh profile), passes a second and
pictures drawn in one animation frame at 30, 60 and 144 frames a second, the share of a core that
Chromium takes on the menu and in a game against a floor page whose animation frames do nothing (in
the same Chromium; silent, and both playing the same music), and the page's memory. With
--checks, last, how long tools/test-web.sh takes, which tools/test.sh runs.

    /usr/bin/python3 tools/bench-web.py [seconds of each measure, 5 by default] [--pairs N] [--rounds N] [--checks]

The animation frames come from the script's own timer (requestAnimationFrame replaced before the
page's scripts run); a pass is counted where the game looks at its focus, once a screen's frame.
Shares of a core are Chromium's processes together (its browser, GPU and page processes), the
median of --rounds runs taken in turn with the floor's, as the machine may be busy.
"""

import gzip
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
from browser import *  # noqa: E402


def option(name, default):
    if name in sys.argv:
        at = sys.argv.index(name)
        value = sys.argv[at + 1]
        del sys.argv[at:at + 2]
        return int(value)
    return default


PAIRS = option('--pairs', 3)
ROUNDS = option('--rounds', 3)
CHECKS = '--checks' in sys.argv
if CHECKS:
    sys.argv.remove('--checks')
SECONDS = float(sys.argv[1]) if len(sys.argv) > 1 else 5.0

# The whole page, gzipped as a server or a game site sends it.
GZIPPED_BOUND = 2.5e6

# Animation frames at a rate of the script's own; each frame's pictures counted.
FRAMES = '''
(function () {
    var queue = [];
    window.frames_run = 0;
    window.most_pictures = 0;
    window.pictures_now = 0;
    window.requestAnimationFrame = function (run) { queue.push(run); return queue.length; };
    // Each frame at its time on the page's clock, as timers run late or early by a millisecond; a
    // frame missed by more, as a display's would be, is not made up.
    var period = 1000 / %d, next = performance.now();
    function frame() {
        var now = performance.now();
        next = Math.max(next + period, now - period);
        setTimeout(frame, Math.max(0, next - now));
        var runs = queue;
        queue = [];
        runs.forEach(function (run) {
            window.pictures_now = 0;
            run(performance.now());
            window.frames_run++;
            window.most_pictures = Math.max(window.most_pictures, window.pictures_now);
        });
    }
    frame();
})();'''

COUNT = '''
window.passes = 0;
var look = TavirelPage.appState, drawn = TavirelPage.pictureDrawn;
TavirelPage.appState = function () { window.passes++; return look(); };
TavirelPage.pictureDrawn = function () { window.pictures_now++; return drawn(); };'''

# When the canvas first shows the game, from the page's opening.
FIRST_PICTURE = '''
new MutationObserver(function (changes, observer) {
    var canvas = document.getElementById('canvas');
    if (canvas && canvas.style.visibility === 'visible') {
        window.first_picture = performance.now();
        observer.disconnect();
    }
}).observe(document, { attributes: true, subtree: true, attributeFilter: ['style'] });'''

# The floor: a page whose animation frames do nothing; with ?music, it plays the menu's music as
# the game plays it (decoded whole, through a panner and a gain).
FLOOR = '''<!doctype html>
<html><head><meta charset="utf-8"><title>floor</title></head>
<body style="margin: 0; background: #0c0c10"><canvas width="800" height="600"></canvas>
<script>
function frame() { requestAnimationFrame(frame); }
requestAnimationFrame(frame);
if (location.search === '?music') {
    var context = new AudioContext();
    fetch('music.ogg').then(function (got) { return got.arrayBuffer(); })
        .then(function (bytes) { return context.decodeAudioData(bytes); })
        .then(function (buffer) {
            var source = context.createBufferSource(), panner = context.createPanner(), gain = context.createGain();
            source.buffer = buffer;
            source.loop = true;
            panner.panningModel = 'equalpower';
            panner.setPosition(0, 0, -0.5);
            source.connect(panner);
            panner.connect(gain);
            gain.connect(context.destination);
            source.start(0);
            window.playing = true;
        });
}
</script></body></html>
'''


def core_seconds(root):
    """CPU seconds of the process `root` and everything it started."""
    ticks = os.sysconf('SC_CLK_TCK')
    processes = {}
    for pid in filter(str.isdigit, os.listdir('/proc')):
        try:
            fields = open('/proc/%s/stat' % pid).read().rsplit(')', 1)[1].split()
        except OSError:
            continue
        processes[int(pid)] = (int(fields[1]), (int(fields[11]) + int(fields[12])) / ticks)
    total = 0.0
    for pid, (parent, seconds) in processes.items():
        while pid in processes and pid != root:
            pid = processes[pid][0]
        total += seconds if pid == root else 0.0
    return total


def sizes():
    total = gzipped_total = 0
    for name in sorted(os.listdir(SITE)):
        data = open(os.path.join(SITE, name), 'rb').read()
        gzipped = len(gzip.compress(data, 9))
        total += len(data)
        gzipped_total += gzipped
        print('%-16s %9d bytes, %9d gzipped' % (name, len(data), gzipped))
    print('%-16s %9d bytes, %9d gzipped: %s 2.5 MB gzipped' % (
        'the whole page', total, gzipped_total, 'within' if gzipped_total <= GZIPPED_BOUND else 'OVER'))


def first_picture(server):
    """Pairs of visits, each pair in a fresh profile: a first visit (nothing cached) and the next."""
    pairs = []
    for _ in range(PAIRS):
        browser = Browser(server)
        try:
            browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': FIRST_PICTURE})
            pair = []
            for visit in range(2):
                browser.driver.get(server.url)
                tab = Tab(browser, browser.driver.current_window_handle)
                tab.wait_for_picture()
                pair.append(tab.run('return window.first_picture') / 1000)
            pairs.append(pair)
        finally:
            browser.quit()
    for cold, warm in pairs:
        print('first picture: %.2f s on a first visit, %.2f s on the next' % (cold, warm))
    print('first picture, median of %d pairs: %.2f s cold, %.2f s warm' % (
        len(pairs), statistics.median(p[0] for p in pairs), statistics.median(p[1] for p in pairs)))


def pacing(server, rate):
    browser = Browser(server)
    try:
        browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': FRAMES % rate})
        tab = browser.tab()
        tab.wait_for_picture()
        tab.run(COUNT)
        tab.click(*NEW_GAME)
        began, passes, frames = time.monotonic(), tab.run('return passes'), tab.run('return frames_run')
        tab.run('most_pictures = 0')
        time.sleep(SECONDS)
        took = time.monotonic() - began
        passes, frames = tab.run('return passes') - passes, tab.run('return frames_run') - frames
        print('%3d frames a second asked: %5.1f frames, %5.1f passes a second in a game; '
              'at most %d picture(s) in one frame' % (rate, frames / took, passes / took,
                                                      tab.run('return most_pictures')))
    finally:
        browser.quit()


def share(browser):
    """The share of a core that the browser takes over SECONDS, from now."""
    root = browser.driver.service.process.pid
    began, used = time.monotonic(), core_seconds(root)
    time.sleep(SECONDS)
    return (core_seconds(root) - used) / (time.monotonic() - began)


def floor_share(floor, music):
    browser = Browser(floor, (AUTOPLAY,) if music else ())
    try:
        browser.driver.get(floor.url + ('?music' if music else ''))
        if music:
            wait_until('the floor\'s music', lambda: browser.driver.execute_script('return window.playing === true'))
        time.sleep(1)
        return share(browser)
    finally:
        browser.quit()


def game_shares(server, music):
    """The menu's share, and in a game; silent, the page not yet touched, which starts the sound,
    or with the music playing from the start."""
    browser = Browser(server, (AUTOPLAY,) if music else ())
    try:
        tab = browser.tab()
        tab.wait_for_picture()
        time.sleep(1)
        menu = share(browser)
        if not music:
            return menu, None
        tab.click(*NEW_GAME)
        time.sleep(1)
        return menu, share(browser)
    finally:
        browser.quit()


def cpu(server):
    folder = tempfile.mkdtemp(prefix='tavirel-floor-')
    try:
        with open(os.path.join(folder, 'index.html'), 'w') as out:
            out.write(FLOOR)
        shutil.copy(os.path.join(SOURCE, 'media', 'm2.ogg'), os.path.join(folder, 'music.ogg'))
        floor = Server(folder)
        try:
            runs = {name: [] for name in ('floor', 'menu', 'floor with music', 'menu with music', 'game with music')}
            for _ in range(ROUNDS):
                runs['floor'].append(floor_share(floor, False))
                runs['menu'].append(game_shares(server, False)[0])
                runs['floor with music'].append(floor_share(floor, True))
                menu, play = game_shares(server, True)
                runs['menu with music'].append(menu)
                runs['game with music'].append(play)
        finally:
            floor.stop()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    median = {name: statistics.median(values) for name, values in runs.items()}
    for name, floor_name in (('floor', None), ('menu', 'floor'), ('floor with music', None),
                             ('menu with music', 'floor with music'), ('game with music', 'floor with music')):
        ratio = ', %.2f x the %s' % (median[name] / median[floor_name], floor_name) if floor_name else ''
        print('Chromium, %-18s %4.1f %% of a core (%s)%s' % (
            name + ':', 100 * median[name], ' '.join('%.1f' % (100 * v) for v in runs[name]), ratio))


def memory(server):
    browser = Browser(server)
    try:
        tab = browser.tab()
        tab.wait_for_picture()
        tab.click(*NEW_GAME)
        time.sleep(SECONDS)
        heap, script = tab.run('return [HEAP8.length, performance.memory.usedJSHeapSize]')
        print('memory in a game: the game\'s heap %.1f MB, the page\'s script %.1f MB' % (heap / 1e6, script / 1e6))
    finally:
        browser.quit()


def checks():
    began = time.monotonic()
    subprocess.run([os.path.join(SOURCE, 'tools', 'test-web.sh')], check=True, stdout=subprocess.DEVNULL)
    took = time.monotonic() - began
    print('tools/test-web.sh (the build and the browser\'s checks): %d min %d s' % (took // 60, took % 60))


def main():
    sizes()
    server = Server()
    try:
        first_picture(server)
        for rate in (30, 60, 144):
            pacing(server, rate)
        cpu(server)
        memory(server)
    finally:
        server.stop()
    if CHECKS:
        checks()


if __name__ == '__main__':
    main()
