// The page needs nothing but itself: offline from file://, and from a static server on
// loopback, where "choose a folder" writes the headers beside the pictures and installs
// Blitview.h by quillbit's rule. The check for requests is shown to catch them first.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { dirname } from 'node:path';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

const EXAMPLES = ['ball.gif', 'bricks.png', 'heart.ico', 'invader.bmp', 'ship.png'];
const examplePaths = () => EXAMPLES.map((name) => driver.join(driver.ROOT, 'examples', name));

let browser;
let server;
let served = [];
let serverUrl;

before(async () => {
  browser = await driver.launch();
  const html = readFileSync(driver.PAGE);
  server = createServer((request, response) => {
    served.push(request.url);
    if (request.url !== '/') {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(html);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  serverUrl = `http://127.0.0.1:${server.address().port}/`;
});

after(async () => {
  await browser.close();
  server.close();
});

test('the check sees a request from the page and from a worker', async () => {
  const opened = await driver.openPage(browser);
  await opened.page.evaluate(() => fetch('http://127.0.0.1:9/from-the-page').catch(() => null));
  await opened.page.evaluate(() => new Promise((resolve) => {
    const source = "fetch('http://127.0.0.1:9/from-a-worker').catch(() => null).then(() => postMessage(0))";
    new Worker(URL.createObjectURL(new Blob([source]))).onmessage = resolve;
  }));
  assert.deepEqual(driver.foreignRequests(opened), ['http://127.0.0.1:9/from-the-page', 'http://127.0.0.1:9/from-a-worker']);
});

test('from file:// and offline, a batch needs no request but the page itself', async () => {
  const opened = await driver.openPage(browser);
  await opened.context.setOffline(true);
  const shown = await driver.runInPage(opened.page, examplePaths());
  assert.equal(shown.status, 0);
  assert.equal(Object.keys(await driver.downloadAll(opened.page)).length, EXAMPLES.length + 1);
  assert.deepEqual(opened.requests, [driver.PAGE_URL]);
  assert.deepEqual(opened.problems, []);
});

test('offline, the palette links download the palette files the build made', async () => {
  const opened = await driver.openPage(browser);
  await opened.context.setOffline(true);
  const names = [];
  for (const link of await opened.page.locator('#palettes a[download]').all()) {
    const [download] = await Promise.all([opened.page.waitForEvent('download'), link.click()]);
    const name = download.suggestedFilename();
    names.push(name);
    const made = readFileSync(driver.join(dirname(driver.PAGE), 'palettes', name));
    assert.deepEqual(readFileSync(await download.path()), made, name);
  }
  assert.deepEqual(names.sort(), ['act', 'gpl', 'hex', 'pal', 'txt'].map((e) => `quillbit-levels.${e}`));
  assert.deepEqual(opened.requests, [driver.PAGE_URL]);
});

test('from a static server the page asks it for nothing more', async () => {
  served = [];
  const opened = await driver.openPage(browser, { url: serverUrl });
  const shown = await driver.runInPage(opened.page, examplePaths());
  assert.equal(shown.status, 0);
  assert.deepEqual(served, ['/']);
  assert.deepEqual(opened.requests, [serverUrl]);
  assert.deepEqual(opened.problems, []);
});

// The origin's private file system stands in for the folder a person would pick.
async function openWithFolder(files) {
  const opened = await driver.openPage(browser, { url: serverUrl, init: (folderName) => {
    window.showDirectoryPicker = async () => (await navigator.storage.getDirectory()).getDirectoryHandle(folderName);
  }, initArgument: 'art' });
  await opened.page.evaluate(async (entries) => {
    const root = await navigator.storage.getDirectory();
    await root.removeEntry('art', { recursive: true }).catch(() => null);
    const folder = await root.getDirectoryHandle('art', { create: true });
    for (const [name, bytes] of entries) {
      const writable = await (await folder.getFileHandle(name, { create: true })).createWritable();
      await writable.write(new Uint8Array(bytes));
      await writable.close();
    }
  }, files.map(([name, bytes]) => [name, [...bytes]]));
  return opened;
}

async function folderFiles(page) {
  return page.evaluate(async () => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('art');
    const files = {};
    for await (const [name, handle] of folder.entries()) files[name] = [...new Uint8Array(await (await handle.getFile()).arrayBuffer())];
    return files;
  });
}

test('a chosen folder gets the headers beside its pictures and Blitview.h by quillbit\'s rule', async (t) => {
  const pictures = EXAMPLES.map((name) => [name, readFileSync(driver.join(driver.ROOT, 'examples', name))]);
  const notes = ['notes.txt', Buffer.from('not a picture: left alone\n')];
  const ownCompanion = ['Blitview.h', Buffer.from('// the folder\'s own companion\n')];
  for (const [label, extra] of [['without a companion', [notes]], ['with its own companion', [notes, ownCompanion]]]) {
    await t.test(label, async () => {
      const opened = await openWithFolder([...pictures, ...extra]);
      await opened.page.click('#choose-folder');
      const shown = await driver.finished(opened.page);
      const copy = driver.temporaryFolder('folder');
      driver.copyPictures(copy, Object.fromEntries(EXAMPLES.map((name) => [name, driver.join(driver.ROOT, 'examples', name)])));
      for (const [name, bytes] of extra) driver.writeFile(driver.join(copy, name), bytes);
      const native = driver.runNative(copy, EXAMPLES);
      const after = await folderFiles(opened.page);
      assert.equal(shown.status, 0);
      assert.deepEqual(shown.cards.map((card) => card.path), EXAMPLES, 'pictures only, notes.txt left out');
      const expected = { ...Object.fromEntries([...pictures, ...extra]), ...native.files };
      assert.deepEqual(Object.keys(after).sort(), Object.keys(expected).sort());
      for (const [name, bytes] of Object.entries(expected)) assert.ok(Buffer.from(after[name]).equals(bytes), name);
      assert.deepEqual(driver.foreignRequests(opened), []);
      driver.removeFolder(copy);
      await opened.context.close();
    });
  }
});
