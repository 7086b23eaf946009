// quillbit's batch in the page's Web Worker, after the WebAssembly module's own script
// (QuillbitModule). A worker runs batch after batch while its module stays small; one that a
// picture made take much memory asks the page for a fresh worker (done, with retire).
//
// Page to worker: {type: 'batch', names, existing}: the pictures' paths in the batch's order
// and the paths of the files already in a chosen folder; then {type: 'files', files}, their
// File objects in the same order, in as many messages as the page needs to stay free; the
// batch runs once the last has come.
// Worker to page: {type: 'ready', extensions, texts} (texts: the reports the page words itself,
// by name, from the module: see page_texts.h); then {type: 'events', events} as the batch
// goes (a picture opened, a message, its levels and findings, a file written), and at the end
// {type: 'done', status, retire} or, when the module failed, {type: 'failed', path, reason}.
'use strict';

// The module needs nothing from outside, and must not reach for it.
self.fetch = undefined;

const FLUSH_MILLISECONDS = 50;
// Pictures are read ahead, all at once, up to this many bytes: reading them one by one as
// the batch reaches them (FileReaderSync) costs milliseconds each. The rest is read then.
const READ_AHEAD_BYTES = 64 << 20;
const READ_GROUPS = 16;
// A module that grew beyond this keeps the memory; the next batch gets a fresh worker.
const RETIRE_BYTES = 64 << 20;

const run = {
  files: new Map(),
  read: new Map(), // path -> the bytes read ahead
  existing: new Set(),
  events: [],
  transfers: [],
  flushed: 0,
  current: '',
};

function flush() {
  if (run.events.length === 0) return;
  self.postMessage({ type: 'events', events: run.events }, run.transfers);
  run.events = [];
  run.transfers = [];
  run.flushed = performance.now();
}

function add(event, transfer) {
  run.events.push(event);
  if (transfer) run.transfers.push(transfer);
  if (performance.now() - run.flushed > FLUSH_MILLISECONDS) flush();
}

// What the web host asks of the page (web_bridge.cpp calls these).
const page = {
  lastError: '',
  pictureSize(path) {
    run.current = path;
    add({ kind: 'open', path });
    const file = run.files.get(path);
    if (!file) {
      page.lastError = 'the page was not handed this file';
      return -1;
    }
    return file.size;
  },
  pictureRead(path, offset, count) {
    try {
      const ahead = run.read.get(path);
      if (ahead) return ahead.subarray(offset, offset + count);
      const file = run.files.get(path);
      return new Uint8Array(new FileReaderSync().readAsArrayBuffer(file.slice(offset, offset + count)));
    } catch (error) {
      page.lastError = `${error.name}: ${error.message}`;
      return null;
    }
  },
  hasFile(path) {
    return run.files.has(path) || run.existing.has(path);
  },
  message(text, kind) {
    add({ kind: 'message', messageKind: kind, text, path: run.current });
  },
  // quillbit-check's report on the picture, as its JSON gives it; the levels, one digit a
  // pixel there, go to the page as bytes.
  picture({ path, width, height, levels: digits, counts, findings }) {
    const levels = Uint8Array.from(digits, (digit) => digit.charCodeAt(0) - 48);
    add({ kind: 'picture', path, width, height, levels, counts, findings }, levels.buffer);
  },
  file(path, bytes, companion) {
    add({ kind: 'file', path, bytes, companion, picture: run.current }, bytes.buffer);
  },
};

function addName(module, name) {
  const size = module.lengthBytesUTF8(name) + 1;
  const text = module._malloc(size);
  module.stringToUTF8(name, text, size);
  module._quillbit_add_name(text);
  module._free(text);
}

// The first pictures, within the budget, read at once; a picture that cannot be read now is
// read again when the batch reaches it, which then reports it in its turn.
async function readAhead(names, files) {
  const chosen = [];
  let bytes = 0;
  for (let i = 0; i < files.length && bytes + files[i].size <= READ_AHEAD_BYTES; i++) {
    chosen.push(i);
    bytes += files[i].size;
  }
  // Read as a few blobs of neighbours, side by side: the browser reads each file of a blob in
  // turn and each blob on a thread of its own, and a read of each file alone costs it a round
  // trip each. A group with a file that has gone is read again picture by picture in its turn,
  // which then reports that one.
  const size = Math.ceil(chosen.length / READ_GROUPS);
  const groups = [];
  for (let at = 0; at < chosen.length; at += size) groups.push(chosen.slice(at, at + size));
  await Promise.all(groups.map(async (group) => {
    let all;
    try {
      all = new Uint8Array(await new Blob(group.map((i) => files[i])).arrayBuffer());
    } catch {
      return;
    }
    let offset = 0;
    for (const i of group) {
      run.read.set(names[i], all.subarray(offset, offset + files[i].size));
      offset += files[i].size;
    }
  }));
}

async function runBatch(module, { names, files, existing }) {
  run.files = new Map(names.map((name, index) => [name, files[index]]));
  run.read = new Map();
  run.existing = new Set(existing);
  run.current = '';
  await readAhead(names, files);
  run.flushed = performance.now();
  for (const name of names) addName(module, name);
  let status;
  try {
    status = module._quillbit_run();
  } catch (error) {
    // A trap of the module (a decoder that ran off its memory, say): nothing of it can be
    // trusted any more, and the page ends this worker.
    flush();
    self.postMessage({ type: 'failed', path: run.current, reason: String(error) });
    return;
  }
  flush();
  run.files = new Map();
  run.read = new Map();
  self.postMessage({ type: 'done', status, retire: module.HEAPU8.length > RETIRE_BYTES });
}

// The batch the page is handing over, until all its files are here.
let coming = null;

function receive(module, data) {
  if (data.type === 'batch') {
    coming = { names: data.names, existing: data.existing, files: [] };
  } else if (data.type === 'files') {
    coming.files.push(...data.files);
  }
  if (coming && coming.files.length === coming.names.length) {
    const batch = coming;
    coming = null;
    runBatch(module, batch);
  }
}

QuillbitModule({ page }).then((module) => {
  self.onmessage = (event) => receive(module, event.data);
  const extensions = module.UTF8ToString(module._quillbit_extensions());
  const texts = module.UTF8ToString(module._quillbit_page_texts()).split('\n').filter(Boolean);
  self.postMessage({
    type: 'ready',
    extensions: extensions.split(' '),
    texts: Object.fromEntries(texts.map((line) => line.split('\t'))),
  });
});
