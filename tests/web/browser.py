"""browser.py: the built page served on 127.0.0.1 and played in headless Chromium through Selenium.

What the browser's checks share. Everything is real: the page as tools/web.sh builds it, served
over HTTP; Chromium with WebGL on SwiftShader; keys and clicks sent through Chromium's own input
(Selenium's actions), a key held for a moment as a player holds it, so that the game's frames see
it down. A check waits for what the page shows, never for a time: the picture on the canvas (read
back at the game's 800 x 600, WebGL keeping it drawn), the kept files in the page's memory and in
IndexedDB, the line the page says, the console.

Run with Debian's own /usr/bin/python3 (Selenium and Pillow are its packages). The page's folder
is build-web/site unless TAVIREL_WEB_SITE names another.
"""

import base64
import functools
import http.server
import io
import os
import shutil
import socketserver
import tempfile
import threading
import time

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.common.exceptions import NoSuchWindowException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SITE = os.environ.get('TAVIREL_WEB_SITE', os.path.join(SOURCE, 'build-web', 'site'))
# Where the checks leave their pictures, to be looked at.
SHOTS = os.path.join(os.path.dirname(SITE), 'shots')

# The game's screen, which every position of a check is given in.
SCREEN = (800, 600)

# Chromium without a display, drawing WebGL with SwiftShader, with nothing of its own on the
# network (this machine's network is closed).
COMMON_ARGUMENTS = [
    '--no-sandbox', '--window-size=1000,800', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run',
]
HEADLESS = ['--headless=new', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader']
# Or on the X server of tests/own-x-server.sh, drawing WebGL with Mesa's llvmpipe through ANGLE's
# OpenGL, as the desktop's tests draw their pictures (Chromium keeps a software OpenGL from pages
# unless told to ignore its list of unfit drivers).
ON_MESA = ['--use-gl=angle', '--use-angle=gl', '--ignore-gpu-blocklist']
CHROMIUM_ARGUMENTS = COMMON_ARGUMENTS + HEADLESS
# Sound before the first key or click, as headless Chromium otherwise allows none at all.
AUTOPLAY = '--autoplay-policy=no-user-gesture-required'


# How long a page may take to load and show its first picture on a busy two-core machine.
LOAD_SECONDS = 90


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


class Server:
    """The page's folder served on 127.0.0.1 at a port of its own, until stop(); `url` opens `page`."""

    def __init__(self, folder=SITE, page='index.html'):
        if not os.path.isfile(os.path.join(folder, page)):
            raise SystemExit('no page %s in %s: build it with tools/web.sh (tools/test-web.sh for the checks\' pages)'
                             % (page, folder))
        handler = functools.partial(Quiet, directory=folder)
        self.httpd = socketserver.ThreadingTCPServer(('127.0.0.1', 0), handler)
        self.httpd.daemon_threads = True
        self.origin = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]
        self.url = self.origin + ('' if page == 'index.html' else page)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def wait_until(what, check, seconds=30):
    """check()'s first true answer, asked again and again; fails naming `what` after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        answer = check()
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise AssertionError('waited %d s for %s' % (seconds, what))
        time.sleep(0.05)


class Browser:
    """Chromium with a profile of its own (its own IndexedDB), its tabs on one site."""

    def __init__(self, server, arguments=(AUTOPLAY,), preferences=None, renderer=HEADLESS):
        self.server = server
        self.profile = tempfile.mkdtemp(prefix='tavirel-chromium-')
        options = webdriver.ChromeOptions()
        for argument in COMMON_ARGUMENTS + list(renderer) + ['--user-data-dir=' + self.profile] + list(arguments):
            options.add_argument(argument)
        if preferences:
            options.add_experimental_option('prefs', preferences)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(options=options)
        self.tabs = []

    def tab(self):
        """A tab showing the page, in front; the first is the browser's own window."""
        if self.tabs:
            self.driver.switch_to.new_window('tab')
        tab = Tab(self, self.driver.current_window_handle)
        self.tabs.append(tab)
        self.driver.get(self.server.url)
        return tab

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)


