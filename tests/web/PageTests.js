// The game's page in Debian's Chromium, headless: the same game as the native shell (pixel for
// pixel, and to the same end of a recorded game), play by mouse and by touch at desktop and
// phone sizes, the pause of a hidden tab, scores kept in the browser's storage over a reload,
// offline play after one visit, and no console error or warning anywhere. One browser for all.
// Usage (ctest does this): node RunNodeTests.js PageTests.js, with SPHEROLETTE_SITE and
// SPHEROLETTE_NATIVE (the native shell) set.
'use strict';
const assert = require('assert');
const fs = require('fs');
const {describe, it, before, after} = require('node:test');

const browser = require('./lib/Browser');
const server = require('./lib/Server');
const native = require('./lib/Native');
const png = require('./lib/Png');
const {open, waitMark, toView, pixelAt, cellCentre, occupiedCells, sleep} = require('./lib/Page');

// The title screen's difficulty buttons (the middle of their words) and its small looping
// animation, which runs on real time in the page.
const MEDIUM = {x: 143, y: 305};
const DIFFICULTY_Y = [261, 283, 305, 327, 349];  // Very Easy to Very Hard
const VERY_HARD = {x: 143, y: 349};
const SAMPLER = {x: 340, y: 196, w: 96, h: 94};
// The page's menu control beside the "?" (a live page shows it; a headless run has no menu).
const MENU_CONTROL = {x: 497, y: 3, w: 13, h: 13};

let site, chromium, work;

before(async () => {
  site = await server.serve(process.env.SPHEROLETTE_SITE);
  chromium = await browser.launch();
  work = native.workspace();
});

after(async () => {
  await chromium?.close();
  await site?.close();
  work?.remove();
});

// Compares pixels outside the `masks` rectangles; returns a description of the first
// difference, or null.
function differenceOutside(actual, expected, masks = []) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return `size ${actual.width}x${actual.height}, expected ${expected.width}x${expected.height}`;
  }
  let count = 0, first = null;
  for (let y = 0; y < actual.height; ++y) {
    for (let x = 0; x < actual.width; ++x) {
      if (masks.some((m) => x >= m.x && x < m.x + m.w && y >= m.y && y < m.y + m.h)) continue;
      const i = (y * actual.width + x) * 4;
      if (actual.rgba.readUInt32BE(i) !== expected.rgba.readUInt32BE(i)) {
        first = first || `(${x}, ${y})`;
        ++count;
      }
    }
  }
  return count ? `${count} pixels differ, the first at ${first}` : null;
}

// Plays a native recording in the page (?replay=) and returns the page, once the run ended.
async function playInPage(context, name, recording) {
  site.put(`replays/${name}`, fs.readFileSync(recording.replay));
  const opened = await open(context, site, `?replay=replays/${name}`, {mark: 'run-finished'});
  const code = await opened.page.evaluate(() => Module.web.exitCode);
  assert.strictEqual(code, 0, 'the run ends with a clean ledger');
  return opened;
}

describe('the same game as the native shell', () => {
  it('shows the title, a move, the credits and each difficulty as the native shell does', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const title = native.record(work.dir, 'title', {args: ['--seed', '5'],
                                                       script: 'wait 700\nquit\n'});
      const move = native.record(work.dir, 'move', {
        args: ['--seed', '5'],
        script: `click ${MEDIUM.x} ${MEDIUM.y}\nwait 1500\ndrag-cell 2 27\nwait 2500\nquit\n`});
      // The credits, and the first moments of a game at each difficulty.
      const credits = native.record(work.dir, 'credits', {
        args: ['--seed', '5'], script: 'key credits\nwait 1000\nquit\n'});
      const games = DIFFICULTY_Y.map((y, d) => [`difficulty${d}`, native.record(
          work.dir, `difficulty${d}`, {args: ['--seed', String(d + 1)],
                                       script: `click ${MEDIUM.x} ${y}\nwait 1500\nquit\n`})]);
      for (const [name, recording] of [['title', title], ['move', move], ['credits', credits],
                                       ...games]) {
        const {page, watcher} = await playInPage(context, name, recording);
        const shown = await browser.canvasPixels(page);
        const expected = png.decode(fs.readFileSync(recording.picture));
        assert.strictEqual(differenceOutside(shown, expected), null, `${name}: the same picture`);
        watcher.assertClean();
        await page.close();
      }
    } finally {
      await context.close();
    }
  });

  it('plays a whole game the native bot recorded to the same end, scores and ledger',
     async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const game = native.record(work.dir, 'game', {
        args: ['--seed', '21', '--autoplay', '--autoplay-difficulty', '4']});
      const {page, watcher} = await playInPage(context, 'game', game);
      const expected = png.decode(fs.readFileSync(game.picture));
      assert.strictEqual(differenceOutside(await browser.canvasPixels(page), expected), null);
      watcher.assertClean();
      await page.close();
    } finally {
      await context.close();
    }
  });

  it('shows the help page as the native one, and goes back to the title', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      native.record(work.dir, 'help', {
        args: ['--seed', '5'], script: `help\nwait 500\nscreenshot-help ${work.dir}/help-page.png\n`});
      const {page, watcher} = await open(context, site, '?seed=5');
      const title = await browser.canvasPixels(page);
      await page.keyboard.press('F1');
      await sleep(700);
      const expected = png.decode(fs.readFileSync(`${work.dir}/help-page.png`));
      assert.strictEqual(differenceOutside(await browser.canvasPixels(page), expected,
                                           [MENU_CONTROL]), null, 'the help page');
      await page.keyboard.press('Escape');
      await sleep(700);
      assert.strictEqual(differenceOutside(await browser.canvasPixels(page), title,
                                           [SAMPLER]), null, 'the title again');
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('shows the live title as the native one, but for the running sample and the menu',
     async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '?seed=5');
      const expected = png.decode(fs.readFileSync(native.title(work.dir, 'live', '', 5)));
      assert.strictEqual(differenceOutside(await browser.canvasPixels(page), expected,
                                           [SAMPLER, MENU_CONTROL]), null);
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });
});

