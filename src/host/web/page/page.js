// quillbit's page: takes pictures (dropped, chosen, or a chosen folder), runs quillbit's batch
// on them in a Web Worker, and shows what it gives: per picture its information, its drawing
// in the four levels, quillbit-check's findings and its header; then everything to download,
// or written into the chosen folder. The worker's script is QUILLBIT_WORKER_SOURCE, put into
// this page when it was built; fflate makes the zip.
'use strict';

// quillbit's MessageKind, in the order of host.h.
const INFORMATION = 0;
// check/sprite.h's Level order: black, dark grey, light grey, background (the sheet).
const LEVEL_RGB = [[0x00, 0x00, 0x00], [0x55, 0x55, 0x55], [0xaa, 0xaa, 0xaa], [0xf4, 0xf1, 0xe6]];
const DRAWING_SIZE = 256; // CSS pixels the longer side of a drawing aims at
const PAINTED_AT_ONCE = 50; // drawings painted in one task after a batch
const ZIP_NAME = 'quillbit-headers.zip';

const $ = (id) => document.getElementById(id);
const ui = {
  dropZone: $('drop-zone'),
  choosePictures: $('choose-pictures'),
  chooseFolder: $('choose-folder'),
  folderNote: $('folder-note'),
  input: $('picture-input'),
  intakeNote: $('intake-note'),
  run: $('run'),
  runHeading: $('run-heading'),
  progress: $('progress'),
  progressLabel: $('progress-label'),
  stop: $('stop'),
  stopped: $('stopped'),
  summary: $('summary'),
  downloadAll: $('download-all'),
  results: $('results'),
  pictures: $('pictures'),
  announce: $('announce'),
};

// ---- the worker -------------------------------------------------------------------------

// The worker that runs the batches; a fresh one replaces it after a batch that made its
// module large, trapped it or was stopped.
const engine = {
  worker: null,
  ready: null,
  extensions: new Set(),
};

function startWorker() {
  document.body.dataset.ready = 'false';
  const url = URL.createObjectURL(new Blob([QUILLBIT_WORKER_SOURCE], { type: 'text/javascript' }));
  const worker = new Worker(url);
  engine.worker = worker;
  engine.ready = new Promise((resolve, reject) => {
    worker.onmessage = (event) => {
      URL.revokeObjectURL(url);
      engine.extensions = new Set(event.data.extensions);
      document.body.dataset.ready = 'true';
      resolve(worker);
    };
    worker.onerror = (event) => reject(new Error(event.message || 'the worker did not start'));
  });
  return engine.ready;
}

function retireWorker() {
  if (engine.worker) engine.worker.terminate();
  startWorker().catch(showStartFailure);
}

function showStartFailure(error) {
  ui.run.hidden = false;
  stopWith('quillbit cannot start in this browser', String(error.message || error));
}

// ---- the batch --------------------------------------------------------------------------

let batch = null;

function newBatch(entries, folder, started) {
  return {
    entries,
    folder, // a FileSystemDirectoryHandle, or null
    cards: new Map(), // picture path -> its card's parts
    files: new Map(), // path -> bytes of each header and the companion, as last written
    companion: null, // its path, when the batch installed it
    reached: 0,
    started,
    writes: Promise.resolve(),
    writeFailures: [],
    over: false,
  };
}

// Names in the order of their characters' codes (as `LC_ALL=C ls` lists them).
function byCodePoints(a, b) {
  const x = new TextEncoder().encode(a.path);
  const y = new TextEncoder().encode(b.path);
  for (let i = 0; i < x.length && i < y.length; i++) if (x[i] !== y[i]) return x[i] - y[i];
  return x.length - y.length;
}

function firstDuplicate(entries) {
  for (let i = 1; i < entries.length; i++) if (entries[i].path === entries[i - 1].path) return entries[i].path;
  return null;
}

async function convert(entries, folder = null, existing = []) {
  const started = performance.now();
  if (batch && !batch.over) return;
  if (entries.length === 0) {
    tell('Nothing to convert: no pictures were given.');
    return;
  }
  entries.sort(byCodePoints);
  const duplicate = firstDuplicate(entries);
  if (duplicate) {
    tell(`Two pictures are both named ${duplicate}: give them one folder at a time.`);
    return;
  }
  batch = newBatch(entries, folder, started);
  showBatchStart();
  const worker = await engine.ready;
  if (batch.over) return; // stopped while the worker was starting
  worker.onmessage = (event) => receive(event.data);
  worker.onerror = (event) => fail(currentPath(), event.message);
  worker.postMessage({
    names: entries.map((entry) => entry.path),
    files: entries.map((entry) => entry.file),
    existing,
  });
}

