// Reads the PNG files a browser's screenshots are (8 bits a channel, grey, RGB or RGBA, not
// interlaced) into RGBA rows, so a test can look at the pixels of what the page showed.
'use strict';
const zlib = require('zlib');

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// { width, height, rgba: Buffer of width * height * 4 }
function decodePng(buf) {
  const sig = [137, 80, 78, 71, 13, 10, 26, 10];
  if (buf.length < 8 || sig.some((v, i) => buf[i] !== v)) throw new Error('not a PNG file');
  let width = 0, height = 0, depth = 0, type = 0, interlace = 0;
  const idat = [];
  for (let at = 8; at + 8 <= buf.length;) {
    const len = buf.readUInt32BE(at);
    const kind = buf.toString('latin1', at + 4, at + 8);
    if (at + 12 + len > buf.length) throw new Error('PNG chunk ' + kind + ' runs past the end');
    const data = buf.subarray(at + 8, at + 8 + len);
    if (kind === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      depth = data[8];
      type = data[9];
      interlace = data[12];
    } else if (kind === 'IDAT') {
      idat.push(data);
    } else if (kind === 'IEND') {
      break;
    }
    at += 12 + len;
  }
  const channels = { 0: 1, 2: 3, 6: 4 }[type];
  if (depth !== 8 || !channels || interlace !== 0 || !width || !height)
    throw new Error(`PNG of a kind this reader does not take (depth ${depth}, type ${type}, interlace ${interlace})`);
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  if (raw.length < (stride + 1) * height) throw new Error('PNG image data is short');
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const src = y * (stride + 1) + 1, dst = y * stride, up = dst - stride;
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[dst + x - channels] : 0;
      const b = y > 0 ? rows[up + x] : 0;
      const c = x >= channels && y > 0 ? rows[up + x - channels] : 0;
      let v = raw[src + x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) v += paeth(a, b, c);
      else if (filter !== 0) throw new Error('PNG row filter ' + filter + ' is unknown');
      rows[dst + x] = v & 255;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    const s = i * channels;
    rgba[i * 4] = rows[s];
    rgba[i * 4 + 1] = rows[s + (channels >= 3 ? 1 : 0)];
    rgba[i * 4 + 2] = rows[s + (channels >= 3 ? 2 : 0)];
    rgba[i * 4 + 3] = channels === 4 ? rows[s + 3] : 255;
  }
  return { width, height, rgba };
}

module.exports = { decodePng };
