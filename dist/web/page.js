// page.js: the page around the game: the canvas's size and the loading bar, the keys and the
// pointer, fullscreen, the kept files in IndexedDB, and what the page tells the player.
// Emscripten runs it before its own script (--pre-js); the game calls TavirelPage.

var TavirelPage = (function () {
  'use strict';

  var canvas = document.getElementById('canvas');
  var stage = document.getElementById('stage');
  var shown = false;      // the game's first picture is on the canvas
  var over = false;       // the game has ended, or stopped

  // --- What the page says ----------------------------------------------------------------------

  // What the page says instead of the picture; files loaded back now would reach no game.
  function say(sentence, again) {
    document.getElementById('loading').hidden = true;
    canvas.style.visibility = 'hidden';
    document.getElementById('sentence').textContent = sentence;
    document.getElementById('again').hidden = !again;
    document.getElementById('message').hidden = false;
    showLine('load-label', false);
  }

  document.getElementById('again').addEventListener('click', function () { location.reload(); });

  // A line of the footer shown or hidden; the canvas's part of the page changes with it.
  function showLine(id, on) {
    var line = document.getElementById(id);
    if (line.hidden === !on)
      return;
    line.hidden = !on;
    measure();
  }

  // --- The canvas: as large as fits the page, 4 : 3, in the screen's own pixels -------------------

  var area = { width: 0, height: 0, ratio: 1 };
  var measured = false;   // measured anew since the game last followed the page

  // The largest picture of 4 : 3 in whole device pixels that fits the stage, the page but for its
  // footer (the whole screen in fullscreen). Measured whenever that may have changed, so that a
  // frame of the game asks the page nothing else while it stays as it is.
  function measure() {
    var ratio = window.devicePixelRatio || 1;
    var unit = Math.floor(Math.min(stage.clientWidth * ratio / 4, stage.clientHeight * ratio / 3));
    area = { width: 4 * Math.max(unit, 1), height: 3 * Math.max(unit, 1), ratio: ratio };
    measured = true;
  }

  function takeMeasured() {
    var now = measured;
    measured = false;
    return now ? 1 : 0;
  }

  // Sizes the canvas to `width` x `height` device pixels, at whole device pixels in the middle of
  // the stage, so that the browser shows the picture as drawn. True when its size changed, which
  // clears what it showed.
  function fitCanvas(width, height) {
    var sized = canvas.width !== width || canvas.height !== height;
    if (sized) {
      canvas.width = width;
      canvas.height = height;
    }
    var ratio = area.ratio;
    var style = {
      width: width / ratio + 'px',
      height: height / ratio + 'px',
      left: Math.floor((stage.clientWidth * ratio - width) / 2) / ratio + 'px',
      top: Math.floor((stage.clientHeight * ratio - height) / 2) / ratio + 'px'
    };
    for (var name in style)
      if (canvas.style[name] !== style[name])
        canvas.style[name] = style[name];
    return sized ? 1 : 0;
  }

  window.addEventListener('resize', measure);
  // A zoom or another screen changes the device pixel ratio, not always the window's size.
  function watchRatio() {
    var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    query.addEventListener('change', function () { measure(); watchRatio(); }, { once: true });
  }
  watchRatio();

  // --- Keys, pointer and focus --------------------------------------------------------------------

  // Keys that stay the browser's: reload, its own fullscreen, its tools, and its shortcuts. Every
  // other key is the game's alone: none scrolls, zooms, moves the focus or leaves the page.
  var GameKeys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', ' ', 'Backspace', 'Tab', 'Escape', 'Enter'];
  function browserKey(event) {
    if (event.key === 'F5' || event.key === 'F11' || event.key === 'F12')
      return true;
    return (event.ctrlKey || event.metaKey) && GameKeys.indexOf(event.key) < 0;
  }

  // Emscripten's SDL is told the key as the DOM tells it; a key held down repeating is not new to
  // the game, as SDL 1.2 repeats no key unless asked to. Once the game has ended, the keys are
  // the page's again.
  function onKey(event) {
    if (!browserKey(event) && !over)
      event.preventDefault();
    if (event.type === 'keydown') {
      gesture();
      showLine('keyboard', false);
    }
    if (!shown || over || event.repeat)
      return;
    SDL.receiveEvent({
      type: event.type, keyCode: event.keyCode, charCode: event.charCode, location: event.location,
      preventDefault: function () {}
    });
  }
  document.addEventListener('keydown', onKey, true);
  document.addEventListener('keyup', onKey, true);

  // A touch is a click where it lands: the pointer moves there first.
  canvas.addEventListener('touchstart', function (event) {
    var touch = event.changedTouches[0];
    if (shown && touch)
      SDL.receiveEvent({ type: 'mousemove', button: 0, pageX: touch.pageX, pageY: touch.pageY,
                         preventDefault: function () {} });
  }, true);
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  document.addEventListener('mousedown', gesture, true);
  document.addEventListener('touchend', gesture, true);

  var pointerOver = false;
  canvas.addEventListener('mouseenter', function () { pointerOver = true; });
  canvas.addEventListener('mouseleave', function () { pointerOver = false; });

  // The page hidden or without the keyboard since the game last looked: a hidden tab runs no
  // frames, so the first look after it must still find the focus lost.
  var focusLost = false;
  function onLeave(event) {
    if (event.type === 'blur' || document.hidden)
      focusLost = true;
    // Emscripten's SDL lets go of every key held, whose release the page will not hear.
    if (shown)
      SDL.receiveEvent(event);
  }
  window.addEventListener('blur', onLeave);
  document.addEventListener('visibilitychange', onLeave);

  // SDL_GetAppState's answer: SDL_APPMOUSEFOCUS, SDL_APPINPUTFOCUS, SDL_APPACTIVE.
  function appState() {
    var state = pointerOver ? 1 : 0;
    if (!focusLost && document.hasFocus())
      state |= 2;
    if (!focusLost && !document.hidden)
      state |= 4;
    focusLost = false;
    return state;
  }

  // --- Fullscreen ---------------------------------------------------------------------------------

  var fullscreen = { wanted: false, asking: false, was: false, left: false };

  // Asked for when the game wants it; a browser grants it only during a key or click, or shortly
  // after one, so a refusal waits for the player's next key or click.
  function askFullscreen() {
    if (!fullscreen.wanted || document.fullscreenElement || fullscreen.asking || !document.fullscreenEnabled)
      return;
    fullscreen.asking = true;
    stage.requestFullscreen({ navigationUI: 'hide' }).catch(function () {}).then(function () {
      fullscreen.asking = false;
    });
  }

  function wantFullscreen(on) {
    fullscreen.wanted = !!on;
    if (on)
      askFullscreen();
    else if (document.fullscreenElement)
      document.exitFullscreen().catch(function () {});
  }

  document.addEventListener('fullscreenchange', function () {
    var now = !!document.fullscreenElement;
    // Left by the browser's key while the game still wanted it: the switch goes back.
    if (fullscreen.was && !now && fullscreen.wanted) {
      fullscreen.wanted = false;
      fullscreen.left = true;
    }
    fullscreen.was = now;
    measure();
  });

  function takeFullscreenLeft() {
    var left = fullscreen.left;
    fullscreen.left = false;
    return left ? 1 : 0;
  }

  // The player's key or click: the moment a browser lets the page go fullscreen.
  function gesture() {
    askFullscreen();
  }

  // --- The kept files: a folder of Emscripten's IDBFS, each file put into IndexedDB as it is saved -

  var KeptFolder = '/kept';
  var KeptNames = ['opt.dat', 'dex.dll', 'controls.dat'];
  var TableName = 'dex.dll';
  // The game reads no more of a kept file (KeptFileBound, base/files.h).
  var KeptBound = 64 * 1024;

  var kept = {
    db: null,          // IDBFS's database, once the folder was read from it
    troubleTold: false,
    base: {},          // path: the bytes IndexedDB held when this tab last read or stored them
    busy: {},          // path: a transaction keeps it now
    again: {},         // path: saved again meanwhile
    replace: {},       // path: loaded back by the player, stored as it is
    merging: false,
    transactions: [],  // storing now
    hadFiles: false,   // IndexedDB held a kept file when the page opened
    loaded: false      // files were loaded back, for the game to read
  };

  function storageTrouble(what, error) {
    if (kept.troubleTold)
      return;
    kept.troubleTold = true;
    var why = !error ? 'no reason given' : !error.name ? String(error) :
              error.message ? error.name + ': ' + error.message : error.name;
    console.warn('Tavirel: the browser ' + what + ' (' + why + '); the game plays on, and what it keeps lasts ' +
                 'only while the page is open.');
  }

  function readKept(path) {
    try {
      return FS.readFile(path);
    } catch (e) {
      return null;
    }
  }

  function sameBytes(a, b) {
    if (!a || !b)
      return !a && !b;
    if (a.length !== b.length)
      return false;
    for (var i = 0; i < a.length; i++)
      if (a[i] !== b[i])
        return false;
    return true;
  }

  // Before the game starts: the folder is mounted and filled from IndexedDB.
  function mountKept() {
    FS.mkdir(KeptFolder);
    FS.mount(IDBFS, {}, KeptFolder);
    addRunDependency('kept files');
    IDBFS.getDB(KeptFolder, function (error, db) {
      if (error || !db) {
        whyRefused(function (reason) {
          storageTrouble('keeps no files for this page', error || reason);
          removeRunDependency('kept files');
        });
        return;
      }
      FS.syncfs(true, function (error) {
        if (error) {
          storageTrouble('could not read the files it keeps for this page', error);
        } else {
          kept.db = db;
          KeptNames.forEach(function (name) {
            var path = KeptFolder + '/' + name;
            kept.base[path] = readKept(path);
            kept.hadFiles = kept.hadFiles || kept.base[path] !== null;
          });
        }
        listKeptFiles();
        removeRunDependency('kept files');
      });
    });
  }

  // The browser's reason for refusing IndexedDB, which IDBFS does not pass on.
  function whyRefused(tell) {
    try {
      var opening = indexedDB.open(KeptFolder);
      opening.onerror = function (event) {
        event.preventDefault();
        tell(opening.error);
      };
      opening.onsuccess = function () {
        opening.result.close();
        tell(null);
      };
    } catch (e) {
      tell(e);
    }
  }

  // Another tab stored the score table since this one read it: the game enters this tab's new
  // results into the stored table again (base/kept_web.cpp).
  function mergeTable(path, stored) {
    var base = kept.base[path] || new Uint8Array(0);
    stored = stored || new Uint8Array(0);
    var basePointer = _malloc(base.length + 1);
    var storedPointer = _malloc(stored.length + 1);
    HEAPU8.set(base, basePointer);
    HEAPU8.set(stored, storedPointer);
    kept.merging = true;
    try {
      _mergeStoredTable(basePointer, base.length, storedPointer, stored.length);
    } finally {
      kept.merging = false;
      _free(basePointer);
      _free(storedPointer);
    }
  }

  // The file as IDBFS keeps it in IndexedDB.
  function entryOf(path) {
    var stat = FS.stat(path);
    return { timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path) };
  }

  // Puts the file as the game saved it into IndexedDB at once, in one transaction that reads what
  // was stored before: where another tab stored the score table meanwhile, the table merged with
  // it replaces the file in the same transaction. A page closed at once keeps the file as saved.
  function store(path) {
    kept.busy[path] = true;
    var transaction, entry = entryOf(path);
    var table = path === KeptFolder + '/' + TableName && !kept.replace[path];
    delete kept.replace[path];
    try {
      transaction = kept.db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
    } catch (e) {
      kept.busy[path] = false;
      storageTrouble('refused to keep ' + path, e);
      return;
    }
    kept.transactions.push(transaction);
    var files = transaction.objectStore(IDBFS.DB_STORE_NAME);
    var reading = files.get(path);
    files.put(entry, path);
    reading.onsuccess = function () {
      var stored = reading.result ? reading.result.contents : null;
      if (table && !sameBytes(stored, kept.base[path])) {
        mergeTable(path, stored);
        entry = entryOf(path);
        files.put(entry, path);
      }
    };
    transaction.oncomplete = function () {
      forget(transaction);
      kept.base[path] = entry.contents;
      kept.busy[path] = false;
      if (!kept.hadFiles)
        showLine('storage', true);
      listKeptFiles();
      if (kept.again[path]) {
        delete kept.again[path];
        store(path);
      }
    };
    transaction.onabort = function () {
      forget(transaction);
      kept.busy[path] = false;
      storageTrouble('refused to keep ' + path, transaction.error);
    };
  }

  function forget(transaction) {
    kept.transactions.splice(kept.transactions.indexOf(transaction), 1);
  }

  // The page is going: what was put into IndexedDB is committed now, without waiting for the
  // page's callbacks, which may never run.
  function commitKept() {
    kept.transactions.forEach(function (transaction) {
      try {
        transaction.commit();
      } catch (e) {
      }
    });
  }

  // The game saved a file of the kept folder (base/platform_web.cpp).
  function keep(path) {
    if (!kept.db || kept.merging)
      return;
    if (kept.busy[path])
      kept.again[path] = true;
    else
      store(path);
  }

  // The kept files as links to download them, under the picture.
  function listKeptFiles() {
    var list = document.getElementById('kept');
    Array.prototype.forEach.call(list.querySelectorAll('a'), function (link) { URL.revokeObjectURL(link.href); });
    list.textContent = '';
    KeptNames.forEach(function (name) {
      var contents = readKept(KeptFolder + '/' + name);
      if (!contents)
        return;
      var link = document.createElement('a');
      link.textContent = name;
      link.download = name;
      link.href = URL.createObjectURL(new Blob([contents], { type: 'application/octet-stream' }));
      list.appendChild(document.createTextNode(list.childNodes.length ? ' \u00b7 ' : 'Kept files: '));
      list.appendChild(link);
    });
    measure();
  }

  // Files the player loads back: the game's own names only, at most as much of each as the game
  // reads; stored as they are, then read by the game as at start-up.
  document.getElementById('load').addEventListener('change', function (event) {
    var chosen = Array.prototype.filter.call(event.target.files, function (file) {
      return KeptNames.indexOf(file.name) >= 0;
    });
    event.target.value = '';
    Promise.all(chosen.map(function (file) { return file.slice(0, KeptBound).arrayBuffer(); })).then(function (contents) {
      if (!shown || over)
        return;
      chosen.forEach(function (file, i) {
        var path = KeptFolder + '/' + file.name;
        FS.writeFile(path, new Uint8Array(contents[i]));
        kept.replace[path] = true;
        keep(path);
      });
      listKeptFiles();
      kept.loaded = chosen.length > 0;
    }, function (error) {
      console.warn('Tavirel: the files chosen could not be read (' + error + ')');
    });
  });

  function takeFilesLoaded() {
    var loaded = kept.loaded;
    kept.loaded = false;
    return loaded ? 1 : 0;
  }

  // --- Loading, the first picture, the end ----------------------------------------------------------

  // Emscripten reports the data's arrival as "... (loaded/total)".
  function setStatus(text) {
    var share = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
    if (share)
      document.getElementById('share').style.width = Math.min(100, 100 * share[1] / share[2]) + '%';
  }

  function pictureDrawn() {
    if (shown)
      return;
    shown = true;
    document.getElementById('loading').hidden = true;
    canvas.style.visibility = 'visible';
    showLine('load-label', true);
    window.focus();
  }

  function ended() {
    over = true;
    wantFullscreen(0);
    say('The game has ended.', true);
  }

  function tellPlayer(sentence) {
    over = true;
    console.error(sentence);
    say(sentence, false);
    // The desktop's sentence; a player in a browser is told what it means there.
    document.getElementById('no-webgl').hidden = !!Module.preinitializedWebGLContext;
  }

  function showPointer(on) {
    var cursor = on ? '' : 'none';
    if (canvas.style.cursor !== cursor)
      canvas.style.cursor = cursor;
  }

  // What stops the page before the game shows (its data not to be had, a browser too old) is said.
  window.addEventListener('error', function (event) {
    if (!shown && !over) {
      over = true;
      say('Tavirel could not load: ' + event.message, true);
    }
  });

  // The page closing ends the game as a closed window does: a result being entered, and the
  // switches of the options page, are kept.
  window.addEventListener('pagehide', function () {
    if (shown && !over)
      _pageClosed();
    commitKept();
  });

  // A device with only a touch screen has no keyboard to play with.
  if (window.matchMedia('(any-pointer: coarse)').matches && !window.matchMedia('(any-pointer: fine)').matches)
    showLine('keyboard', true);
  // A gamepad shows to the page once one of its buttons is pressed there; until then the game
  // does not ask the browser for gamepads in every frame.
  var gamepadShown = false;
  window.addEventListener('gamepadconnected', function () {
    gamepadShown = true;
    showLine('keyboard', false);
  });

  // The WebGL context the game draws into: the picture stays on the canvas after it is shown, so
  // that a picture kept from the last frame needs no drawing, and can be read back.
  function makeContext() {
    var attributes = { alpha: false, depth: true, stencil: false, antialias: false, preserveDrawingBuffer: true };
    try {
      return canvas.getContext('webgl', attributes) || canvas.getContext('experimental-webgl', attributes);
    } catch (e) {
      return null;
    }
  }

  measure();
  Module.canvas = canvas;
  Module.preinitializedWebGLContext = makeContext();
  // The page hears the keys itself (onKey); the OGG files stay undecoded until the mixer loads them.
  Module.doNotCaptureKeyboard = true;
  Module.noAudioDecoding = true;
  Module.setStatus = setStatus;
  Module.print = function (line) { console.log(line); };
  Module.onAbort = function (what) {
    over = true;
    say('The game stopped: ' + what, true);
  };
  Module.preRun = Module.preRun || [];
  Module.preRun.push(mountKept);

  return {
    area: function () { return area; },
    takeMeasured: takeMeasured,
    fitCanvas: fitCanvas,
    appState: appState,
    wantFullscreen: wantFullscreen,
    takeFullscreenLeft: takeFullscreenLeft,
    keep: keep,
    takeFilesLoaded: takeFilesLoaded,
    gamepadShown: function () { return gamepadShown ? 1 : 0; },
    pictureDrawn: pictureDrawn,
    ended: ended,
    tellPlayer: tellPlayer,
    showPointer: showPointer
  };
})();
