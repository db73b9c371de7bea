// Runs browser test files with node's test runner once puppeteer-core is installed, and says
// how to install it when it is not.
'use strict';
const {spawnSync} = require('child_process');
const path = require('path');

try {
  require.resolve('puppeteer-core', {paths: [__dirname]});
} catch {
  console.error('puppeteer-core is not installed in ' + __dirname +
                ': run scripts/install-deps.sh --tests');
  process.exit(1);
}
const files = process.argv.slice(2).map((file) => path.resolve(file));
const run = spawnSync(process.execPath, ['--test', ...files], {stdio: 'inherit', cwd: __dirname});
process.exit(run.status === null ? 1 : run.status);
