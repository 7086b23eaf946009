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
// The levels as the four bytes of an opaque pixel, read in the machine's own byte order.
const LEVEL_PIXELS = new Uint32Array(new Uint8Array(LEVEL_RGB.flatMap((rgb) => [...rgb, 255])).buffer);
const DRAWING_SIZE = 256; // CSS pixels the longer side of a drawing aims at
const PAINTING_MILLISECONDS = 6; // drawings are painted after a batch this long at a time
const ZIP_NAME = 'quillbit-headers.zip';
// Handing a File to the worker costs the page's thread about half a millisecond: the files go
// in messages sized to take about this long each, with the page free in between; never more
// than MOST_HANDED_AT_ONCE, as a loaded machine can take a few times longer for the next.
const HAND_OVER_MILLISECONDS = 12;
const MOST_HANDED_AT_ONCE = 25;
// What the worker reports is shown this many milliseconds at a time, the page free between.
const SHOWING_MILLISECONDS = 12;
// The cards of the batch before are removed this many milliseconds at a time.
const REMOVING_MILLISECONDS = 6;
// The marks, embeddings, overrides and isolates of Unicode's bidirectional algorithm.
const DIRECTION_CONTROLS = /([\u061c\u200e\u200f\u202a-\u202e\u2066-\u2069])/u;

const $ = (id) => document.getElementById(id);
const ui = {
  dropZone: $('drop-zone'),
  choosePictures: $('choose-pictures'),
  chooseFolder: $('choose-folder'),
  folderNote: $('folder-note'),
  input: $('picture-input'),
  folderInput: $('folder-input'),
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
  licencesLink: $('licences-link'),
  licences: $('licences'),
};

// ---- the worker -------------------------------------------------------------------------

// The worker that runs the batches; a fresh one replaces it after a batch that made its
// module large, trapped it or was stopped.
const engine = {
  worker: null,
  ready: null,
  extensions: new Set(),
  texts: {}, // the reports the page words itself, in the module's words: see report()
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
      engine.texts = event.data.texts;
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
    inbox: [], // the worker's events (and its end) not yet shown
    shown: 0,
    showing: false,
    over: false,
  };
}

// Names in the order of their characters' codes (as `LC_ALL=C ls` lists them).
function sortByCodePoints(entries) {
  const encoder = new TextEncoder();
  const keys = new Map(entries.map((entry) => [entry, encoder.encode(entry.path)]));
  entries.sort((a, b) => {
    const x = keys.get(a);
    const y = keys.get(b);
    for (let i = 0; i < x.length && i < y.length; i++) if (x[i] !== y[i]) return x[i] - y[i];
    return x.length - y.length;
  });
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
  sortByCodePoints(entries);
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
  worker.postMessage({ type: 'batch', names: entries.map((entry) => entry.path), existing });
  await handOver(worker, entries.map((entry) => entry.file));
}

// The files in pieces, each piece a task of its own, so that the page answers (Stop above
// all) while a big drop is handed over; a stopped batch hands over no more.
async function handOver(worker, files) {
  const handing = batch;
  let size = 10;
  for (let at = 0; at < files.length && !handing.over;) {
    const piece = files.slice(at, at + size);
    const started = performance.now();
    worker.postMessage({ type: 'files', files: piece });
    const spent = Math.max(performance.now() - started, 1);
    at += piece.length;
    size = Math.max(10, Math.min(MOST_HANDED_AT_ONCE, Math.round((piece.length * HAND_OVER_MILLISECONDS) / spent)));
    await nextTask();
  }
}

// Sooner than a timer, which the browser holds back to 4 ms when timers nest.
function nextTask() {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => {
      channel.port1.close();
      resolve();
    };
    channel.port2.postMessage(null);
  });
}

function currentPath() {
  const { entries, reached } = batch;
  return entries[Math.min(reached, entries.length) - 1]?.path ?? '';
}

// A message of the worker can hold hundreds of pictures: they are shown a few at a time.
function receive(data) {
  if (batch.over) return;
  if (data.type === 'events') batch.inbox.push(...data.events);
  else batch.inbox.push({ ...data, kind: data.type });
  if (!batch.showing) showInbox(batch);
}

