// What the page's suites share: Debian's chromium driven by playwright-core, the page opened
// from file:// with every request outside it failed and recorded, batches run through the
// page and through build/quillbit on copies of the same pictures, and what each gave.
//
// Environment (tests/web/CMakeLists.txt sets it): QUILLBIT_PAGE, the page; QUILLBIT, the Linux
// program; CHROMIUM; PYTHON; QUILLBIT_ARTEFACTS, where screenshots are kept.
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { unzipSync } from 'fflate';
import { chromium } from 'playwright-core';

export const HERE = dirname(fileURLToPath(import.meta.url));
export const ROOT = join(HERE, '..', '..');
export const PAGE = process.env.QUILLBIT_PAGE ?? join(ROOT, 'build-web', 'quillbit.html');
export const PAGE_URL = pathToFileURL(PAGE).href;
export const QUILLBIT = process.env.QUILLBIT ?? join(ROOT, 'build', 'quillbit');
const QUILLBIT_CHECK = join(dirname(QUILLBIT), 'quillbit-check');
export const ARTEFACTS = process.env.QUILLBIT_ARTEFACTS ?? join(ROOT, 'build-web', 'test-artefacts');
const PYTHON = process.env.PYTHON ?? 'python3';

// The flags that keep chromium off the network of its own accord.
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

export async function launch() {
  return chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: CHROMIUM_FLAGS });
}

// A page of its own context, every request recorded; any but the page's own address fails.
// init, with initArgument, runs in the page before its own scripts.
export async function openPage(browser, { url = PAGE_URL, init = null, initArgument = undefined } = {}) {
  const context = await browser.newContext({ acceptDownloads: true });
  if (init) await context.addInitScript(init, initArgument);
  const requests = [];
  context.on('request', (request) => requests.push(request.url()));
  await context.route('**/*', (route) => (route.request().url() === url ? route.continue() : route.abort()));
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  return { context, page, requests, problems, url };
}

// Requests other than the page itself.
export function foreignRequests({ requests, url }) {
  return requests.filter((request) => request !== url);
}

export function temporaryFolder(prefix) {
  return mkdtempSync(join(tmpdir(), `quillbit-web-${prefix}-`));
}

// Copies pictures into a folder of their own, named as given: {name: sourcePath}.
export function copyPictures(folder, pictures) {
  mkdirSync(folder, { recursive: true });
  for (const [name, source] of Object.entries(pictures)) copyFileSync(source, join(folder, name));
  return Object.keys(pictures);
}

// Writes the variants of tests/support/variants.py and the golden pictures into folders.
export function writeCases(folder) {
  const done = spawnSync(PYTHON, [join(HERE, 'write_cases.py'), folder], { encoding: 'utf8' });
  if (done.status !== 0) throw new Error(`write_cases.py failed: ${done.stderr}`);
  return JSON.parse(done.stdout);
}

// In the order the page converts them: by the bytes of their names.
export function byteOrder(names) {
  return [...names].sort((a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b)));
}

// build/quillbit on the pictures of folder, named in byte order: its status, streams and the
// files it wrote (every file of folder that is not one of the pictures).
export function runNative(folder, names) {
  const before = new Set(readdirSync(folder));
  const done = spawnSync(QUILLBIT, byteOrder(names), { cwd: folder, encoding: 'utf8' });
  const files = {};
  for (const name of readdirSync(folder)) if (!before.has(name)) files[name] = readFileSync(join(folder, name));
  return { status: done.status, stdout: done.stdout, stderr: done.stderr, files };
}

// build/quillbit-check's reports (--json) on the pictures of folder, by path.
export function runCheck(folder, names) {
  const done = spawnSync(QUILLBIT_CHECK, ['--json', ...byteOrder(names)], { cwd: folder, encoding: 'utf8' });
  const reports = done.stdout.split('\n').filter(Boolean).map((line) => JSON.parse(line));
  return new Map(reports.map((report) => [report.path, report]));
}

// Hands the pictures to the page through its "choose pictures" button and waits for the end
// of the batch. Returns what the page shows, in the streams quillbit would have written.
export async function runInPage(page, paths) {
  const chooser = page.waitForEvent('filechooser');
  await page.click('#choose-pictures');
  await (await chooser).setFiles(paths);
  return finished(page);
}

export async function finished(page) {
  await page.waitForSelector('#summary[data-status]', { timeout: 120000 });
  // Drawings out of view are painted after the batch.
  await page.waitForFunction(() => !document.querySelector('canvas[data-unpainted]'));
  return page.evaluate(() => {
    // The levels read back from the drawing's canvas, one digit a pixel as quillbit-check's
    // JSON gives them: 0 black, 1 dark grey, 2 light grey, 3 background.
    const levelsDrawn = (canvas) => {
      if (!canvas) return null;
      const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
      const digits = { 0: '0', 0x55: '1', 0xaa: '2', 0xf4: '3' };
      let levels = '';
      for (let at = 0; at < data.length; at += 4) levels += digits[data[at]] ?? '?';
      return levels;
    };
    const cards = [...document.querySelectorAll('#pictures > li')].map((item) => ({
      path: item.dataset.path,
      information: item.querySelector('.information').textContent,
      findings: [...item.querySelectorAll('.findings li')].map((li) => li.textContent),
      counts: item.querySelector('figcaption')?.textContent ?? null,
      levels: levelsDrawn(item.querySelector('canvas')),
      header: item.querySelector('.header-text')?.textContent ?? null,
    }));
    const message = document.querySelector('#stopped .message');
    return {
      status: Number(document.querySelector('#summary').dataset.status),
      seconds: Number(document.querySelector('#summary').dataset.seconds),
      summary: document.querySelector('#summary').textContent,
      cards,
      stop: message ? { kind: Number(message.dataset.kind), text: message.textContent } : null,
    };
  });
}

// The streams quillbit writes for what the page showed: information on standard output,
// the stop on standard error.
export function streamsOf(shown) {
  const stdout = shown.cards.filter((card) => card.information).map((card) => `${card.information}\n`).join('');
  let stderr = '';
  if (shown.stop) stderr = `${shown.stop.kind === 2 ? 'quillbit: ' : ''}${shown.stop.text}\n`;
  return { stdout, stderr };
}

// Files dropped on the page as a person's drop hands them: the files come through an input
// of the test's own (the page does not listen to it), the drop is dispatched on the page.
export async function stageFiles(page, paths) {
  await page.evaluate(() => {
    if (document.getElementById('staged-files')) return;
    const input = Object.assign(document.createElement('input'), { type: 'file', multiple: true, id: 'staged-files', hidden: true });
    document.body.append(input);
  });
  await page.setInputFiles('#staged-files', paths);
}

export async function drop(page, paths) {
  await stageFiles(page, paths);
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    for (const file of document.getElementById('staged-files').files) transfer.items.add(file);
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  });
}

// "Download all": the zip's files by name.
export async function downloadAll(page) {
  const download = page.waitForEvent('download');
  await page.click('#download-all');
  const file = await (await download).path();
  return Object.fromEntries(Object.entries(unzipSync(readFileSync(file))).map(([name, bytes]) => [name, Buffer.from(bytes)]));
}

export function writeFile(path, bytes) {
  writeFileSync(path, bytes);
}

export function keepArtefact(name, bytes) {
  mkdirSync(ARTEFACTS, { recursive: true });
  writeFileSync(join(ARTEFACTS, name), bytes);
  return join(ARTEFACTS, name);
}

export function removeFolder(folder) {
  rmSync(folder, { recursive: true, force: true });
}

export { basename, join };
