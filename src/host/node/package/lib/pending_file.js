'use strict';
// The temporary file of the moment, in memory both threads see: the worker records a
// name before it creates the file and clears it once the file is renamed or removed; the
// main thread, when a signal ends the run, stops the worker and removes what is recorded.
const CAPACITY = 65536;  // bytes of a path, more than any system takes

function pendingFile(buffer = new SharedArrayBuffer(4 + CAPACITY)) {
  const length = new Int32Array(buffer, 0, 1);
  const bytes = new Uint8Array(buffer, 4);
  return {
    buffer,
    record(name) {
      const encoded = Buffer.from(name);
      if (encoded.length > CAPACITY) throw Object.assign(new Error(name), { code: 'ENAMETOOLONG' });
      bytes.set(encoded);
      Atomics.store(length, 0, encoded.length);
    },
    clear() {
      Atomics.store(length, 0, 0);
    },
    name() {
      const size = Atomics.load(length, 0);
      return size === 0 ? null : Buffer.from(bytes.subarray(0, size)).toString();
    },
  };
}

module.exports = { pendingFile };
