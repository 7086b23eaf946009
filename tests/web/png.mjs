// Reads the PNG files chromium's screenshots are: 8 bits a sample, RGB or RGBA, not
// interlaced. Returns {width, height, rgb(x, y)}.
import { inflateSync } from 'node:zlib';

function paeth(a, b, c) {
  const p = a + b - c;
  const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function unfilter(data, width, height, channels) {
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const type = data[y * (stride + 1)];
    for (let i = 0; i < stride; i++) {
      const raw = data[y * (stride + 1) + 1 + i];
      const a = i >= channels ? out[y * stride + i - channels] : 0;
      const b = y > 0 ? out[(y - 1) * stride + i] : 0;
      const c = y > 0 && i >= channels ? out[(y - 1) * stride + i - channels] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][type];
      out[y * stride + i] = (raw + predictor) & 0xff;
    }
  }
  return out;
}

export function readPng(bytes) {
  let at = 8;
  let header;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const kind = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (kind === 'IHDR') header = { width: body.readUInt32BE(0), height: body.readUInt32BE(4), depth: body[8], type: body[9], interlace: body[12] };
    if (kind === 'IDAT') data.push(body);
    at += 12 + length;
  }
  if (header.depth !== 8 || header.interlace !== 0 || ![2, 6].includes(header.type)) throw new Error('a PNG this reader does not read');
  const channels = header.type === 6 ? 4 : 3;
  const pixels = unfilter(inflateSync(Buffer.concat(data)), header.width, header.height, channels);
  return {
    width: header.width,
    height: header.height,
    rgb: (x, y) => pixels.readUIntBE((y * header.width + x) * channels, 3),
  };
}
