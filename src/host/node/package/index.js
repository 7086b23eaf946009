'use strict';
// convertPicture(): quillbit on one picture held in memory, for bundler plugins and build
// scripts. The same batch as the quillbit command, over the picture's bytes instead of a
// file; nothing is read or written on disk.
const { instantiateCore } = require('./lib/load_core.js');

const MESSAGE_KINDS = ['information', 'user error', 'run-time error'];
const RUN_TIME_ERROR = 2;

let core = null;

function checkedBytes(bytes) {
  if (bytes instanceof Uint8Array) return bytes;
  if (bytes instanceof ArrayBuffer) return new Uint8Array(bytes);
  if (ArrayBuffer.isView(bytes)) return new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  throw new TypeError('convertPicture: the picture\'s bytes must be a Uint8Array, Buffer or ArrayBuffer');
}

// A page of one picture, as the batch sees the pictures of the browser page.
function onePicturePage(bytes, name, result) {
  return {
    lastError: '',
    pictureSize: () => bytes.length,
    pictureRead: (_path, offset, count) => bytes.subarray(offset, offset + count),
    hasFile: (path) => path === name,
    message(text, kind) {
      // As quillbit writes it on standard error: line feeds, a run-time error named.
      const written = text.replace(/\r\n/g, '\n');
      if (kind === 0) result.message = written;
      else result.error = kind === RUN_TIME_ERROR ? `quillbit: ${written}` : written;
      result.kind = MESSAGE_KINDS[kind];
    },
    picture() {},
    finding() {},
    file(path, data, companion) {
      if (companion) return;
      result.headerName = path;
      result.header = Buffer.from(data).toString('utf8');
    },
  };
}

function convertPicture(bytes, name) {
  const picture = checkedBytes(bytes);
  if (typeof name !== 'string' || name === '') {
    throw new TypeError('convertPicture: the picture needs its name, as a non-empty string');
  }
  const result = {};
  core = core || instantiateCore({});
  core.page = onePicturePage(picture, name, result);
  const text = core.allocateUTF8(name);
  try {
    core._quillbit_add_name(text);
  } finally {
    core._free(text);
  }
  try {
    result.status = core._quillbit_run();
  } catch (error) {
    core = null;  // a trapped instance is not to be trusted with the next picture
    throw error;
  }
  delete result.kind;
  return result;
}

module.exports = { convertPicture };
