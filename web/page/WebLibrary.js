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
    if (web.queue.length > 0 || web.ending) return;
    return Asyncify.handleSleep(function (wakeUp) {
      var frame = 0;
      var until = performance.now() + ms;
      var done = function () {
        if (frame) cancelAnimationFrame(frame);
        frame = 0;
        web.wake = null;
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

  // Fills the whole canvas with one colour (the margins around the stage).
  web_fill: function (red, green, blue) {
    var web = Module.web;
    web.context.fillStyle = 'rgb(' + red + ',' + green + ',' + blue + ')';
    web.context.fillRect(0, 0, web.width, web.height);
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

  web_text_input: function (on) {
    Module.web.setTextInput(!!on);
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
