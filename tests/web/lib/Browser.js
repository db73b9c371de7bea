// Debian's Chromium, headless, driven with puppeteer-core for the browser tests and
// benchmarks: a fresh profile each launch, every console error or warning and every page error
// recorded, and canvas pixels read back exactly as the page drew them.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const png = require('./Png');

const CHROMIUM = process.env.SPHEROLETTE_CHROMIUM || '/usr/bin/chromium';

// The flags this machine needs: no sandbox (root), no GPU, nothing fetched in the background.
const FLAGS = [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run',
  '--disable-default-apps', '--disable-extensions', '--force-color-profile=srgb',
  '--mute-audio',
];

// Launches Chromium with a profile of its own; close() also removes the profile.
async function launch({viewport = {width: 800, height: 600, deviceScaleFactor: 1}} = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'spherolette-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [...FLAGS, `--user-data-dir=${profile}`],
    defaultViewport: viewport,
    userDataDir: profile,
  });
  return {
    browser,
    async close() {
      await browser.close();
      fs.rmSync(profile, {recursive: true, force: true});
    },
  };
}

// Records what a page says that a player should never cause: console errors and warnings,
// uncaught exceptions, and requests that failed or were answered with an error status.
function watch(page) {
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warn' || message.type() === 'warning') {
      problems.push(`console ${message.type()}: ${message.text()}`);
    }
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => {
    problems.push(`request failed: ${request.url()} (${request.failure()?.errorText})`);
  });
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()}: ${response.url()}`);
  });
  return {
    problems,
    // Throws with every problem seen so far, if any.
    assertClean() {
      if (problems.length) throw new Error('the page reported problems:\n  ' + problems.join('\n  '));
    },
  };
}

// The pixels of a canvas's backing store, exactly as drawn (independent of CSS scaling and of
// the device pixel ratio): {width, height, rgba}.
async function canvasPixels(page, selector = 'canvas') {
  const url = await page.$eval(selector, (canvas) => canvas.toDataURL('image/png'));
  return png.decode(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

// Compares a canvas with a PNG file; on a difference writes what was shown next to
// `actualPath` (when given) and returns the description, else returns null.
async function compareCanvas(page, expectedPngPath, {selector = 'canvas', actualPath} = {}) {
  const actual = await canvasPixels(page, selector);
  const expected = png.decode(fs.readFileSync(expectedPngPath));
  const difference = png.difference(actual, expected);
  if (difference && actualPath) fs.writeFileSync(actualPath, png.encode(actual));
  return difference;
}

module.exports = {launch, watch, canvasPixels, compareCanvas, FLAGS, CHROMIUM};
