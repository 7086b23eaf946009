// The result view after converting examples/, as it appears on screen: one card per picture
// in name order, each drawn enlarged in exactly the four levels quillbit sorted its pixels
// into. The screenshot is checked by its structure and by the drawings' pixels, and kept as
// an artefact (build-web/test-artefacts/result-view.png) for a person to look at.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { readPng } from './png.mjs';
import * as driver from './page_driver.mjs';

const EXAMPLES = ['ball.gif', 'bricks.png', 'heart.ico', 'invader.bmp', 'ship.png'];
// The colours the page draws quillbit-check's levels in (0 black ... 3 background).
const LEVEL_COLOURS = [0x000000, 0x555555, 0xaaaaaa, 0xf4f1e6];

let browser;
let opened;
let shown;

before(async () => {
  browser = await driver.launch();
  opened = await driver.openPage(browser);
  await opened.page.setViewportSize({ width: 1200, height: 900 });
  shown = await driver.runInPage(opened.page, EXAMPLES.map((name) => driver.join(driver.ROOT, 'examples', name)));
});

after(async () => {
  await browser.close();
});

test('each example has its card: information, drawing, counts, header and its buttons', async () => {
  assert.equal(shown.status, 0);
  const cards = await opened.page.$$eval('#pictures > li', (items) => items.map((item) => ({
    heading: item.querySelector('h3').textContent,
    canvases: item.querySelectorAll('canvas[role="img"]').length,
    buttons: [...item.querySelectorAll('button')].map((button) => button.textContent),
  })));
  assert.deepEqual(cards.map((card) => card.heading), EXAMPLES);
  for (const card of cards) {
    assert.equal(card.canvases, 1, card.heading);
    assert.deepEqual(card.buttons, ['Copy', 'Download'], card.heading);
  }
  for (const card of shown.cards) {
    assert.match(card.information, /^Quillbit - .+\nDimensions: \d+ by \d+\nSpriteType: (8|16|32|other)$/);
    assert.match(card.header, /^\/\/.*\r\n#define /);
  }
  // A window as tall as the page: cards out of view are not rendered (content-visibility),
  // and a full-page capture does not bring them into view.
  const viewport = opened.page.viewportSize();
  for (let round = 0; round < 2; round++) {
    const height = await opened.page.evaluate(() => document.documentElement.scrollHeight);
    await opened.page.setViewportSize({ width: viewport.width, height });
    await opened.page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  }
  const screenshot = await opened.page.screenshot({ fullPage: true });
  await opened.page.setViewportSize(viewport);
  const size = readPng(screenshot);
  assert.ok(size.width >= 1200 && size.height > 900, 'the whole page, taller than the window');
  driver.keepArtefact('result-view.png', screenshot);
});

test('on screen every drawing shows exactly its levels, each pixel enlarged', async () => {
  const reports = driver.runCheck(driver.join(driver.ROOT, 'examples'), EXAMPLES);
  for (const name of EXAMPLES) {
    const canvas = opened.page.locator(`li[data-path="${name}"] canvas`);
    await canvas.scrollIntoViewIfNeeded();
    const box = await canvas.evaluate((element) => ({
      zoom: element.clientWidth / element.width, border: element.clientLeft,
    }));
    const picture = readPng(await canvas.screenshot());
    const { width, height, levels } = reports.get(name);
    for (let y = 0; y < height; y++) {
      for (let x = 0; x < width; x++) {
        const middle = (at) => Math.floor(box.border + (at + 0.5) * box.zoom);
        const seen = picture.rgb(middle(x), middle(y));
        assert.equal(seen, LEVEL_COLOURS[levels[y * width + x]], `${name} (${x}, ${y}): ${seen.toString(16)}`);
      }
    }
  }
});

// ---- layouts and failures, each as a person meets them -----------------------------------

// A name whose right-to-left override would turn "cd.png" around, beside the examples.
const OVERRIDDEN = 'ab\u202ecd.png';
let pictures;

before(() => {
  pictures = driver.temporaryFolder('situations');
  driver.copyPictures(pictures, Object.fromEntries([...EXAMPLES, OVERRIDDEN].map((name) => [name,
    driver.join(driver.ROOT, 'examples', name === OVERRIDDEN ? 'ship.png' : name)])));
  driver.writeFile(driver.join(pictures, 'notes.txt'), 'stands for a dropped folder\n');
});

after(() => driver.removeFolder(pictures));

const inPictures = (names) => names.map((name) => driver.join(pictures, name));
const refuse = (resolve, reject) => reject(new DOMException('It could not be read.', 'NotReadableError'));
// Entries that give nothing, as in a browser that lost the drop's folder (a .txt stands for a
// folder); the dropped files themselves stay readable.
const unreadableEntries = `DataTransferItem.prototype.webkitGetAsEntry = function entry() {
  const { name } = this.getAsFile();
  const refuse = ${refuse};
  return name.endsWith('.txt') ? { isFile: false, isDirectory: true, name: 'art', createReader: () => ({ readEntries: refuse }) }
    : { isFile: true, isDirectory: false, name, file: refuse };
}`;

// The worker's first events as they come when the module trapped on a picture whose name
// holds a place of the page's reports.
const trapped = `window.Worker = class extends Worker { set onmessage(handler) {
  super.onmessage = (event) => handler(event.data.type !== 'events' ? event
    : { data: { type: 'failed', path: 'a{reason}.gif', reason: 'RuntimeError: unreachable' } }); } }`;

// Each in a page of its own, opened with init; a batch of the pictures first unless drop.
const SITUATIONS = [
  { name: 'a phone 320 px wide', viewport: { width: 320, height: 640 }, check: fits },
  { name: 'a phone 390 px wide', viewport: { width: 390, height: 844 }, check: fits, keep: 'phone-390x844.png' },
  { name: 'a clipboard that refuses', init: 'Clipboard.prototype.writeText = () => Promise.reject(new DOMException("Denied.", "NotAllowedError"))', check: copyFails },
  { name: 'no clipboard (plain http)', init: 'Object.defineProperty(Navigator.prototype, "clipboard", { get: () => undefined })', check: copyFails },
  { name: 'Ctrl+A in a header', check: selectAllInHeader },
  { name: 'a name with a right-to-left override', check: keepsOrder },
  { name: 'the licences link', check: licencesOpen },
  { name: 'a dropped file whose entry cannot be read', init: unreadableEntries, drop: EXAMPLES, check: dropFallsBack },
  { name: 'a dropped folder that cannot be read', init: unreadableEntries, drop: ['ship.png', 'notes.txt'], check: dropSaysWhy },
  { name: 'a browser that cannot write into a folder', init: "delete window.showDirectoryPicker", drop: [], check: folderToZip },
  { name: 'a module that trapped, in quillbit\'s words', init: trapped, check: trapReported },
];

for (const situation of SITUATIONS) {
  test(situation.name, async () => {
    const opened = await driver.openPage(browser, { init: situation.init ? { content: situation.init } : null });
    await opened.page.setViewportSize(situation.viewport ?? { width: 1200, height: 900 });
    let batch = null;
    if (!situation.drop) batch = await driver.runInPage(opened.page, inPictures([...EXAMPLES, OVERRIDDEN]));
    else if (situation.drop.length > 0) await driver.drop(opened.page, inPictures(situation.drop));
    await situation.check(opened.page, batch, situation);
    assert.deepEqual(opened.problems, []);
    assert.deepEqual(driver.foreignRequests(opened), []);
    await opened.context.close();
  });
}

async function trapReported(page, { status, stop }) {
  assert.deepEqual([status, stop.text], [1, 'cannot read picture "a{reason}.gif": the picture reader failed (RuntimeError: unreachable)']);
}

// No sideways scrolling of the page: cards within the window, long header lines scrolled
// inside their own box.
async function fits(page, batch, { viewport, keep }) {
  const seen = await page.evaluate(() => ({
    page: document.documentElement.scrollWidth,
    out: [...document.querySelectorAll('#pictures > li')].filter((card) => card.getBoundingClientRect().right > innerWidth).length,
    scrolled: [...document.querySelectorAll('.header-text')].filter((pre) => pre.scrollWidth > pre.clientWidth).length,
  }));
  assert.deepEqual([seen.page <= viewport.width, seen.out, seen.scrolled > 0 || viewport.width > 400], [true, 0, true], JSON.stringify(seen));
  if (keep) driver.keepArtefact(keep, await page.screenshot());
}

const headerOf = (batch, name) => batch.cards.find((card) => card.path === name).header;
const selected = (page) => page.evaluate(() => {
  const range = document.getSelection().getRangeAt(0);
  const node = range.commonAncestorContainer;
  return { text: range.toString(), inHeader: !!(node.nodeType === 1 ? node : node.parentElement).closest('.header-text') };
});

async function copyFails(page, batch) {
  const card = page.locator('li[data-path="ball.gif"]');
  await card.getByRole('button', { name: 'Copy ball.h' }).click();
  const note = card.getByText(/^Cannot copy ball\.h: /);
  await note.waitFor();
  assert.equal(await page.textContent('#announce'), await note.textContent());
  await card.getByRole('button', { name: /^Select header/ }).click();
  assert.deepEqual(await selected(page), { text: headerOf(batch, 'ball.gif'), inHeader: true });
  // Ctrl+C then: what the page's own copy handler gave the clipboard.
  await page.evaluate(() => document.addEventListener('copy', (event) => {
    window.copiedText = event.clipboardData.getData('text/plain');
  }, { once: true }));
  await page.keyboard.press('Control+C');
  assert.equal(await page.evaluate(() => window.copiedText), headerOf(batch, 'ball.gif'));
}

async function selectAllInHeader(page, batch) {
  await page.locator('li[data-path="bricks.png"] .header-text').focus();
  await page.keyboard.press('Control+A');
  assert.deepEqual(await selected(page), { text: headerOf(batch, 'bricks.png'), inHeader: true });
}

// "c" stays left of "d" after the override, in the card's heading and in its header, whose
// characters are quillbit's.
async function keepsOrder(page, batch) {
  const edges = await page.evaluate((name) => {
    const leftOf = (element, index) => {
      const walker = document.createTreeWalker(element, NodeFilter.SHOW_TEXT);
      let node = walker.nextNode();
      for (; index >= node.length; node = walker.nextNode()) index -= node.length;
      const range = document.createRange();
      range.setStart(node, index);
      range.setEnd(node, index + 1);
      return range.getBoundingClientRect().left;
    };
    return [...document.querySelectorAll(`li[data-path="${name}"] :is(h3, .header-text)`)].map((element) => {
      const at = element.textContent.indexOf('\u202ecd');
      return leftOf(element, at + 1) < leftOf(element, at + 2);
    });
  }, OVERRIDDEN);
  assert.deepEqual(edges, [true, true]);
  const folder = driver.temporaryFolder('overridden');
  driver.copyPictures(folder, { [OVERRIDDEN]: driver.join(pictures, OVERRIDDEN) });
  assert.equal(headerOf(batch, OVERRIDDEN), driver.runNative(folder, [OVERRIDDEN]).files['ab\u202ecd.h'].toString());
  driver.removeFolder(folder);
}

async function licencesOpen(page) {
  // Followed from the keyboard: a pointer's click lands where the link was a moment before,
  // and the cards above it still change height as they come into view after the batch.
  await page.focus('#licences-link');
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.querySelector('#licences').open), true);
  const headings = await page.$$eval('#licences h3', (items) => items.map((item) => item.textContent));
  assert.deepEqual(headings.map((heading) => heading.split(' ')[0]),
    ['quillbit', 'fflate', 'zlib', 'libpng1.6', 'giflib', 'libjpeg-turbo', 'tiff', 'libwebp', 'libstb', 'emscripten']);
  for (const heading of headings) assert.match(heading, /^\S+ [\w.:~+-]*\d[\w.:~+-]*$/);
}

