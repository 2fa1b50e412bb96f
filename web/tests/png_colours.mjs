// What a screenshot shows, counted without a library: a PNG's size and how many of its pixels
// have each colour. Reads what browsers write: 8-bit RGB or RGBA, not interlaced.
import {inflateSync} from 'node:zlib';

export function pngColours(bytes) {
  const signature = '89504e470d0a1a0a';
  if (bytes.subarray(0, 8).toString('hex') !== signature) throw new Error('not a PNG');
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colourType, , , interlace] = body.subarray(8, 13);
      channels = {2: 3, 6: 4}[colourType];
      if (depth !== 8 || !channels || interlace !== 0) {
        throw new Error(`a PNG of depth ${depth}, colour type ${colourType}, interlace ${interlace}`);
      }
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? pixels[y * stride + x - channels] : 0;
      const up = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += left;
      else if (filter === 2) value += up;
      else if (filter === 3) value += (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - corner;
        const [a, b, c] = [Math.abs(p - left), Math.abs(p - up), Math.abs(p - corner)];
        value += a <= b && a <= c ? left : b <= c ? up : corner;
      }
      pixels[y * stride + x] = value & 0xff;
    }
  }
  const counts = new Map();
  for (let at = 0; at < pixels.length; at += channels) {
    const colour = '#' + pixels.subarray(at, at + 3).toString('hex');
    counts.set(colour, (counts.get(colour) || 0) + 1);
  }
  return {width, height, counts};
}