class Tab:
    """One tab of the page. Each call brings the tab to the front first, as a player does."""

    def __init__(self, browser, handle):
        self.browser = browser
        self.driver = browser.driver
        self.handle = handle
        self.console_seen = []

    def front(self):
        try:
            current = self.driver.current_window_handle
        except NoSuchWindowException:
            current = None   # the tab in front was closed
        if current != self.handle:
            self.driver.switch_to.window(self.handle)
        return self.driver

    def close(self):
        """The tab closed, as a player closes it."""
        self.front().close()
        self.browser.tabs.remove(self)

    def run(self, script, *arguments):
        return self.front().execute_script(script, *arguments)

    def at_screen_size(self):
        """The browser's window sized so that the canvas is the game's screen, pixel for pixel."""
        def sized():
            stage = self.run("var s = document.getElementById('stage'), c = document.getElementById('canvas');"
                             "return [s.clientWidth, s.clientHeight, c.width, c.height, devicePixelRatio];")
            if stage[2:4] == list(SCREEN):
                return True
            window = self.front().get_window_size()
            self.driver.set_window_size(window['width'] + SCREEN[0] + 2 - stage[0],
                                        window['height'] + SCREEN[1] + 1 - stage[1])
            return False
        wait_until('the canvas at the screen\'s size', sized)

    def still(self, what):
        """The picture at the game's own size, once the pointer rests over no item (ASIDE) and
        the page has drawn it so: for comparing a page with a reference picture or with itself."""
        self.at_screen_size()
        self.point(*ASIDE)
        last = [None]

        def settled():
            now = self.picture()
            same = last[0] is not None and not ImageChops.difference(now, last[0]).getbbox()
            last[0] = now
            return now if same else None
        return wait_until(what, settled)

    def renderer(self):
        """What draws the page's WebGL, as the browser names it."""
        return self.run("""
            var gl = document.getElementById('canvas').getContext('webgl');
            var named = gl && gl.getExtension('WEBGL_debug_renderer_info');
            return gl ? gl.getParameter(named ? named.UNMASKED_RENDERER_WEBGL : gl.RENDERER) : '';""")

    # --- What the page shows ---

    def wait_for_picture(self):
        """Waits until the game's first picture replaced the loading bar, or the page said why not."""
        wait_until('the first picture', lambda: self.run(
            "return document.getElementById('canvas').style.visibility === 'visible' || "
            "!document.getElementById('message').hidden"), LOAD_SECONDS)

    def said(self):
        """The sentence the page shows instead of the picture, or ''."""
        return self.run("return document.getElementById('message').hidden ? '' : "
                        "document.getElementById('sentence').textContent")

    def picture(self):
        """The canvas's picture as an RGB image of the game's screen size."""
        data = self.run("""
            var canvas = document.getElementById('canvas'), copy = document.createElement('canvas');
            copy.width = arguments[0]; copy.height = arguments[1];
            copy.getContext('2d').drawImage(canvas, 0, 0, copy.width, copy.height);
            return copy.toDataURL('image/png');""", *SCREEN)
        png = base64.b64decode(data.split(',', 1)[1])
        return Image.open(io.BytesIO(png)).convert('RGB')

    def wait_for_new_picture(self, before, what):
        """The picture once it differs from `before`."""
        def changed():
            now = self.picture()
            return now if ImageChops.difference(now, before).getbbox() else None
        return wait_until(what, changed)

    def wait_for(self, page, what):
        """The picture once `page` (a function of a picture, below) finds it shows that page."""
        def shows():
            now = self.picture()
            return now if page(now) else None
        return wait_until(what, shows)

    def save_picture(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        path = os.path.join(SHOTS, name + '.png')
        self.front().find_element(By.ID, 'canvas').screenshot(path)
        return path

    def console(self):
        """The console's entries since the tab opened, each {'level', 'message'}."""
        self.console_seen += self.front().get_log('browser')
        return self.console_seen

    def console_errors(self):
        return [entry['message'] for entry in self.console() if entry['level'] == 'SEVERE']

    # --- The player's keys and pointer ---

    def hold(self, key, seconds=0.1):
        """A key pressed, held for a moment, and let go."""
        ActionChains(self.front()).key_down(key).pause(seconds).key_up(key).perform()

    def type(self, text):
        for character in text:
            self.hold(character, 0.05)

    def pointing(self, x, y):
        """The player's pointer moved over a pixel of the game's screen, wherever the canvas shows it."""
        canvas = self.front().find_element(By.ID, 'canvas')
        box = canvas.rect
        dx = round(x * box['width'] / SCREEN[0] - box['width'] / 2)
        dy = round(y * box['height'] / SCREEN[1] - box['height'] / 2)
        return ActionChains(self.driver).move_to_element_with_offset(canvas, dx, dy)

    def point(self, x, y):
        """The pointer moved to a pixel of the game's screen."""
        self.pointing(x, y).perform()

    def click(self, x, y):
        """A left click at a pixel of the game's screen, wherever the canvas shows it."""
        self.pointing(x, y).pause(0.05).click().perform()

    def tap(self, x, y):
        """A finger's tap at a pixel of the game's screen, through Chromium's touch input."""
        box = self.front().find_element(By.ID, 'canvas').rect
        point = {'x': box['x'] + x * box['width'] / SCREEN[0], 'y': box['y'] + y * box['height'] / SCREEN[1]}
        self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': [point]})
        self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})

    def load_files(self, *paths):
        """Files chosen with the page's own 'load kept files'."""
        self.front().find_element(By.ID, 'load').send_keys('\n'.join(paths))

    # --- The kept files ---

    def kept(self, name):
        """The kept file as the page's memory holds it, or None."""
        return self.run("try { return new TextDecoder().decode(FS.readFile('/kept/' + arguments[0])); } "
                        "catch (e) { return null; }", name)

    def stored(self, name):
        """The kept file as IndexedDB holds it, or None."""
        return self.front().execute_async_script("""
            var name = arguments[0], done = arguments[arguments.length - 1];
            var opening = indexedDB.open('/kept');
            opening.onerror = function () { done('cannot open IndexedDB'); };
            opening.onsuccess = function () {
                var db = opening.result;
                if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); done(null); return; }
                var reading = db.transaction(['FILE_DATA']).objectStore('FILE_DATA').get('/kept/' + name);
                reading.onsuccess = function () {
                    db.close();
                    done(reading.result ? new TextDecoder().decode(reading.result.contents) : null);
                };
            };""", name)

    def wait_for_stored(self, name, text):
        wait_until('%s stored as %r' % (name, text), lambda: self.stored(name) == text)


