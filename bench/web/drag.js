// Frame time while dragging a bubble in the page, in Debian's Chromium, headless: the
// milliseconds the module works after each wake (handling the pointer's records, running
// what is due, composing and putting the changed areas on the canvas), while a bubble is
// dragged round the board for a few seconds at one pointer move a frame. Reports the median,
// the 95th percentile and the most, at 1x (530 x 420) and on a phone (390 x 844 at 3x).
//
// Usage: node bench/web/drag.js [--seconds N] SITE_DIR
'use strict';
const path = require('path');

const testsDir = path.join(__dirname, '..', '..', 'tests', 'web');
const browser = require(path.join(testsDir, 'lib', 'Browser'));
const server = require(path.join(testsDir, 'lib', 'Server'));
const {open, toView, occupiedCells, cellCentre, sleep} = require(path.join(testsDir, 'lib', 'Page'));

const VIEWS = [
  {name: '530x420 at 1x', emulate: {width: 530, height: 420, deviceScaleFactor: 1}},
  {name: '390x844 at 3x', emulate: {width: 390, height: 844, deviceScaleFactor: 3}},
];

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

async function measure(chromium, site, view, seconds) {
  const context = await chromium.browser.createBrowserContext();
  try {
    const {page, watcher} = await open(context, site, '?seed=5', {emulate: view.emulate});
    const medium = await toView(page, 143, 305);
    await page.mouse.click(medium.x, medium.y);
    await sleep(1500);
    const from = cellCentre((await occupiedCells(page)).indexOf(true));
    const start = await toView(page, from.x, from.y);
    await page.mouse.move(start.x, start.y);
    await page.mouse.down();
    await page.evaluate(() => { Module.web.busy = []; });
    // Round the board, one move a frame.
    const until = Date.now() + seconds * 1000;
    for (let step = 0; Date.now() < until; ++step) {
      const angle = step / 30;
      const p = await toView(page, 146 + 100 * Math.cos(angle), 272 + 100 * Math.sin(angle));
      await page.mouse.move(p.x, p.y);
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    }
    const busy = await page.evaluate(() => Module.web.busy);
    await page.evaluate(() => { Module.web.busy = null; });
    await page.mouse.up();
    watcher.assertClean();
    return busy;
  } finally {
    await context.close();
  }
}

async function main() {
  const args = process.argv.slice(2);
  let seconds = 5;
  if (args[0] === '--seconds') {
    seconds = Number(args[1]);
    args.splice(0, 2);
  }
  if (!args[0] || !(seconds > 0)) {
    console.error('usage: drag.js [--seconds N] SITE_DIR');
    process.exit(2);
  }
  const site = await server.serve(args[0]);
  const chromium = await browser.launch();
  try {
    console.log(`Chromium headless, a bubble dragged for ${seconds} s; ms of work per wake`);
    console.log('view'.padEnd(18) + 'wakes'.padStart(8) + 'median'.padStart(9) + 'p95'.padStart(9) +
                'most'.padStart(9));
    for (const view of VIEWS) {
      const busy = await measure(chromium, site, view, seconds);
      console.log(view.name.padEnd(18) + String(busy.length).padStart(8) +
                  percentile(busy, 0.5).toFixed(2).padStart(9) +
                  percentile(busy, 0.95).toFixed(2).padStart(9) +
                  Math.max(...busy).toFixed(2).padStart(9));
    }
  } finally {
    await chromium.close();
    await site.close();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
