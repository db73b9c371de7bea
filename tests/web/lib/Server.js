// A static file server on 127.0.0.1 for the browser tests and benchmarks: serves one folder,
// gzips what a web server would when asked, and counts the bytes it sends.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.png': 'image/png',
  '.ttf': 'font/ttf', '.css': 'text/css', '.txt': 'text/plain; charset=utf-8',
};
const COMPRESSIBLE = new Set(['.html', '.js', '.wasm', '.json', '.webmanifest', '.ttf', '.css',
                              '.txt']);

// Starts serving `root`; resolves to {url, close(), sent: {bytes, requests}, reset(), put()}.
// put(name, bytes) serves bytes at /name besides the folder's files (a test's replay, say).
function serve(root, {gzip = true} = {}) {
  const base = path.resolve(root);
  const sent = {bytes: 0, requests: 0};
  const extra = new Map();
  const cache = new Map();  // compressed bodies, so timing runs do not measure zlib
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(base, path.normalize(name.endsWith('/') ? name + 'index.html' : name));
    if (!file.startsWith(base + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    const read = extra.has(name) ? (done) => done(null, extra.get(name)) : (done) => fs.readFile(file, done);
    read((error, body) => {
      if (error) {
        response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
        return;
      }
      const type = path.extname(file);
      const headers = {'Content-Type': TYPES[type] || 'application/octet-stream',
                       'Cache-Control': 'no-store'};
      if (gzip && COMPRESSIBLE.has(type) && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
        if (!cache.has(file)) cache.set(file, zlib.gzipSync(body, {level: 9}));
        body = cache.get(file);
        headers['Content-Encoding'] = 'gzip';
      }
      headers['Content-Length'] = body.length;
      sent.bytes += body.length;
      sent.requests += 1;
      response.writeHead(200, headers).end(body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        sent,
        reset() { sent.bytes = 0; sent.requests = 0; },
        put(name, bytes) { extra.set('/' + name, Buffer.from(bytes)); },
        close() { return new Promise((done) => server.close(done)); },
      });
    });
  });
}

module.exports = {serve};