# Where the main page's items and the options page's switches are on the game's screen.
NEW_GAME = (400, 88)
OPTIONS = (400, 148)
EXIT = (400, 328)
FULLSCREEN_SWITCH = (452, 118)
MUSIC_SWITCH = (355, 188)
CONTROLS_ITEM = (400, 323)      # on the options page
HIGH_SCORE_ITEM = (400, 208)    # on the main page
# Where the pointer rests while a page's picture is compared: over no item.
ASIDE = (20, 580)

__all__ = ['Image', 'ImageChops', 'ActionChains', 'AUTOPLAY', 'ON_MESA', 'LOAD_SECONDS', 'SITE', 'By', 'Server', 'Browser', 'Tab', 'Keys', 'wait_until', 'SHOTS', 'SCREEN', 'SOURCE',
           'NEW_GAME', 'OPTIONS', 'EXIT', 'FULLSCREEN_SWITCH', 'MUSIC_SWITCH', 'CONTROLS_ITEM', 'HIGH_SCORE_ITEM', 'ASIDE']


# The reference pictures of the game's screens, drawn by the Linux build (tools/make-references.sh).
REFERENCES = os.path.join(SOURCE, 'tests', 'pictures')
# A picture looks as its reference within this many steps a channel but for this many pixels, as
# the Windows build's picture test holds its screens (tests/windows/start_test.cpp).
CHANNEL_STEPS = 8
STRAY_PIXELS = 16


