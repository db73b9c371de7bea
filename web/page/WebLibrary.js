// The page's services as the WebAssembly side imports them (an emscripten JavaScript library):
// waiting for the next record or frame, reading records, showing pixels, the drawable size, the
// title, text input, the fonts and the browser's storage. Module.web is set up by Page.js.
mergeInto(LibraryManager.library, {
  // Waits without blocking the page (the module sleeps through ASYNCIFY): until a record is
  // queued, or, when `ms` >= 0, until the first animation frame at least `ms` milliseconds
  // from now. Timers then run from the page's frame callback; a hidden tab gets no frames,
  // and its game (paused on hiding) waits for records only.
  web_wait__deps: ['$Asyncify'],
  web_wait: function (ms) {
    var web = Module.web;
    // Called a second time as the module wakes, to finish waking: only handleSleep may answer.
    if (Asyncify.state === Asyncify.State.Normal) {
      // How long the module worked since it last woke (the benchmarks read these).
      if (web.busy && web.wokeAt >= 0) web.busy.push(performance.now() - web.wokeAt);
      web.wokeAt = -1;
      if (web.queue.length > 0 || web.ending) return;
    }
    return Asyncify.handleSleep(function (wakeUp) {
      var frame = 0;
      var until = performance.now() + ms;
      var done = function () {
        if (frame) cancelAnimationFrame(frame);
        frame = 0;
        web.wake = null;
        web.wokeAt = performance.now();
        wakeUp();
      };
      web.wake = done;
      if (ms < 0) return;
      var tick = function (now) {
        frame = 0;
        // A frame lands about every 16 ms: one within half a frame of the deadline is in time.
        if (now + 8 >= until) {
          done();
        } else {
          frame = requestAnimationFrame(tick);
        }
      };
      frame = requestAnimationFrame(tick);
    });
  },

  web_ending: function () {
    return Module.web.ending ? 1 : 0;
  },

  // The next record into out[0..7] (type, x, y, held, key, character, mods, text length) and
  // its UTF-8 text into text[0..capacity); 0 when there is none.
  web_next_event: function (out, text, capacity) {
    var record = Module.web.queue.shift();
    if (!record) return 0;
    var at = out >> 2;
    HEAP32[at] = record.type;
    HEAP32[at + 1] = record.x | 0;
    HEAP32[at + 2] = record.y | 0;
    HEAP32[at + 3] = record.held | 0;
    HEAP32[at + 4] = record.key | 0;
    HEAP32[at + 5] = record.ch | 0;
    HEAP32[at + 6] = record.mods | 0;
    HEAP32[at + 7] = record.text ? stringToUTF8(record.text, text, capacity) : 0;
    return 1;
  },

  web_drawable_size: function (width, height) {
    HEAP32[width >> 2] = Module.web.width;
    HEAP32[height >> 2] = Module.web.height;
  },

  // Puts width x height RGBA pixels at (x, y) of the canvas.
  web_put_pixels: function (pixels, x, y, width, height) {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    Module.web.context.putImageData(new ImageData(bytes, width, height), x, y);
  },

  // Fills a rectangle of the canvas with one colour (a margin around the stage).
  web_fill: function (x, y, width, height, red, green, blue) {
    var context = Module.web.context;
    context.fillStyle = 'rgb(' + red + ',' + green + ',' + blue + ')';
    context.fillRect(x, y, width, height);
  },

  // The first full frame is on the canvas: marked for the measurements, and the service worker
  // may now fetch what the page did not.
  web_first_frame: function () {
    performance.mark('first-full-frame');
    Module.web.registerWorker();
  },

  web_set_title: function (title) {
    document.title = UTF8ToString(title);
  },

  // Text input is on while a dialog is open: `dialogs` counts them (the browser tests wait on it).
  web_text_input: function (on) {
    var web = Module.web;
    if (on && !web.textInput) web.dialogs = (web.dialogs || 0) + 1;
    web.setTextInput(!!on);
  },

  web_fullscreen: function () {
    return document.fullscreenElement ? 1 : 0;
  },

  web_toggle_fullscreen: function () {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function () {});
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(function () {});
    }
  },

  web_finished: function (code) {
    Module.web.exitCode = code;
    performance.mark('run-finished');
  },

  web_message: function (text) {
    Module.web.showMessage(UTF8ToString(text));
  },

  // ---- localStorage, one character a byte (so any text round-trips) ------------------------
  // -1: nothing stored, -2: the browser refuses storage (a private mode, say), -3: it is full.
  $webStorage: {
    LOCK_STALE_MS: 90000,    // a lock not refreshed for this long was left by a closed tab
    LOCK_REFRESH_MS: 5000,
    tab: Math.random().toString(36).slice(2) + Date.now().toString(36),
    held: {},                // key -> refreshing timer, for the locks this tab holds
    store: function () {
      try {
        return window.localStorage || null;
      } catch (error) {
        return null;  // refused outright
      }
    },
    code: function (error) {
      return error && (error.name === 'QuotaExceededError' || error.code === 22) ? -3 : -2;
    },
    toText: function (pointer, size) {
      var parts = [];
      for (var at = 0; at < size; at += 8192) {
        parts.push(String.fromCharCode.apply(null,
            HEAPU8.subarray(pointer + at, pointer + Math.min(size, at + 8192))));
      }
      return parts.join('');
    },
  },
  web_storage_size__deps: ['$webStorage'],
  web_storage_size: function (key) {
    var store = webStorage.store();
    if (!store) return -2;
    try {
      var text = store.getItem(UTF8ToString(key));
      return text === null ? -1 : text.length;
    } catch (error) {
      return -2;
    }
  },
  web_storage_read__deps: ['$webStorage'],
  web_storage_read: function (key, out, size) {
    var store = webStorage.store();
    if (!store) return -2;
    try {
      var text = store.getItem(UTF8ToString(key));
      if (text === null) return -1;
      if (text.length !== size) return -4;
      for (var i = 0; i < size; ++i) HEAPU8[out + i] = text.charCodeAt(i) & 0xff;
      return size;
    } catch (error) {
      return -2;
    }
  },
  web_storage_write__deps: ['$webStorage'],
  web_storage_write: function (key, text, size) {
    var store = webStorage.store();
    if (!store) return -2;
    try {
      store.setItem(UTF8ToString(key), webStorage.toText(text, size));
      return 0;
    } catch (error) {
      return webStorage.code(error);
    }
  },
  web_storage_move__deps: ['$webStorage'],
  web_storage_move: function (from, to) {
    var store = webStorage.store();
    if (!store) return -2;
    try {
      var text = store.getItem(UTF8ToString(from));
      if (text === null) return -1;
      store.setItem(UTF8ToString(to), text);
      store.removeItem(UTF8ToString(from));
      return 0;
    } catch (error) {
      return webStorage.code(error);
    }
  },
  web_storage_remove__deps: ['$webStorage'],
  web_storage_remove: function (key) {
    var store = webStorage.store();
    if (!store) return -2;
    try {
      store.removeItem(UTF8ToString(key));
      return 0;
    } catch (error) {
      return -2;
    }
  },
  web_storage_lock__deps: ['$webStorage'],
  web_storage_lock: function (key) {
    var store = webStorage.store();
    var name = UTF8ToString(key) + '.lock';
    if (!store) return 1;  // no storage: nothing to share with another tab
    try {
      var now = Date.now();
      var lock = JSON.parse(store.getItem(name) || 'null');
      if (lock && lock.tab !== webStorage.tab && now - lock.at < webStorage.LOCK_STALE_MS) return 0;
      var mark = function () {
        store.setItem(name, JSON.stringify({tab: webStorage.tab, at: Date.now()}));
      };
      mark();
      webStorage.held[name] = setInterval(function () {
        try { mark(); } catch (error) { /* full: the lock goes stale in time */ }
      }, webStorage.LOCK_REFRESH_MS);
      // A closing tab lets the next one have it at once.
      window.addEventListener('pagehide', function () {
        if (webStorage.held[name] !== undefined) store.removeItem(name);
      });
      return 1;
    } catch (error) {
      return 1;
    }
  },
  web_storage_unlock__deps: ['$webStorage'],
  web_storage_unlock: function (key) {
    var name = UTF8ToString(key) + '.lock';
    if (webStorage.held[name] === undefined) return;
    clearInterval(webStorage.held[name]);
    delete webStorage.held[name];
    try { webStorage.store().removeItem(name); } catch (error) { /* refused */ }
  },

  // ---- Sound ------------------------------------------------------------------------------
  web_sound_wanted: function (wanted) {
    Module.web.soundWanted = !!wanted;
  },

  // Interleaved 16-bit stereo to the worklet, as floats.
  web_sound_post: function (samples, frames) {
    var node = Module.web.soundNode;
    if (!node) return;
    var at = samples >> 1;
    var mix = new Float32Array(frames * 2);
    for (var i = 0; i < frames * 2; ++i) mix[i] = HEAP16[at + i] / 32768;
    node.port.postMessage(mix, [mix.buffer]);
    Module.web.soundBlocks += 1;
  },

  // ---- The fonts index.html fetched: count, then each one's size and bytes --------------------
  web_font_count: function () {
    return Module.web.fonts.length;
  },
  web_font_size: function (index) {
    return Module.web.fonts[index].length;
  },
  web_font_copy: function (index, out) {
    HEAPU8.set(Module.web.fonts[index], out);
  },
  web_font_release: function () {
    Module.web.fonts = [];
  },
});
