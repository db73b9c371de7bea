// PNG reading and writing for the browser tests, with node's own zlib: 8-bit greyscale, RGB
// and RGBA (with or without alpha), not interlaced, which covers what libpng writes for the
// native screenshots and what Chromium gives for a canvas.
'use strict';
const zlib = require('zlib');

const SIGNATURE = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
const CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4};

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Returns {width, height, rgba} with rgba a Buffer of width * height * 4 bytes.
function decode(bytes) {
  if (bytes.length < 8 || !bytes.subarray(0, 8).equals(SIGNATURE)) throw new Error('not a PNG');
  let at = 8, header = null;
  const data = [];
  while (at + 8 <= bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    if (at + 12 + length > bytes.length) throw new Error('PNG: truncated ' + type + ' chunk');
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      header = {width: body.readUInt32BE(0), height: body.readUInt32BE(4), depth: body[8],
                colour: body[9], interlace: body[12]};
    } else if (type === 'IDAT') {
      data.push(body);
    } else if (type === 'IEND') {
      break;
    }
    at += 12 + length;
  }
  if (!header) throw new Error('PNG: no header');
  const channels = CHANNELS[header.colour];
  if (header.depth !== 8 || !channels || header.interlace !== 0) {
    throw new Error('PNG: only 8-bit, non-interlaced grey, RGB and RGBA are read');
  }
  const {width, height} = header;
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  if (raw.length < height * (stride + 1)) throw new Error('PNG: pixel data too short');
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? pixels[y * stride + x - channels] : 0;
      const up = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      const predictors = [0, left, up, (left + up) >> 1, paeth(left, up, corner)];
      if (filter > 4) throw new Error('PNG: unknown filter ' + filter);
      pixels[y * stride + x] = (line[x] + predictors[filter]) & 0xff;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    const p = pixels.subarray(i * channels, (i + 1) * channels);
    const grey = channels <= 2;
    rgba[i * 4] = p[0];
    rgba[i * 4 + 1] = grey ? p[0] : p[1];
    rgba[i * 4 + 2] = grey ? p[0] : p[2];
    rgba[i * 4 + 3] = channels === 2 ? p[1] : channels === 4 ? p[3] : 255;
  }
  return {width, height, rgba};
}

const CRC_TABLE = Array.from({length: 256}, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(buffer) {
  let c = 0xffffffff;
  for (const byte of buffer) c = CRC_TABLE[(c ^ byte) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, body) {
  const out = Buffer.alloc(12 + body.length);
  out.writeUInt32BE(body.length, 0);
  out.write(type, 4, 'latin1');
  body.copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + body.length)), 8 + body.length);
  return out;
}

// RGBA pixels to PNG bytes (no filtering: for test output, not for size).
function encode({width, height, rgba}) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;
  header[9] = 6;
  const raw = Buffer.alloc(height * (width * 4 + 1));
  for (let y = 0; y < height; ++y) {
    rgba.copy(raw, y * (width * 4 + 1) + 1, y * width * 4, (y + 1) * width * 4);
  }
  return Buffer.concat([SIGNATURE, chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(raw)),
                        chunk('IEND', Buffer.alloc(0))]);
}

// How two pictures differ: null when they are the same size and every pixel is equal, else a
// description with the count of differing pixels and the first of them.
function difference(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return `size ${actual.width}x${actual.height}, expected ${expected.width}x${expected.height}`;
  }
  let count = 0, first = null;
  for (let i = 0; i < actual.width * actual.height; ++i) {
    const a = actual.rgba.subarray(i * 4, i * 4 + 4), e = expected.rgba.subarray(i * 4, i * 4 + 4);
    if (!a.equals(e)) {
      if (!first) {
        first = `(${i % actual.width}, ${Math.floor(i / actual.width)}) is ${[...a]}, ` +
                `expected ${[...e]}`;
      }
      ++count;
    }
  }
  return count === 0 ? null : `${count} pixels differ; the first: ${first}`;
}

module.exports = {decode, encode, difference};