function currentPath() {
  const { entries, reached } = batch;
  return entries[Math.min(reached, entries.length) - 1]?.path ?? '';
}

function receive(data) {
  if (batch.over) return;
  if (data.type === 'events') data.events.forEach(handleEvent);
  else if (data.type === 'done') finish(data.status, data.retire);
  else if (data.type === 'failed') fail(data.path, data.reason);
}

function handleEvent(event) {
  if (event.kind === 'open') countOpened();
  else if (event.kind === 'picture') showPicture(event);
  else if (event.kind === 'message') showMessage(event);
  else if (event.kind === 'file') keepFile(event);
}

// ---- what a batch shows -----------------------------------------------------------------

function showBatchStart() {
  const count = batch.entries.length;
  ui.intakeNote.textContent = '';
  painter.forget();
  ui.pictures.replaceChildren();
  ui.stopped.replaceChildren();
  ui.summary.textContent = '';
  delete ui.summary.dataset.status;
  delete ui.summary.dataset.seconds;
  ui.results.hidden = true;
  ui.downloadAll.hidden = true;
  ui.run.hidden = false;
  ui.stop.hidden = false;
  ui.progress.max = count;
  ui.progress.value = 0;
  ui.progressLabel.textContent = `0 of ${plural(count, 'picture')}`;
  setIntakeEnabled(false);
  ui.runHeading.focus();
  say(`Converting ${plural(count, 'picture')}…`);
}

function countOpened() {
  batch.reached += 1;
  ui.progress.value = batch.reached;
  ui.progressLabel.textContent = `${batch.reached} of ${plural(batch.entries.length, 'picture')}`;
}

function cardFor(path) {
  let card = batch.cards.get(path);
  if (card) return card;
  const item = element('li', 'picture');
  item.dataset.path = path;
  const heading = element('h3', '', path);
  heading.id = `picture-${batch.cards.size + 1}`;
  item.setAttribute('aria-labelledby', heading.id);
  const information = element('pre', 'information');
  const left = element('div', 'left');
  const right = element('div', 'right');
  left.append(information);
  item.append(heading, left, right);
  ui.pictures.append(item);
  ui.results.hidden = false;
  card = { item, left, right, information };
  batch.cards.set(path, card);
  return card;
}

function showPicture({ path, width, height, levels, counts, findings }) {
  const card = cardFor(path);
  card.left.append(drawing(path, width, height, levels, counts));
  if (findings.length > 0) {
    const list = element('ul', 'findings');
    list.setAttribute('aria-label', 'Findings');
    for (const finding of findings) list.append(element('li', '', finding));
    card.left.append(list);
  }
}

function drawing(path, width, height, levels, counts) {
  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  const zoom = Math.max(1, Math.min(16, Math.floor(DRAWING_SIZE / Math.max(width, height))));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', `${path} in its four levels, ${width} by ${height} pixels, drawn ${zoom} times larger`);
  painter.add(canvas, levels);
  const figure = element('figure', 'drawing');
  const frame = element('div', 'frame');
  frame.append(canvas);
  figure.append(frame, element('figcaption', '', counts));
  return figure;
}

// A drawing is painted when it comes into view, and the rest once the batch is over: a
// thousand canvases painted as they arrive would hold the page up for a fifth of a second.
// Until then a canvas carries data-unpainted.
const painter = {
  levels: new Map(), // canvas -> its levels, until painted
  watch: new IntersectionObserver((entries) => {
    for (const entry of entries) if (entry.isIntersecting) painter.paint(entry.target);
  }),
  add(canvas, levels) {
    canvas.dataset.unpainted = '';
    this.levels.set(canvas, levels);
    this.watch.observe(canvas);
  },
  paint(canvas) {
    const levels = this.levels.get(canvas);
    if (!levels) return;
    this.levels.delete(canvas);
    this.watch.unobserve(canvas);
    const image = new ImageData(canvas.width, canvas.height);
    for (let i = 0; i < levels.length; i++) {
      const [r, g, b] = LEVEL_RGB[levels[i]];
      image.data.set([r, g, b, 255], i * 4);
    }
    canvas.getContext('2d').putImageData(image, 0, 0);
    delete canvas.dataset.unpainted;
  },
  paintRest() {
    const next = [...this.levels.keys()].slice(0, PAINTED_AT_ONCE);
    next.forEach((canvas) => this.paint(canvas));
    if (this.levels.size > 0) setTimeout(() => this.paintRest());
  },
  forget() {
    this.watch.disconnect();
    this.levels.clear();
  },
};

