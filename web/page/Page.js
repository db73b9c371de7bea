// The page around the game's module (linked in front of emscripten's own code): the canvas
// fitted to the view, the browser's events queued as plain records for the WebAssembly side
// (web/WebFrontend.cpp drains them), sound through an AudioWorklet, the fonts and the module
// fetched by index.html, and the service worker. No rule of the game lives here.
'use strict';

var Module = typeof Module != 'undefined' ? Module : {};

(function () {
  var loader = window.spherolette || {};
  var canvas = document.getElementById('stage');
  var typing = document.getElementById('typing');
  var context2d = canvas.getContext('2d', {alpha: false});
  // The stage's own size (host/GameLook.h): the drawable area is never smaller.
  var STAGE_W = 530, STAGE_H = 420;

  // Shell event types and key codes, in the order of shell/session/ShellEvent.h.
  var T = {PointerDown: 1, PointerUp: 2, PointerMove: 3, PointerLeft: 4, Key: 5, Text: 6,
           FocusLost: 7, FocusGained: 8, Resized: 9, Exposed: 10, Close: 11, Terminate: 12};
  var K = {Character: 1, Escape: 2, Enter: 3, Tab: 4, Backspace: 5, Delete: 6, Left: 7, Right: 8,
           Up: 9, Down: 10, Home: 11, End: 12, Space: 13, F1: 14, F10: 15, F11: 16, F12: 17,
           Menu: 18};
  var KEYS = {Escape: K.Escape, Enter: K.Enter, Tab: K.Tab, Backspace: K.Backspace,
              Delete: K.Delete, ArrowLeft: K.Left, ArrowRight: K.Right, ArrowUp: K.Up,
              ArrowDown: K.Down, Home: K.Home, End: K.End, ' ': K.Space, F1: K.F1, F10: K.F10,
              F11: K.F11, F12: K.F12, ContextMenu: K.Menu};

  var web = {
    queue: [],          // records waiting for the game: {type, x, y, held, key, ch, mods, text}
    wake: null,         // resumes the game's wait, when it waits
    scale: 1,           // drawable pixels per CSS pixel
    width: STAGE_W, height: STAGE_H,
    textInput: false,
    ending: false,      // the tab is closing: the game finishes without waiting again
    busy: null,         // when an array, the milliseconds of work after each wake go there
    wokeAt: -1,
    audio: null,
    canvas: canvas,
    context: context2d,
  };
  Module.web = web;

  // ---- The game's messages -------------------------------------------------------------------
  // The game writes a line only when something is wrong; it goes to the console as such.
  Module.print = function (text) { console.log(text); };
  Module.printErr = function (text) { console.error(text); };
  // A page that cannot run the game says so in the page itself.
  web.showMessage = function (text) {
    var box = document.getElementById('message');
    box.textContent = text;
    box.style.display = 'flex';
  };

  // ---- Loading: the module and fonts index.html fetched ---------------------------------------
  Module.instantiateWasm = function (imports, done) {
    var compiled = loader.module || WebAssembly.compileStreaming(fetch('spherolette.wasm'));
    compiled.then(function (module) {
      return WebAssembly.instantiate(module, imports).then(function (instance) {
        done(instance, module);
      });
    }).catch(function (error) {
      web.showMessage('Spherolette could not start in this browser (' + error + ').');
    });
    return {};
  };
  // The module is compiled and its fonts are in: main runs next (marked for the measurements).
  Module.onRuntimeInitialized = function () { performance.mark('module-ready'); };
  web.fonts = [];
  Module.preRun = [function () {
    addRunDependency('fonts');
    Promise.all(loader.fonts || []).then(function (buffers) {
      web.fonts = buffers.map(function (buffer) { return new Uint8Array(buffer); });
    }, function () {
      web.fonts = [];
    }).then(function () { removeRunDependency('fonts'); });
  }];
  // The URL's query as the command line: ?seed=7&relaxed gives --seed 7 --relaxed. A replay
  // (?replay=URL, a recording of the native shell's --record) is fetched into the module's
  // memory file system first.
  var REPLAY_FILE = '/replay.txt';
  var replayUrl = null;
  Module.arguments = [];
  new URLSearchParams(location.search).forEach(function (value, key) {
    Module.arguments.push('--' + key);
    if (key === 'replay') {
      replayUrl = value;
      Module.arguments.push(REPLAY_FILE);
    } else if (value !== '') {
      Module.arguments.push(value);
    }
  });
  if (replayUrl !== null) {
    Module.preRun.push(function () {
      addRunDependency('replay');
      fetch(replayUrl).then(function (r) {
        if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
        return r.arrayBuffer();
      }).then(function (bytes) {
        FS.writeFile(REPLAY_FILE, new Uint8Array(bytes));
      }, function (error) {
        web.showMessage('Spherolette: the replay ' + replayUrl + ' could not be read (' + error + ').');
      }).then(function () { removeRunDependency('replay'); });
    });
  }

  // ---- The canvas fitted to the view ------------------------------------------------------
  // The backing store has the device's pixels (crisp on HiDPI screens), and at least the
  // stage's size: a view narrower than the stage shows it scaled down by the browser.
  function fit() {
    var cssW = Math.max(1, window.innerWidth), cssH = Math.max(1, window.innerHeight);
    var scale = Math.max(window.devicePixelRatio || 1, STAGE_W / cssW, STAGE_H / cssH);
    var w = Math.round(cssW * scale), h = Math.round(cssH * scale);
    web.scale = scale;
    if (w === web.width && h === web.height && canvas.width === w) return false;
    web.width = w;
    web.height = h;
    canvas.width = w;
    canvas.height = h;
    return true;
  }
  fit();

  function push(record) {
    if (record.type === T.PointerMove) {
      // Moves between two frames: only the latest counts.
      var last = web.queue[web.queue.length - 1];
      if (last && last.type === T.PointerMove && last.held === record.held) {
        web.queue[web.queue.length - 1] = record;
        return;
      }
    }
    web.queue.push(record);
    if (web.wake) {
      var wake = web.wake;
      web.wake = null;
      wake();
    }
  }
  web.push = push;

  function pointerRecord(type, e, held) {
    var box = canvas.getBoundingClientRect();
    var x = Math.floor((e.clientX - box.left) * canvas.width / Math.max(1, box.width));
    var y = Math.floor((e.clientY - box.top) * canvas.height / Math.max(1, box.height));
    return {type: type, x: x, y: y, held: held ? 1 : 0};
  }

  // ---- Pointer: mouse, touch and pen alike --------------------------------------------------
  var pressed = null;  // the pointer id holding the button down
  canvas.addEventListener('pointerdown', function (e) {
    startSound();
    if (!e.isPrimary || e.button !== 0 || pressed !== null) return;
    e.preventDefault();
    canvas.focus({preventScroll: true});
    pressed = e.pointerId;
    // Moves and the release come here even outside the canvas while it is held.
    try { canvas.setPointerCapture(e.pointerId); } catch (error) { /* already gone */ }
    // A finger or a pen does not hover: it arrives where it presses, as a mouse would have
    // moved there first, so a bubble picked up by a tap follows it to the second tap.
    if (e.pointerType !== 'mouse') push(pointerRecord(T.PointerMove, e, false));
    push(pointerRecord(T.PointerDown, e, true));
  });
  canvas.addEventListener('pointermove', function (e) {
    if (pressed !== null ? e.pointerId !== pressed : !e.isPrimary) return;
    push(pointerRecord(T.PointerMove, e, pressed !== null));
  });
  function release(e) {
    startSound();  // a finger's tap lets sound start only as it lifts
    if (e.pointerId !== pressed) return;
    pressed = null;
    push(pointerRecord(T.PointerUp, e, false));
  }
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);
  canvas.addEventListener('pointerleave', function (e) {
    if (pressed === null && e.isPrimary && e.pointerType === 'mouse') push({type: T.PointerLeft});
  });
  // No menus, selections, double-tap zoom or scrolling under a finger.
  ['contextmenu', 'selectstart', 'dblclick', 'touchstart', 'touchmove', 'gesturestart']
    .forEach(function (name) {
      canvas.addEventListener(name, function (e) { e.preventDefault(); }, {passive: false});
    });

  // ---- Keyboard: keys as the window's shell reads them, and typed text ------------------------
  window.addEventListener('keydown', function (e) {
    startSound();
    var mods = (e.ctrlKey || e.metaKey ? 1 : 0) | (e.shiftKey ? 2 : 0) | (e.altKey ? 4 : 0);
    var key = KEYS[e.key] || 0, ch = 0;
    if (!key && e.key.length === 1 && /[a-z0-9]/i.test(e.key)) {
      key = K.Character;
      ch = e.key.toLowerCase().charCodeAt(0);
    }
    // The browser's own keys stay the browser's (reload, its tools, leaving full screen).
    if (e.key === 'F5' || e.key === 'F12' || (mods & 1 && /^[rlt]$/i.test(e.key))) return;
    // Into the hidden field (a phone's keyboard), typing arrives by its input event instead.
    var typed = e.key.length === 1 && !(mods & 1) && document.activeElement !== typing ? e.key : '';
    if (!key && !typed) return;
    e.preventDefault();
    if (key) push({type: T.Key, key: key, ch: ch, mods: mods});
    if (typed) push({type: T.Text, text: typed});
  });
  // A phone's on-screen keyboard types into a hidden field while the game wants text.
  typing.addEventListener('input', function () {
    if (typing.value) push({type: T.Text, text: typing.value});
    typing.value = '';
  });
  web.setTextInput = function (on) {
    web.textInput = on;
    if (on && window.matchMedia && matchMedia('(pointer: coarse)').matches) {
      typing.focus({preventScroll: true});
    } else if (!on && document.activeElement === typing) {
      canvas.focus({preventScroll: true});
    }
  };

  // ---- The view: size, visibility, leaving ---------------------------------------------------
  function refit() {
    if (fit()) push({type: T.Resized, x: web.width, y: web.height});
  }
  window.addEventListener('resize', refit);
  if (window.visualViewport) window.visualViewport.addEventListener('resize', refit);
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') {
      push({type: T.FocusLost});
    } else {
      refit();
      push({type: T.FocusGained});
      push({type: T.Exposed});
    }
  });
  // Closing the tab ends the run as closing the window does: a game in progress is kept. The
  // page gets no time to wait, so the game finishes from here without waiting again.
  window.addEventListener('pagehide', function () {
    if (web.ending) return;
    web.ending = true;
    push({type: T.Terminate});
  });

  // ---- Sound: Web Audio, started by the player's first click or key ------------------------
  // The game mixes; a worklet plays what the page hands it, asking for more as it runs low.
  // Every request reaches the module as a record (types 100: the output's rate, 0 for none;
  // 101: frames wanted), answered from its own wait: the module is never called into while it
  // sleeps, which would overwrite the stack it sleeps on.
  var SOUND_FORMAT = 100, SOUND_BLOCK = 101;
  web.soundWanted = false;
  web.soundNode = null;
  web.soundBlocks = 0;  // blocks of the mix handed to the worklet
  var soundTried = false;
  function startSound() {
    if (soundTried || !web.soundWanted) return;
    soundTried = true;
    var AudioContextType = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextType || !window.AudioWorkletNode) {
      push({type: SOUND_FORMAT, x: 0});
      return;
    }
    var audio = new AudioContextType({latencyHint: 'interactive'});
    web.audio = audio;
    audio.audioWorklet.addModule('sound-output.js').then(function () {
      var node = new AudioWorkletNode(audio, 'spherolette-output',
                                      {numberOfInputs: 0, outputChannelCount: [2]});
      node.port.onmessage = function (message) {
        push({type: SOUND_BLOCK, x: message.data | 0});
      };
      node.connect(audio.destination);
      web.soundNode = node;
      push({type: SOUND_FORMAT, x: audio.sampleRate | 0});
    }).catch(function () {
      push({type: SOUND_FORMAT, x: 0});
    });
    if (audio.state === 'suspended') audio.resume().catch(function () {});
  }

  // ---- Offline: the service worker serves this version's files from the cache --------------
  // Registered once the game shows, so that it never competes with the first frame.
  // `loader.workerReady` settles once the worker holds every file (the measurements wait on it).
  web.registerWorker = function () {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    loader.workerReady = navigator.serviceWorker.register('sw.js').then(function () {
      return navigator.serviceWorker.ready;
    }).then(function () { return true; }, function () {
      return false;  // no offline play (a private window, say): the game plays all the same
    });
  };
})();
