// The game's page in the browser tests: opening it (every console problem watched), waiting for
// its marks, reading its canvas, and the stage's places in the view (the viewport's mapping:
// the largest stage that fits, centred), for clicks, drags and taps at any size.
'use strict';
const browser = require('./Browser');

const STAGE_W = 530, STAGE_H = 420;
// The board (host/GameLook.h): cells on a 35-pixel pitch from (7, 132), bubbles 2 pixels in.
const TILE_LEFT = 7, TILE_TOP = 132, PITCH = 35;

// Opens `query` (e.g. '?seed=3') in a new page of `context`; resolves once the first full frame
// is on the canvas. `emulate`: puppeteer's viewport options ({width, height, deviceScaleFactor,
// isMobile, hasTouch}).
async function open(context, site, query = '', {emulate = {width: STAGE_W, height: STAGE_H},
                                                before = null, mark = 'first-full-frame'} = {}) {
  const page = await context.newPage();
  const watcher = browser.watch(page);
  await page.setViewport({deviceScaleFactor: 1, ...emulate});
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(site.url + query, {waitUntil: 'load'});
  await waitMark(page, mark);
  return {page, watcher};
}

function waitMark(page, mark, timeout = 60000) {
  return page.waitForFunction((name) => performance.getEntriesByName(name).length > 0,
                              {timeout}, mark);
}

// Where a stage point (the centre of its pixel) lies on the canvas, in drawable pixels and in
// CSS pixels of the view, as the shell's viewport places the stage (shell/session/Viewport).
async function place(page, x, y) {
  return page.evaluate((sx, sy, w, h) => {
    const canvas = document.getElementById('stage');
    const cw = Math.max(canvas.width, w), ch = Math.max(canvas.height, h);
    let drawnW, drawnH;
    if (cw * h <= ch * w) {
      drawnW = cw;
      drawnH = Math.floor(cw * h / w);
    } else {
      drawnH = ch;
      drawnW = Math.floor(ch * w / h);
    }
    const px = Math.max(0, Math.floor((canvas.width - drawnW) / 2)) + (sx + 0.5) * drawnW / w;
    const py = Math.max(0, Math.floor((canvas.height - drawnH) / 2)) + (sy + 0.5) * drawnH / h;
    const box = canvas.getBoundingClientRect();
    return {px: Math.floor(px), py: Math.floor(py),
            x: box.left + px * box.width / canvas.width, y: box.top + py * box.height / canvas.height};
  }, x, y, STAGE_W, STAGE_H);
}

// Where a stage point shows in the view, in CSS pixels.
async function toView(page, x, y) {
  const {x: vx, y: vy} = await place(page, x, y);
  return {x: vx, y: vy};
}

// The canvas pixel (R, G, B) showing a stage point (the canvas read whole, as a test reads it).
async function pixelAt(page, x, y) {
  const {px, py} = await place(page, x, y);
  const shown = await browser.canvasPixels(page);
  const i = (py * shown.width + px) * 4;
  return [shown.rgba[i], shown.rgba[i + 1], shown.rgba[i + 2]];
}

// The centre of a board cell (column + 8 x row) on the stage.
function cellCentre(cell) {
  return {x: TILE_LEFT + PITCH * (cell % 8) + PITCH / 2 | 0,
          y: TILE_TOP + PITCH * (cell >> 3) + PITCH / 2 | 0};
}

// Which cells hold a bubble: an empty cell's tile is a pale, nearly grey cyan; a bubble's middle
// is a saturated or a dark colour.
async function occupiedCells(page) {
  const shown = await browser.canvasPixels(page);
  const occupied = [];
  for (let cell = 0; cell < 64; ++cell) {
    const {x, y} = cellCentre(cell);
    const {px, py} = await place(page, x, y);
    const i = (py * shown.width + px) * 4;
    const [r, g, b] = shown.rgba.subarray(i, i + 3);
    occupied.push(Math.max(r, g, b) - Math.min(r, g, b) > 60 || Math.max(r, g, b) < 170);
  }
  return occupied;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

module.exports = {open, waitMark, toView, pixelAt, cellCentre, occupiedCells, sleep,
                  STAGE_W, STAGE_H};