function showMessage({ text, messageKind, path }) {
  if (messageKind === INFORMATION) {
    cardFor(path).information.textContent = text.replaceAll('\r\n', '\n');
    return;
  }
  // quillbit stops here: the width rule, a name it cannot take, or a run-time error.
  if (path) {
    const card = cardFor(path);
    card.item.classList.add('stopped-here');
    card.left.append(element('p', 'stop-text', text));
  }
  stopWith(path ? `quillbit stopped at ${path}:` : 'quillbit stopped:', text, messageKind);
}

function stopWith(title, text, kind) {
  const message = element('p', 'message', text.replaceAll('\r\n', '\n'));
  if (kind !== undefined) message.dataset.kind = kind;
  ui.stopped.replaceChildren(element('p', 'title', title), message);
}

function keepFile({ path, bytes, companion, picture }) {
  batch.files.set(path, bytes);
  if (batch.folder) batch.writes = batch.writes.then(() => writeIntoFolder(path, bytes, companion));
  if (companion) {
    batch.companion = path;
    return;
  }
  const card = cardFor(picture);
  card.right.replaceChildren(headerView(path, bytes));
}

function headerView(path, bytes) {
  const text = new TextDecoder().decode(bytes);
  const name = baseName(path);
  const box = element('div', 'header-file');
  const bar = element('div', 'actions');
  const copy = element('button', '', 'Copy');
  copy.type = 'button';
  copy.setAttribute('aria-label', `Copy ${name}`);
  copy.addEventListener('click', () => copyText(name, text));
  const save = element('button', '', 'Download');
  save.type = 'button';
  save.setAttribute('aria-label', `Download ${name}`);
  save.addEventListener('click', () => download(name, bytes, 'text/x-c'));
  bar.append(element('h4', '', path), copy, save);
  const pre = element('pre', 'header-text');
  pre.tabIndex = 0; // scrollable, so it can be scrolled with the keyboard
  pre.setAttribute('role', 'region');
  pre.setAttribute('aria-label', `${name}, the header`);
  pre.textContent = text;
  box.append(bar, pre);
  return box;
}

async function finish(status, retire = true) {
  batch.over = true;
  const seconds = (performance.now() - batch.started) / 1000;
  if (retire) retireWorker();
  painter.paintRest();
  await batch.writes;
  ui.stop.hidden = true;
  ui.downloadAll.hidden = batch.files.size === 0;
  ui.progress.value = status === 0 ? batch.entries.length : batch.reached;
  const outcome = outcomeText(status, seconds);
  ui.summary.textContent = outcome;
  ui.summary.dataset.status = status;
  ui.summary.dataset.seconds = seconds.toFixed(3);
  if (batch.writeFailures.length > 0) {
    stopWith('Some files could not be written into the folder:', batch.writeFailures.join('\n'));
  }
  setIntakeEnabled(true);
  say(outcome);
  if (document.activeElement === document.body || document.activeElement === ui.stop) ui.runHeading.focus();
}

function outcomeText(status, seconds) {
  const count = batch.entries.length;
  const headers = plural(batch.files.size - (batch.companion ? 1 : 0), 'header');
  const where = batch.folder ? `written into the folder ${batch.folder.name}` : 'ready below';
  const time = `${seconds.toFixed(2)} s`;
  if (status === 0) {
    const companion = batch.companion ? ` and ${batch.companion}` : '';
    return `Converted ${plural(count, 'picture')} in ${time}: ${headers}${companion} ${where}.`;
  }
  const at = batch.reached === 0 ? 'before the first picture' : `at picture ${batch.reached} of ${count}`;
  return `Stopped ${at} after ${time}: ${headers} from the pictures before it ${where}.`;
}

function fail(path, reason) {
  if (batch.over) return;
  const text = `cannot read picture "${path}": the picture reader failed (${reason})`;
  showMessage({ text, messageKind: 2, path });
  finish(1);
}

function stopByUser() {
  if (!batch || batch.over) return;
  stopWith('Stopped.', `You stopped the batch at picture ${batch.reached} of ${batch.entries.length}.`);
  finish(1);
}

function setIntakeEnabled(enabled) {
  ui.choosePictures.disabled = !enabled;
  ui.chooseFolder.disabled = !enabled;
}

// ---- files out: downloads, the clipboard, a chosen folder --------------------------------