async function showInbox(shown) {
  shown.showing = true;
  await shown.cleared;
  let since = performance.now();
  while (shown.shown < shown.inbox.length && !shown.over) {
    if (performance.now() - since > SHOWING_MILLISECONDS) {
      await nextTask();
      since = performance.now();
    } else {
      handleEvent(shown.inbox[shown.shown]);
      shown.inbox[shown.shown++] = null;
    }
  }
  shown.showing = false;
}

function handleEvent(event) {
  if (event.kind === 'done') finish(event.status, event.retire);
  else if (event.kind === 'failed') fail(event.path, event.reason);
  else if (event.kind === 'open') countOpened();
  else if (event.kind === 'picture') showPicture(event);
  else if (event.kind === 'message') showMessage(event);
  else if (event.kind === 'file') keepFile(event);
}

// ---- what a batch shows -----------------------------------------------------------------

function showBatchStart() {
  const count = batch.entries.length;
  ui.intakeNote.textContent = '';
  painter.forget();
  batch.cleared = removeCards([...ui.pictures.children]);
  ui.stopped.replaceChildren();
  ui.summary.textContent = '';
  delete ui.summary.dataset.status;
  delete ui.summary.dataset.seconds;
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

// The cards of the batch before, a few at a time from the last, kept to be filled again: the
// thousands of a big batch removed at once, or hidden, would hold the page for a good part
// of a second.
async function removeCards(cards) {
  while (cards.length > 0) {
    const since = performance.now();
    while (cards.length > 0 && performance.now() - since < REMOVING_MILLISECONDS) {
      const item = cards.pop();
      item.remove();
      spareCards.push(cardOfItem.get(item));
    }
    if (cards.length > 0) await nextTask();
  }
  if (!ui.pictures.firstElementChild) ui.results.hidden = true;
}

function countOpened() {
  batch.reached += 1;
  ui.progress.value = batch.reached;
  ui.progressLabel.textContent = `${batch.reached} of ${plural(batch.entries.length, 'picture')}`;
}

// The cards of the batches before, out of the page, to be filled again: thousands of cards
// left to the collector make it hold the page up for a few hundred milliseconds.
const spareCards = [];
const cardOfItem = new WeakMap();

function newCard() {
  const card = { item: element('li'), heading: element('h3'), left: element('div', 'left'),
    right: element('div', 'right header-file'), information: element('pre', 'information'),
    drawing: null, headerBox: null, header: null };
  card.item.append(card.heading, card.left, card.right);
  cardOfItem.set(card.item, card);
  return card;
}

function cardFor(path) {
  let card = batch.cards.get(path);
  if (card) return card;
  card = spareCards.pop() ?? newCard();
  card.item.className = 'picture';
  card.item.dataset.path = path;
  showingControls(card.heading, path);
  card.heading.id = `picture-${batch.cards.size + 1}`;
  card.item.setAttribute('aria-labelledby', card.heading.id);
  card.information.textContent = '';
  card.left.replaceChildren(card.information);
  card.right.replaceChildren();
  card.header = null;
  ui.pictures.append(card.item);
  ui.results.hidden = false;
  batch.cards.set(path, card);
  return card;
}

function showPicture({ path, width, height, levels, counts, findings }) {
  const card = cardFor(path);
  card.left.append(drawing(card, path, width, height, levels, counts));
  if (findings.length > 0) {
    const list = element('ul', 'findings');
    list.setAttribute('aria-label', 'Findings');
    for (const finding of findings) list.append(showingControls(element('li'), finding));
    card.left.append(list);
  }
}

function drawing(card, path, width, height, levels, counts) {
  card.drawing ??= newDrawing();
  const { figure, canvas, caption } = card.drawing;
  canvas.width = width;
  canvas.height = height;
  const zoom = Math.max(1, Math.min(16, Math.floor(DRAWING_SIZE / Math.max(width, height))));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
  canvas.setAttribute('aria-label', `${path} in its four levels, ${width} by ${height} pixels, drawn ${zoom} times larger`);
  painter.add(canvas, levels);
  caption.textContent = report('levelCounts', counts);
  return figure;
}

function newDrawing() {
  const canvas = document.createElement('canvas');
  canvas.setAttribute('role', 'img');
  const figure = element('figure', 'drawing');
  const frame = element('div', 'frame');
  const caption = element('figcaption');
  frame.append(canvas);
  figure.append(frame, caption);
  return { figure, canvas, caption };
}

// A drawing is painted when it comes into view, and the rest once the batch is over: a
// thousand canvases painted as they arrive would hold the page up for a fifth of a second.
// Until then a canvas carries data-unpainted. Where the browser says when a card's content
// is no longer skipped (content-visibility), that tells; an observer of every canvas would
// cost each frame of a big batch a good part of its time.
const painter = {
  levels: new Map(), // canvas -> its levels, until painted
  told: 'ContentVisibilityAutoStateChangeEvent' in window,
  watch: new IntersectionObserver((entries) => {
    for (const entry of entries) if (entry.isIntersecting) painter.paint(entry.target);
  }),
  add(canvas, levels) {
    canvas.dataset.unpainted = '';
    this.levels.set(canvas, levels);
    if (!this.told) this.watch.observe(canvas);
  },
  // One listener on the list for every card (the event does not bubble, but is captured).
  wire(list) {
    list.addEventListener('contentvisibilityautostatechange', (event) => {
      const canvas = event.skipped ? null : event.target.querySelector('canvas[data-unpainted]');
      if (canvas) this.paint(canvas);
    }, { capture: true });
  },
  paint(canvas) {
    const levels = this.levels.get(canvas);
    if (!levels) return;
    this.levels.delete(canvas);
    this.watch.unobserve(canvas);
    const image = new ImageData(canvas.width, canvas.height);
    const pixels = new Uint32Array(image.data.buffer);
    for (let i = 0; i < levels.length; i++) pixels[i] = LEVEL_PIXELS[levels[i]];
    canvas.getContext('2d').putImageData(image, 0, 0);
    delete canvas.dataset.unpainted;
  },
  paintRest() {
    const since = performance.now();
    for (const canvas of this.levels.keys()) {
      if (performance.now() - since > PAINTING_MILLISECONDS) break;
      this.paint(canvas);
    }
    if (this.levels.size > 0) setTimeout(() => this.paintRest());
  },
  forget() {
    this.watch.disconnect();
    this.levels.clear();
  },
};

function showMessage({ text, messageKind, path }) {
  if (messageKind === INFORMATION) {
    showingControls(cardFor(path).information, text.replaceAll('\r\n', '\n'));
    return;
  }
  // quillbit stops here: the width rule, a name it cannot take, or a run-time error.
  if (path) {
    const card = cardFor(path);
    card.item.classList.add('stopped-here');
    card.left.append(showingControls(element('p', 'stop-text'), text));
  }
  stopWith(path ? `quillbit stopped at ${path}:` : 'quillbit stopped:', text, messageKind);
}

function stopWith(title, text, kind) {
  const message = showingControls(element('p', 'message'), text.replaceAll('\r\n', '\n'));
  if (kind !== undefined) message.dataset.kind = kind;
  ui.stopped.replaceChildren(showingControls(element('p', 'title'), title), message);
}

function keepFile({ path, bytes, companion, picture }) {
  batch.files.set(path, bytes);
  if (batch.folder) batch.writes = batch.writes.then(() => writeIntoFolder(path, bytes, companion));
  if (companion) {
    batch.companion = path;
    return;
  }
  const card = cardFor(picture);
  card.header = { path, bytes };
  card.headerBox ??= newHeaderBox();
  const { bar, title, copy, save, pre } = card.headerBox;
  const name = baseName(path);
  pre.setAttribute('aria-label', `${name}, the header`);
  showingControls(pre, new TextDecoder().decode(bytes));
  copy.setAttribute('aria-label', `Copy ${name}`);
  save.setAttribute('aria-label', `Download ${name}`);
  bar.replaceChildren(showingControls(title, path), copy, save);
  card.right.replaceChildren(bar, pre);
}

function newHeaderBox() {
  const pre = element('pre', 'header-text');
  pre.tabIndex = 0; // scrollable, so it can be scrolled with the keyboard
  pre.setAttribute('role', 'region');
  return { bar: element('div', 'actions'), title: element('h4'), copy: button('Copy', '', 'copy'),
    save: button('Download', '', 'download'), pre };
}

// Made when a copy fails, not for every card: a big batch's cards are many nodes already.
function copyFailureParts(copy, name) {
  const bar = copy.parentElement;
  let note = bar.nextElementSibling;
  if (!note.classList.contains('copy-note')) {
    note = element('p', 'copy-note');
    bar.after(note);
    copy.after(button('Select header', `Select header ${name}`, 'select'));
  }
  return { note, select: copy.nextElementSibling };
}

function button(text, label, action) {
  const made = element('button', '', text);
  made.type = 'button';
  made.setAttribute('aria-label', label);
  made.dataset.action = action;
  return made;
}

// The cards' buttons and headers answer through listeners on the list, not a few of their
// own on every card, which a big batch would make by the thousand and leave to the
// collector when the next batch replaces it.
function wireCards() {
  painter.wire(ui.pictures);
  ui.pictures.addEventListener('click', (event) => {
    const pressed = event.target.closest('button[data-action]');
    const card = pressed && batch.cards.get(pressed.closest('.picture').dataset.path);
    if (!card?.header) return;
    const { path, bytes } = card.header;
    const name = baseName(path);
    const pre = card.right.querySelector('.header-text');
    if (pressed.dataset.action === 'copy') copyText(name, new TextDecoder().decode(bytes), pressed);
    else if (pressed.dataset.action === 'download') download(name, bytes, 'text/x-c');
    else selectHeader(pre);
  });
  wireHeaderSelection(ui.pictures);
}

// The browser's own copy of a selection in a <pre> drops its last line break, and Ctrl+A
// would take the whole page: inside a header both take the header's own characters.
function wireHeaderSelection(list) {
  list.addEventListener('keydown', (event) => {
    const pre = event.target.closest('.header-text');
    if (pre && (event.ctrlKey || event.metaKey) && !event.altKey && event.key.toLowerCase() === 'a') {
      event.preventDefault();
      selectHeader(pre);
    }
  });
  list.addEventListener('copy', (event) => {
    const selection = document.getSelection();
    const at = event.target.nodeType === Node.ELEMENT_NODE ? event.target : event.target.parentElement;
    if (!at?.closest('.header-text') || selection.rangeCount === 0 || selection.isCollapsed) return;
    event.clipboardData.setData('text/plain', selection.getRangeAt(0).toString());
    event.preventDefault();
  });
}

function selectHeader(pre) {
  const range = document.createRange();
  range.selectNodeContents(pre);
  const selection = document.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  pre.focus();
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
  const text = report('pictureReaderFailed', { path, reason });
  showMessage({ text, messageKind: 2, path });
  finish(1);
}

// One of the reports the module words for the page, with the page's values in their places;
// one pass, so a value that looks like a place is shown as it is.
function report(name, values) {
  return engine.texts[name].replace(/\{([a-z ]+)\}/g, (place, key) => String(values[key] ?? place));
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

async function copyText(name, text, copy) {
  try {
    if (!navigator.clipboard) throw new Error('no clipboard');
    await navigator.clipboard.writeText(text);
    const note = copy.parentElement.nextElementSibling;
    if (note.classList.contains('copy-note')) {
      note.hidden = true;
      copy.nextElementSibling.hidden = true;
    }
    say(`Copied ${name} to the clipboard.`);
  } catch {
    const { note, select } = copyFailureParts(copy, name);
    const why = navigator.clipboard
      ? 'the browser refused this page the clipboard'
      : 'this browser gives the clipboard only to pages from https:// or from a file';
    note.textContent = `Cannot copy ${name}: ${why}. Press "Select header", then Ctrl+C (⌘C on a Mac).`;
    note.hidden = false;
    select.hidden = false;
    say(note.textContent);
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
    batch.writeFailures.push(report('cannotWrite', { path, reason: error.message }));
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

// Where the browser can write into a folder, the headers go beside its pictures; elsewhere
// the folder input gives its pictures, and the headers go to the zip.
function chooseFolder() {
  if ('showDirectoryPicker' in window) chooseWritableFolder();
  else ui.folderInput.click();
}

function convertFolderInput() {
  const files = [...ui.folderInput.files];
  ui.folderInput.value = '';
  const entries = files.filter((file) => isPicture(file.name))
    .map((file) => ({ path: file.webkitRelativePath || file.name, file }));
  const name = (files[0]?.webkitRelativePath ?? '').split('/')[0];
  if (entries.length === 0) tell(`The folder ${name} holds no pictures quillbit reads.`);
  else convert(entries);
}

async function chooseWritableFolder() {
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
// given; of a dropped folder only the pictures, with their paths inside it. A file whose
// entry cannot be read is taken from the dropped files; a folder that cannot be read is
// named in unreadable. The transfer is read before the first await: it is emptied after.
async function picturesOfDrop(transfer) {
  const files = [...transfer.files];
  const items = [...transfer.items].filter((item) => item.kind === 'file');
  const roots = items.map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
  const given = (index) => (files[index] ? [{ path: files[index].name, file: files[index] }] : []);
  if (roots.length === 0) return { entries: files.map((file) => ({ path: file.name, file })), unreadable: [] };
  const unreadable = [];
  const found = await Promise.all(roots.map(async (root, index) => {
    if (!root) return given(index);
    try {
      return await walk(root, '', true);
    } catch (error) {
      if (root.isFile && files[index]) return given(index);
      unreadable.push(`${root.isFile ? 'the file' : 'the folder'} ${root.name} (${error.message || error.name})`);
      return [];
    }
  }));
  return { entries: found.flat(), unreadable };
}

function convertDrop(transfer) {
  picturesOfDrop(transfer).then(({ entries, unreadable }) => {
    if (unreadable.length > 0) {
      tell(`Nothing was converted: this browser could not read ${unreadable.join(', ')}. Drop it again, or choose the pictures with the buttons.`);
    } else {
      convert(entries);
    }
  }, (error) => tell(`Nothing was converted: this browser could not read the drop (${error.message || error.name}).`));
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
  const way = 'showDirectoryPicker' in window ? 'write' : 'zip';
  for (const note of ui.folderNote.querySelectorAll('[data-folder]')) note.hidden = note.dataset.folder !== way;
  ui.chooseFolder.addEventListener('click', whenIdle(chooseFolder));
  ui.folderInput.addEventListener('change', convertFolderInput);
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
    convertDrop(event.dataTransfer);
  });
  ui.stop.addEventListener('click', stopByUser);
  ui.downloadAll.addEventListener('click', downloadAll);
}

// The footer's link to the licences opens them, as does an address that ends in #licences.
function wireLicences() {
  const open = () => {
    if (location.hash === '#licences') ui.licences.open = true;
  };
  ui.licencesLink.addEventListener('click', () => {
    ui.licences.open = true;
  });
  window.addEventListener('hashchange', open);
  open();
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

// The text with each direction control in an isolate of its own that shows its code point:
// the control reorders nothing around it, and the characters (textContent) stay the same.
function showingControls(node, text) {
  if (!DIRECTION_CONTROLS.test(text)) {
    node.textContent = text;
    return node;
  }
  node.replaceChildren(...text.split(DIRECTION_CONTROLS).map((part, index) => {
    if (index % 2 === 0) return document.createTextNode(part);
    const control = element('span', 'direction-control', part);
    control.dataset.code = `U+${part.codePointAt(0).toString(16).toUpperCase().padStart(4, '0')}`;
    return control;
  }));
  return node;
}

function baseName(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

function say(text) {
  ui.announce.textContent = text;
}

// Why nothing was converted: beside the drop zone, and said.
function tell(text) {
  showingControls(ui.intakeNote, text);
  say(text);
}

wireIntake();
wireCards();
wireLicences();
startWorker().then(() => {
  ui.input.accept = [...engine.extensions].map((extension) => `.${extension}`).join(',');
  setIntakeEnabled(true);
}, showStartFailure);
