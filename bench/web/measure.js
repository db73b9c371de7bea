// Measures pages of the web build in Debian's Chromium, headless, against a baseline page
// measured in the same run: bytes transferred on a first visit (gzip, as the server sends
// them) and the time from navigation to the page's 'first-full-frame' mark (median of N
// visits, each with an empty cache, pages interleaved visit by visit), and for pages that mark
// 'module-ready' the part of it spent inside the module before its first frame.
//
// Usage: node bench/web/measure.js [--runs N] SITE_DIR BASELINE_PAGE [PAGE...]
//   e.g. node bench/web/measure.js build-web/wasm/site bench/bare.html index.html
'use strict';
const path = require('path');

const testsDir = path.join(__dirname, '..', '..', 'tests', 'web');
const browser = require(path.join(testsDir, 'lib', 'Browser'));
const server = require(path.join(testsDir, 'lib', 'Server'));

const FRAME_MARK = 'first-full-frame';
const READY_MARK = 'module-ready';

function parseArguments(argv) {
  const options = {runs: 10, pages: []};
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === '--runs') options.runs = Number(argv[++i]);
    else if (!options.site) options.site = argv[i];
    else options.pages.push(argv[i]);
  }
  if (!options.site || options.pages.length === 0 || !(options.runs > 0)) {
    console.error('usage: measure.js [--runs N] SITE_DIR BASELINE_PAGE [PAGE...]');
    process.exit(2);
  }
  return options;
}

// One first visit: a fresh context (no cache, no storage, no service worker), navigation,
// then the wait for the page's mark. Returns {bytes, requests, frameMs, startupMs} (startupMs
// undefined for a page without the module's mark).
async function visit(chromium, site, page) {
  const context = await chromium.browser.createBrowserContext();
  try {
    const tab = await context.newPage();
    const watcher = browser.watch(tab);
    site.reset();
    await tab.goto(site.url + page, {waitUntil: 'load'});
    const frameMs = await tab.waitForFunction(
        (mark) => performance.getEntriesByName(mark)[0]?.startTime, {timeout: 30000}, FRAME_MARK)
        .then((handle) => handle.jsonValue());
    const readyMs = await tab.evaluate(
        (mark) => performance.getEntriesByName(mark)[0]?.startTime, READY_MARK);
    // Whatever the page fetches once it shows (a service worker's cache, say) counts too.
    await tab.evaluate(() => window.spherolette?.workerReady);
    await tab.waitForNetworkIdle({idleTime: 300, timeout: 30000});
    watcher.assertClean();
    return {bytes: site.sent.bytes, requests: site.sent.requests, frameMs,
            startupMs: readyMs === undefined ? undefined : frameMs - readyMs};
  } finally {
    await context.close();
  }
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  const site = await server.serve(options.site);
  const chromium = await browser.launch();
  const results = new Map(options.pages.map((page) => [page, []]));
  try {
    for (const page of options.pages) await visit(chromium, site, page);  // warm-up
    for (let run = 0; run < options.runs; ++run) {
      for (const page of options.pages) results.get(page).push(await visit(chromium, site, page));
    }
  } finally {
    await chromium.close();
    await site.close();
  }

  const [baseline] = options.pages;
  const baseBytes = results.get(baseline)[0].bytes;
  const baseFrame = median(results.get(baseline).map((r) => r.frameMs));
  console.log(`Chromium headless, ${options.runs} first visits per page, gzip; ` +
              `ratios against ${baseline} in the same run`);
  console.log('page'.padEnd(28) + 'requests'.padStart(10) + 'KB sent'.padStart(10) +
              'ratio'.padStart(8) + 'first frame ms'.padStart(16) + 'ratio'.padStart(8) +
              'in module ms'.padStart(14));
  for (const [page, visits] of results) {
    const bytes = visits[0].bytes, frame = median(visits.map((r) => r.frameMs));
    const startups = visits.map((r) => r.startupMs).filter((ms) => ms !== undefined);
    const startup = startups.length > 0 ? median(startups).toFixed(1) : '-';
    console.log(page.padEnd(28) + String(visits[0].requests).padStart(10) +
                (bytes / 1024).toFixed(1).padStart(10) + (bytes / baseBytes).toFixed(2).padStart(8) +
                frame.toFixed(1).padStart(16) + (frame / baseFrame).toFixed(2).padStart(8) +
                startup.padStart(14));
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
