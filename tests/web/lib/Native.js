// The native shell, headless, for the browser tests: records a scripted or bot-played run and
// its last picture, so the page can be shown to end on the very same pixels.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const NATIVE = process.env.SPHEROLETTE_NATIVE;

// A folder of its own for one test file's runs; remove() deletes it.
function workspace() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'spherolette-native-'));
  return {dir, remove() { fs.rmSync(dir, {recursive: true, force: true}); }};
}

// Runs the native shell headless with `args` (plus --headless, and the recording, screenshot
// and settings files it writes in `dir` under `name`); `script` is the text of a --script.
// Returns {replay, picture, settings}: the paths of what it wrote.
function record(dir, name, {args = [], script = null} = {}) {
  if (!NATIVE) throw new Error('SPHEROLETTE_NATIVE names no native shell');
  const out = {
    replay: path.join(dir, name + '.replay'),
    picture: path.join(dir, name + '.png'),
    settings: path.join(dir, name + '.settings'),
  };
  const full = ['--headless', '--record', out.replay, '--screenshot', out.picture,
                '--settings', out.settings, ...args];
  if (script !== null) {
    const scriptPath = path.join(dir, name + '.script');
    fs.writeFileSync(scriptPath, script);
    full.push('--script', scriptPath);
  }
  execFileSync(NATIVE, full, {stdio: ['ignore', 'ignore', 'inherit'], timeout: 120000,
                              env: {...process.env, HOME: dir}});
  return out;
}

// The native title screen's picture for a store of settings written as `settingsText`.
function title(dir, name, settingsText, seed) {
  const settings = path.join(dir, name + '.settings');
  const picture = path.join(dir, name + '.png');
  fs.writeFileSync(settings, settingsText);
  execFileSync(NATIVE, ['--headless', '--seed', String(seed), '--settings', settings,
                        '--screenshot', picture],
               {stdio: ['ignore', 'ignore', 'inherit'], timeout: 60000,
                env: {...process.env, HOME: dir}});
  return picture;
}

module.exports = {NATIVE, workspace, record, title};