// Starts a Medium game on `page` with `press(x, y)` (a click or a tap at a stage point) and
// returns the board's occupied cells once its first wave has arrived.
async function startGame(page, press) {
  await press(MEDIUM.x, MEDIUM.y);
  await sleep(1200);
  return occupiedCells(page);
}

// A bubble (the first one, unless given) and an empty cell far from it.
function chooseMove(occupied, from = occupied.indexOf(true)) {
  assert.ok(from >= 0, 'the first wave brought bubbles');
  let to = -1, best = -1;
  for (let cell = 0; cell < 64; ++cell) {
    if (occupied[cell]) continue;
    const distance = Math.abs((cell % 8) - (from % 8)) + Math.abs((cell >> 3) - (from >> 3));
    if (distance > best) {
      best = distance;
      to = cell;
    }
  }
  return {from, to};
}

// The bubble of cell `from` (its colour seen before the move) now sits in cell `to`. Its old
// cell may have taken a bubble of the wave the move brought, so only the new one is checked.
async function assertMoved(page, colour, to) {
  await sleep(800);
  const {x, y} = cellCentre(to);
  const now = await pixelAt(page, x, y);
  assert.ok(now.every((c, i) => Math.abs(c - colour[i]) < 50),
            `cell ${to} shows ${now}, the moved bubble was ${colour}`);
}

async function colourOf(page, cell) {
  const {x, y} = cellCentre(cell);
  return pixelAt(page, x, y);
}

const VIEWS = [
  {name: 'desktop with a mouse', emulate: {width: 1024, height: 700, deviceScaleFactor: 1}},
  {name: 'phone with touch', touch: true,
   emulate: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}},
];

describe('play by pointer', () => {
  for (const view of VIEWS) {
    it(`drags a bubble, and moves one by tap then tap: ${view.name}`, async () => {
      const context = await chromium.browser.createBrowserContext();
      try {
        const {page, watcher} = await open(context, site, '?seed=5', {emulate: view.emulate});
        const at = (x, y) => toView(page, x, y);
        const press = async (x, y) => {
          const p = await at(x, y);
          if (view.touch) await page.touchscreen.tap(p.x, p.y);
          else await page.mouse.click(p.x, p.y);
        };
        const drag = async (a, b) => {
          const p = await at(a.x, a.y), q = await at(b.x, b.y);
          if (view.touch) {
            await page.touchscreen.touchStart(p.x, p.y);
            for (let i = 1; i <= 8; ++i) {
              await page.touchscreen.touchMove(p.x + (q.x - p.x) * i / 8, p.y + (q.y - p.y) * i / 8);
              await sleep(20);
            }
            await page.touchscreen.touchEnd();
          } else {
            await page.mouse.move(p.x, p.y);
            await page.mouse.down();
            await page.mouse.move(q.x, q.y, {steps: 8});
            await page.mouse.up();
          }
        };
        // The stage spans the phone's width, and the margins show the stage's background.
        const canvasBox = await page.$eval('#stage', (c) => [c.width, c.height]);
        if (view.touch) {
          const left = await toView(page, 0, 0), right = await toView(page, 529, 0);
          assert.ok(left.x < 2 && right.x > 388, 'the stage spans the width');
          assert.deepStrictEqual(canvasBox, [390 * 3, 844 * 3], 'the device\'s pixels');
          const margin = await page.evaluate(() => [...document.getElementById('stage')
            .getContext('2d').getImageData(5, 5, 1, 1).data].slice(0, 3));
          assert.deepStrictEqual(margin, [51, 153, 153]);
        }
        let occupied = await startGame(page, press);
        let move = chooseMove(occupied);
        let colour = await colourOf(page, move.from);
        await drag(cellCentre(move.from), cellCentre(move.to));
        await assertMoved(page, colour, move.to);

        // The bubble just moved, settled in its cell, goes on by tap then tap.
        await sleep(700);
        occupied = await occupiedCells(page);
        move = chooseMove(occupied, move.to);
        colour = await colourOf(page, move.from);
        const a = cellCentre(move.from), b = cellCentre(move.to);
        await press(a.x, a.y);
        await sleep(150);
        await press(b.x, b.y);
        await assertMoved(page, colour, move.to);
        // The page never scrolled or zoomed under all that.
        assert.deepStrictEqual(await page.evaluate(() => [scrollX, scrollY,
                                                          visualViewport.scale]), [0, 0, 1]);
        watcher.assertClean();
      } finally {
        await context.close();
      }
    });
  }
});

