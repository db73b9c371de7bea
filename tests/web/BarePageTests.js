// The emscripten build's simplest page in Chromium: it loads without a complaint, marks its
// first full frame, and shows exactly the stage's background. Proves the toolchain's output,
// the server and the harness work together before any host is measured against that page.
// Usage (ctest does this): node RunNodeTests.js BarePageTests.js, with SPHEROLETTE_SITE set.
'use strict';
const assert = require('assert');
const test = require('node:test');

const browser = require('./lib/Browser');
const server = require('./lib/Server');

test('the bare page shows one whole frame of the stage background and reports nothing',
     async () => {
  const site = await server.serve(process.env.SPHEROLETTE_SITE);
  const chromium = await browser.launch();
  try {
    const page = await chromium.browser.newPage();
    const watcher = browser.watch(page);
    await page.goto(site.url + 'bench/bare.html', {waitUntil: 'load'});
    await page.waitForFunction(() => performance.getEntriesByName('first-full-frame').length > 0);
    const shown = await browser.canvasPixels(page, '#stage');
    assert.deepStrictEqual([shown.width, shown.height], [530, 420]);
    for (let i = 0; i < shown.width * shown.height; ++i) {
      if (shown.rgba.readUInt32BE(i * 4) !== 0x339999ff) {
        assert.fail(`pixel ${i % 530}, ${Math.floor(i / 530)} is ${[...shown.rgba.subarray(i * 4, i * 4 + 4)]}`);
      }
    }
    watcher.assertClean();
  } finally {
    await chromium.close();
    await site.close();
  }
});