function download(name, bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = element('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

function downloadAll() {
  const entries = {};
  for (const [path, bytes] of batch.files) entries[path.replace(/^\/+/, '')] = bytes;
  download(ZIP_NAME, fflate.zipSync(entries, { level: 6 }), 'application/zip');
  say(`Downloading ${ZIP_NAME}: ${plural(batch.files.size, 'file')}.`);
}

async function copyText(name, text) {
  try {
    await navigator.clipboard.writeText(text);
    say(`Copied ${name} to the clipboard.`);
  } catch (error) {
    say(`Cannot copy ${name} here (${error.message}); select the header's text instead.`);
  }
}

// Headers replace what is there, as quillbit replaces them; the companion never does.
async function writeIntoFolder(path, bytes, companion) {
  try {
    const names = path.split('/');
    let folder = batch.folder;
    for (const name of names.slice(0, -1)) folder = await folder.getDirectoryHandle(name);
    const name = names[names.length - 1];
    if (companion && (await exists(folder, name))) return;
    const handle = await folder.getFileHandle(name, { create: true });
    const writable = await handle.createWritable();
    await writable.write(bytes);
    await writable.close();
  } catch (error) {
    batch.writeFailures.push(`cannot write "${path}": ${error.message}`);
  }
}

async function exists(folder, name) {
  try {
    await folder.getFileHandle(name);
    return true;
  } catch {
    return false;
  }
}

// ---- pictures in: the button, a folder, a drop -------------------------------------------

function isPicture(name) {
  const dot = name.lastIndexOf('.');
  return dot >= 0 && engine.extensions.has(name.slice(dot + 1).toLowerCase());
}

async function chooseFolder() {
  let folder;
  try {
    folder = await window.showDirectoryPicker({ id: 'quillbit', mode: 'readwrite' });
  } catch (error) {
    if (error.name !== 'AbortError') tell(`Cannot open that folder: ${error.message}`);
    return;
  }
  const entries = [];
  const existing = [];
  for await (const [name, handle] of folder.entries()) {
    if (handle.kind !== 'file') continue;
    existing.push(name);
    if (isPicture(name)) entries.push({ path: name, file: await handle.getFile() });
  }
  if (entries.length === 0) tell(`The folder ${folder.name} holds no pictures quillbit reads.`);
  else convert(entries, folder, existing);
}

// Files dropped are converted whatever their names, as quillbit converts every file it is
// given; of a dropped folder only the pictures, with their paths inside it.
async function picturesOfDrop(transfer) {
  const items = [...transfer.items].filter((item) => item.kind === 'file');
  const roots = items.map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
  if (roots.length === 0 || roots.some((root) => !root)) {
    return [...transfer.files].map((file) => ({ path: file.name, file }));
  }
  const found = await Promise.all(roots.map((root) => walk(root, '', true)));
  return found.flat();
}

async function walk(entry, prefix, given) {
  const path = prefix + entry.name;
  if (entry.isFile) {
    if (!given && !isPicture(entry.name)) return [];
    return [{ path, file: await new Promise((resolve, reject) => entry.file(resolve, reject)) }];
  }
  const reader = entry.createReader();
  const children = [];
  for (;;) {
    const some = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (some.length === 0) break;
    children.push(...some);
  }
  const found = await Promise.all(children.map((child) => walk(child, `${path}/`, false)));
  return found.flat();
}

function whenIdle(action) {
  return (...args) => {
    if (!batch || batch.over) action(...args);
  };
}

function wireIntake() {
  ui.choosePictures.addEventListener('click', () => ui.input.click());
  ui.input.addEventListener('change', () => {
    const files = [...ui.input.files];
    ui.input.value = '';
    convert(files.map((file) => ({ path: file.name, file })));
  });
  if ('showDirectoryPicker' in window) {
    ui.chooseFolder.hidden = false;
    ui.folderNote.hidden = false;
    ui.chooseFolder.addEventListener('click', whenIdle(chooseFolder));
  }
  // Anywhere on the page: a picture dropped beside the zone must not open in the tab.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    event.dataTransfer.dropEffect = batch && !batch.over ? 'none' : 'copy';
    ui.dropZone.classList.add('dragging');
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) ui.dropZone.classList.remove('dragging');
  });
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    ui.dropZone.classList.remove('dragging');
    if (batch && !batch.over) return;
    picturesOfDrop(event.dataTransfer).then((entries) => convert(entries));
  });
  ui.stop.addEventListener('click', stopByUser);
  ui.downloadAll.addEventListener('click', downloadAll);
}

// ---- small helpers -----------------------------------------------------------------------

function element(tag, className = '', text = '') {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text) node.textContent = text;
  return node;
}

function plural(count, word) {
  return `${count} ${word}${count === 1 ? '' : 's'}`;
}

function baseName(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

function say(text) {
  ui.announce.textContent = text;
}

// Why nothing was converted: beside the drop zone, and said.
function tell(text) {
  ui.intakeNote.textContent = text;
  say(text);
}

wireIntake();
startWorker().then(() => {
  ui.input.accept = [...engine.extensions].map((extension) => `.${extension}`).join(',');
  setIntakeEnabled(true);
}, showStartFailure);