// Makes the page believe it was hidden or shown again, as switching tabs does.
function setHidden(page, hidden) {
  return page.evaluate((h) => {
    Object.defineProperty(document, 'visibilityState', {value: h ? 'hidden' : 'visible',
                                                        configurable: true});
    Object.defineProperty(document, 'hidden', {value: h, configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

describe('the page around the game', () => {
  it('pauses a game when the tab is hidden; a click goes on through the count-in', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '?seed=5');
      await page.mouse.click(MEDIUM.x + 0.5, MEDIUM.y + 0.5);
      await sleep(1200);
      // The clock runs from the first move: only then is a game in progress to pause.
      let occupied = await occupiedCells(page);
      const move = chooseMove(occupied);
      const a = cellCentre(move.from), b = cellCentre(move.to);
      await page.mouse.click(a.x + 0.5, a.y + 0.5);
      await page.mouse.click(b.x + 0.5, b.y + 0.5);
      await sleep(1200);
      occupied = await occupiedCells(page);
      const empty = cellCentre(occupied.indexOf(false));
      await setHidden(page, true);
      await sleep(300);
      const dark = (rgb) => Math.max(...rgb) < 100;
      assert.ok(dark(await pixelAt(page, empty.x, empty.y)), 'the pause hides the board');
      await sleep(1500);
      assert.ok(dark(await pixelAt(page, empty.x, empty.y)), 'and stays while hidden');
      await setHidden(page, false);
      await sleep(300);
      assert.ok(dark(await pixelAt(page, empty.x, empty.y)), 'still paused on return');
      await page.mouse.click(empty.x + 0.5, empty.y + 0.5);  // goes on, as in the window
      await sleep(300);
      assert.ok(dark(await pixelAt(page, empty.x, empty.y)), 'through the count-in');
      await sleep(4500);
      assert.deepStrictEqual(await occupiedCells(page), occupied, 'then the game as it was');
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('resumes a kept game to its end, takes the name, and keeps the score over a reload',
     async () => {
    // A native bot's game, kept as closing the tab would keep it, just before its last move:
    // the board is all but full, and the move clock's next wave ends the game.
    const game = native.record(work.dir, 'kept', {
      args: ['--seed', '21', '--autoplay', '--autoplay-difficulty', '4']});
    const lines = fs.readFileSync(game.replay, 'latin1').split('\n');
    const last = lines.findLastIndex((line) => line.startsWith('down '));
    const kept = [...lines.slice(0, last), `end ${lines[last].split(' ')[1]}`, ''].join('\n');
    const context = await chromium.browser.createBrowserContext();
    try {
      const keep = (text) => {
        if (sessionStorage.getItem('kept')) return;
        sessionStorage.setItem('kept', '1');
        localStorage.setItem('spherolette:settings.resume', text);
      };
      const {page, watcher} = await open(context, site, '?seed=9', {
        before: `(${keep})(${JSON.stringify(kept)})`});
      // Each drawn dialog turns text input on: wait for the n-th, then for it to close.
      const dialog = (n) => page.waitForFunction((k) => Module.web.dialogs >= k,
                                                 {timeout: 40000}, n);
      const closed = () => page.waitForFunction(() => !Module.web.textInput, {timeout: 40000});
      await dialog(1);                     // "Resume your last game?"
      await page.keyboard.press('Enter');  // Yes
      await closed();
      await sleep(2000);                   // played back at once, then shown paused
      await page.keyboard.press('Escape'); // go on
      await dialog(2);                     // the clock runs out, the board fills: the name
      await page.keyboard.type('Tess');
      await page.keyboard.press('Enter');
      await dialog(3);                     // "Play Again?"
      await page.keyboard.press('Escape'); // No: the title
      await closed();
      const stored = await page.evaluate(() => localStorage.getItem('spherolette:settings.txt'));
      assert.match(stored, /Spherolette\.Score\dName=Tess\n/);
      await page.reload({waitUntil: 'load'});
      await waitMark(page, 'first-full-frame');
      const expected = png.decode(fs.readFileSync(
          native.title(work.dir, 'reloaded', Buffer.from(stored, 'latin1'), 9)));
      assert.strictEqual(differenceOutside(await browser.canvasPixels(page), expected,
                                           [SAMPLER, MENU_CONTROL]), null,
                         'the title shows the new row as the native shell does');
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('keeps a game in progress when the tab closes, and offers it on the next visit',
     async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '?seed=5');
      await page.mouse.click(MEDIUM.x + 0.5, MEDIUM.y + 0.5);
      await sleep(1200);
      const move = chooseMove(await occupiedCells(page));
      const a = cellCentre(move.from), b = cellCentre(move.to);
      await page.mouse.click(a.x + 0.5, a.y + 0.5);
      await page.mouse.click(b.x + 0.5, b.y + 0.5);
      await sleep(800);
      await page.reload({waitUntil: 'load'});  // the tab goes, as closing it does
      const kept = await page.evaluate(() => localStorage.getItem('spherolette:settings.resume'));
      assert.match(kept || '', /^spherolette-replay 1\n[^]*\nend \d+\n$/);
      await page.waitForFunction(() => Module.web.dialogs >= 1, {timeout: 20000});
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('says how to go on when the player quits with Ctrl+Q', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '?seed=5');
      await page.keyboard.down('Control');
      await page.keyboard.press('q');
      await page.keyboard.up('Control');
      await waitMark(page, 'run-finished', 10000);
      assert.strictEqual(await page.evaluate(() => Module.web.exitCode), 0, 'a clean ledger');
      assert.match(await page.$eval('#message', (m) => m.textContent), /Reload the page/);
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('starts sound on the first click, and mutes it with Ctrl+M', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '?seed=5');
      assert.strictEqual(await page.evaluate(() => Module.web.audio), null, 'no sound before');
      await page.mouse.click(MEDIUM.x + 0.5, MEDIUM.y + 0.5);
      // The worklet asks for the game's mix block after block.
      await page.waitForFunction(() => Module.web.soundNode !== null, {timeout: 10000});
      const posted = () => page.evaluate(() => Module.web.soundBlocks);
      const before = await posted();
      await sleep(500);
      assert.ok(await posted() > before, 'the mix keeps coming');
      await page.keyboard.down('Control');
      await page.keyboard.press('m');
      await page.keyboard.up('Control');
      await sleep(300);
      const stored = await page.evaluate(() => localStorage.getItem('spherolette:settings.txt'));
      assert.match(stored, /Muted=1/, 'sound off, remembered');
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });

  it('tells the player once when the browser keeps nothing, and plays on', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const full = () => {
        Storage.prototype.setItem = function () {
          throw new DOMException('full', 'QuotaExceededError');
        };
      };
      const {page, watcher} = await open(context, site, '?seed=5', {before: full});
      await page.waitForFunction(() => Module.web.dialogs >= 1, {timeout: 10000});
      await page.keyboard.press('Enter');
      await page.waitForFunction(() => !Module.web.textInput, {timeout: 10000});
      await page.mouse.click(MEDIUM.x + 0.5, MEDIUM.y + 0.5);  // writes again: no second word
      await sleep(1500);
      assert.strictEqual(await page.evaluate(() => Module.web.dialogs), 1);
      assert.ok((await occupiedCells(page)).some((cell) => cell), 'the game plays');
      // The settings' own one line about the failed write is all the console says.
      assert.ok(watcher.problems.length <= 1 &&
                watcher.problems.every((p) => /full/.test(p)), watcher.problems.join('\n'));
    } finally {
      await context.close();
    }
  });

  it('can be installed, and plays offline after one visit', async () => {
    const context = await chromium.browser.createBrowserContext();
    try {
      const {page, watcher} = await open(context, site, '');
      // The worker is registered after the first frame and has every file once it is active.
      await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
      const session = await page.createCDPSession();
      const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
      // A test's browser context is a private one, where nothing is installed: that apart.
      assert.deepStrictEqual(installabilityErrors.map((e) => e.errorId)
                                 .filter((id) => id !== 'in-incognito'), [],
                             'the page can be installed as an app');
      await page.setOfflineMode(true);
      await page.reload({waitUntil: 'load'});
      await waitMark(page, 'first-full-frame');
      assert.deepStrictEqual(await pixelAt(page, 2, 2), [51, 153, 153], 'the title shows');
      watcher.assertClean();
    } finally {
      await context.close();
    }
  });
});
