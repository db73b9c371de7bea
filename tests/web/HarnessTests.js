// The browser tests' own harness: a canvas is read back pixel for pixel and compared with a
// PNG, everything a page complains about is caught, and the server serves only its folder.
'use strict';
const assert = require('assert');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const test = require('node:test');

const browser = require('./lib/Browser');
const png = require('./lib/Png');
const server = require('./lib/Server');

const FIXTURES = path.join(__dirname, 'fixtures');

// What fixtures/pattern.html draws.
function expectedPattern() {
  const width = 53, height = 42, rgba = Buffer.alloc(width * height * 4);
  const fill = (l, t, r, b, colour) => {
    for (let y = t; y < b; ++y) {
      for (let x = l; x < r; ++x) Buffer.from([...colour, 255]).copy(rgba, (y * width + x) * 4);
    }
  };
  fill(0, 0, 53, 42, [51, 153, 153]);
  fill(10, 5, 30, 15, [255, 0, 0]);
  fill(40, 30, 53, 42, [0, 0, 204]);
  return {width, height, rgba};
}

let site, chromium;
test.before(async () => {
  site = await server.serve(FIXTURES);
  chromium = await browser.launch();
});
test.after(async () => {
  await chromium?.close();
  await site?.close();
});

async function open(name) {
  const page = await chromium.browser.newPage();
  const watcher = browser.watch(page);
  await page.goto(site.url + name, {waitUntil: 'load'});
  return {page, watcher};
}

test('a canvas matches the PNG of what it shows, and one changed pixel is found', async () => {
  const {page, watcher} = await open('pattern.html');
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'spherolette-harness-'));
  try {
    const expected = expectedPattern();
    fs.writeFileSync(path.join(scratch, 'same.png'), png.encode(expected));
    assert.strictEqual(await browser.compareCanvas(page, path.join(scratch, 'same.png')), null);

    expected.rgba[(20 * 53 + 3) * 4 + 1] = 154;
    fs.writeFileSync(path.join(scratch, 'other.png'), png.encode(expected));
    const actualPath = path.join(scratch, 'actual.png');
    const difference = await browser.compareCanvas(page, path.join(scratch, 'other.png'),
                                                   {actualPath});
    assert.match(difference, /^1 pixels differ; the first: \(3, 20\) is 51,153,153,255/);
    assert.strictEqual(png.difference(png.decode(fs.readFileSync(actualPath)), expectedPattern()),
                       null, 'what was shown is written out');
    watcher.assertClean();
  } finally {
    fs.rmSync(scratch, {recursive: true, force: true});
    await page.close();
  }
});

test('console errors and warnings, uncaught exceptions and missing files are all reported',
     async () => {
  const {page, watcher} = await open('noisy.html');
  await page.waitForFunction(() => true);
  await new Promise((resolve) => setTimeout(resolve, 200));
  const seen = watcher.problems.join('\n');
  assert.match(seen, /console warn(ing)?: a warning/);
  assert.match(seen, /console error: an error/);
  assert.match(seen, /page error: uncaught/);
  assert.match(seen, /HTTP 404: .*missing\.js/);
  assert.throws(() => watcher.assertClean(), /the page reported problems/);
  await page.close();
});

test('the server gzips what it is asked to, counts what it sends, and stays in its folder',
     async () => {
  site.reset();
  const get = (pathname, headers = {}) => new Promise((resolve, reject) => {
    http.get({host: '127.0.0.1', port: new URL(site.url).port, path: pathname, headers},
             (response) => {
               const parts = [];
               response.on('data', (part) => parts.push(part));
               response.on('end', () => resolve({response, body: Buffer.concat(parts)}));
             }).on('error', reject);
  });
  const plain = await get('/pattern.html');
  const packed = await get('/pattern.html', {'Accept-Encoding': 'gzip, br'});
  assert.strictEqual(plain.response.headers['content-encoding'], undefined);
  assert.strictEqual(packed.response.headers['content-encoding'], 'gzip');
  assert.deepStrictEqual(require('zlib').gunzipSync(packed.body), plain.body);
  assert.strictEqual(site.sent.bytes, plain.body.length + packed.body.length);
  assert.strictEqual((await get('/%2e%2e/HarnessTests.js')).response.statusCode, 404);
  assert.strictEqual((await get('/../HarnessTests.js')).response.statusCode, 404);
});