async function dropFallsBack(page) {
  const shown = await driver.finished(page);
  const native = driver.runNative(pictures, EXAMPLES);
  assert.deepEqual([shown.status, driver.streamsOf(shown)], [native.status, { stdout: native.stdout, stderr: native.stderr }]);
  for (const card of shown.cards) assert.equal(card.header, native.files[card.path.replace(/\.\w+$/, '.h')].toString());
}

async function dropSaysWhy(page) {
  await page.waitForSelector('#intake-note:not(:empty)', { timeout: 30000 });
  assert.match(await page.textContent('#intake-note'), /could not read the folder art \(It could not be read\.\)/);
  assert.equal(await page.textContent('#announce'), await page.textContent('#intake-note'));
}

// The folder input instead, its pictures' headers in the zip.
async function folderToZip(page) {
  assert.match(await page.innerText('#folder-note'), /cannot write into a folder: .* in the zip\./s);
  const folder = driver.join(driver.temporaryFolder('folder-input'), 'art');
  driver.copyPictures(folder, Object.fromEntries(['notes.txt', ...EXAMPLES].map((name) => [name, driver.join(pictures, name)])));
  const chooser = page.waitForEvent('filechooser');
  await page.getByRole('button', { name: 'Choose a folder…' }).click();
  await (await chooser).setFiles(folder);
  assert.deepEqual((await driver.finished(page)).cards.map((card) => card.path), EXAMPLES.map((name) => `art/${name}`));
  const native = driver.runNative(folder, EXAMPLES);
  const zipped = await driver.downloadAll(page);
  assert.deepEqual(Object.keys(zipped).sort(), Object.keys(native.files).map((name) => `art/${name}`).sort());
  for (const [name, bytes] of Object.entries(native.files)) assert.ok(zipped[`art/${name}`].equals(bytes), name);
}