def compare_pictures(got, want):
    """How many pixels differ by more than CHANNEL_STEPS in some channel, how many by any step, and
    a map of the differences: `want` dimmed to a quarter, far pixels red, near ones blue."""
    apart = ImageChops.difference(got, want).split()
    most = ImageChops.lighter(ImageChops.lighter(apart[0], apart[1]), apart[2])
    histogram = most.histogram()
    far = sum(histogram[CHANNEL_STEPS + 1:])
    near = sum(histogram[1:CHANNEL_STEPS + 1])
    differences = want.point(lambda value: value // 4)
    for colour, least in (((0, 0, 255), 1), ((255, 0, 0), CHANNEL_STEPS + 1)):
        mask = most.point(lambda d: 255 if d >= least else 0)
        differences = Image.composite(Image.new('RGB', want.size, colour), differences, mask)
    return far, far + near, differences


def reference(name):
    """tests/pictures/NAME.png as an RGB image."""
    return Image.open(os.path.join(REFERENCES, name + '.png')).convert('RGB')


def looks_as(got, name, out):
    """Whether `got` looks as the reference picture `name`; if not, it is left in `out` with a
    map of the differences, and the answer says where."""
    far, _, differences = compare_pictures(got, reference(name))
    if far <= STRAY_PIXELS:
        return True
    os.makedirs(out, exist_ok=True)
    got.save(os.path.join(out, name + '.png'))
    differences.save(os.path.join(out, name + '-diff.png'))
    print('%s: %d pixels differ by more than %d steps; see %s' % (name, far, CHANNEL_STEPS,
                                                                  os.path.join(out, name + '-diff.png')))
    return False


__all__ += ['REFERENCES', 'CHANNEL_STEPS', 'STRAY_PIXELS', 'compare_pictures', 'reference', 'looks_as']


def light_pixels(image, box, least=200, yellow=False):
    """How many pixels of `box` (x, y, width, height of the game's screen) are light: red and green
    at least `least`, and blue too (white), or blue below 80 (yellow)."""
    x, y, width, height = box
    count = 0
    for r, g, b in image.crop((x, y, x + width, y + height)).getdata():
        count += r >= least and g >= least and (b < 80 if yellow else b >= least)
    return count


# The pages by what only they show: "new game" (white or lit) on the main page, the switches'
# grey labels on the options page, "please enter your name" on name entry.
def main_page(image):
    return light_pixels(image, (330, 75, 140, 20), 200) + light_pixels(image, (330, 75, 140, 20), 200, True) > 100


def options_page(image):
    return light_pixels(image, (230, 110, 150, 20), 150) > 100


def name_entry(image):
    return light_pixels(image, (200, 135, 100, 30)) > 100


# The play screen paused: "paused" in the middle of the empty board.
def paused(image):
    return light_pixels(image, (280, 252, 115, 26)) > 100


def play_to_name_entry(tab, name, confirm=True):
    """From the main page into a game, blocks dropped with Space until the game is over, and the
    name typed on name entry (the table in the tab must let a game of no points in), then Return
    unless `confirm` is false."""
    tab.click(*NEW_GAME)
    for _ in range(60):
        if name_entry(tab.picture()):
            break
        tab.hold(Keys.SPACE, 0.08)
    tab.wait_for(name_entry, 'name entry')
    # The release of the last drop's Space may come on name entry, and type a space.
    for _ in range(16):
        tab.hold(Keys.BACKSPACE, 0.05)
    tab.type(name)
    if confirm:
        tab.hold(Keys.ENTER)
        return
    # Until the name stands still, each character having had its frame.
    still, last = 0, None
    while still < 5:
        time.sleep(0.1)
        now = tab.picture()
        still = still + 1 if last is not None and not ImageChops.difference(now, last).getbbox() else 0
        last = now


def file_to_load(test, name, text):
    """A file named `name` holding `text`, in a folder of its own, for a page to load; removed when
    the test ends."""
    folder = tempfile.mkdtemp(prefix='tavirel-load-')
    path = os.path.join(folder, name)
    with open(path, 'w') as out:
        out.write(text)
    test.addCleanup(lambda: (os.remove(path), os.rmdir(folder)))
    return path


__all__ += ['light_pixels', 'main_page', 'options_page', 'name_entry', 'paused', 'play_to_name_entry',
            'file_to_load']
