// Decompression bombs (tests/hostile/make_bombs.py) in the page: each batch ends as
// build/quillbit's does, and a batch the user stops ends there, leaving the page ready for
// the next. How long the page's thread is held up is a figure of make bench
// (bench/web_batch.mjs), not a test: a loaded machine stretches every task.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { rmSync } from 'node:fs';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

// Bombs that cost build/quillbit the most: megabytes that inflate to gigabytes or hold
// millions of chunks, scans or clear codes. The first converts; the others are refused.
const BOMBS = ['png-extra-zlib-6g.png', 'gif-clear-codes-6mb.gif', 'jpeg-prog-6mb-scans.jpg'];

let browser;
let folder;

before(async () => {
  browser = await driver.launch();
  folder = driver.temporaryFolder('bombs');
  const made = spawnSync(process.env.PYTHON ?? 'python3',
    [driver.join(driver.ROOT, 'tests', 'hostile', 'make_bombs.py'), folder, ...BOMBS.map((name) => name.split('.')[0])]);
  assert.equal(made.status, 0, String(made.stderr));
  driver.copyPictures(folder, { 'a-good.png': driver.join(driver.ROOT, 'examples', 'ship.png') });
});

after(async () => {
  await browser.close();
  driver.removeFolder(folder);
});

test('each bomb ends as in quillbit', async (t) => {
  const opened = await driver.openPage(browser);
  for (const bomb of BOMBS) {
    await t.test(bomb, async () => {
      const names = ['a-good.png', bomb];
      const shown = await driver.runInPage(opened.page, names.map((name) => driver.join(folder, name)));
      const native = driver.runNative(folder, names);
      assert.equal(shown.status, native.status);
      assert.deepEqual(driver.streamsOf(shown), { stdout: native.stdout, stderr: native.stderr });
    });
  }
  assert.deepEqual(driver.foreignRequests(opened), []);
  assert.deepEqual(opened.problems, []);
});

test('stop ends a long batch at once, and the next batch converts', async () => {
  const opened = await driver.openPage(browser);
  const copies = {};
  for (let i = 0; i < 20; i++) copies[`bomb-${String(i).padStart(2, '0')}.png`] = driver.join(folder, BOMBS[0]);
  const long = driver.join(folder, 'long');
  const names = driver.copyPictures(long, copies);
  const chooser = opened.page.waitForEvent('filechooser');
  await opened.page.click('#choose-pictures');
  await (await chooser).setFiles(names.map((name) => driver.join(long, name)));
  await opened.page.waitForSelector('#pictures > li .header-text');
  await opened.page.click('#stop');
  const stopped = await driver.finished(opened.page);
  assert.equal(stopped.status, 1);
  assert.match(stopped.stop.text, /^You stopped the batch at picture \d+ of 20\.$/);
  assert.ok(stopped.cards.length < 20);

  const next = await driver.runInPage(opened.page, [driver.join(folder, 'a-good.png')]);
  assert.equal(next.status, 0);
  assert.equal(next.cards.length, 1);
  assert.deepEqual(driver.foreignRequests(opened), []);
});

test('a picture handed over and then gone is reported by its name', async () => {
  const opened = await driver.openPage(browser);
  const gone = driver.join(folder, 'gone');
  // The worker reads ahead only the first 64 MB of a drop and the rest when the batch reaches
  // it: two bombs of 60 MB come first, and keep it busy while c.png is removed.
  const names = driver.copyPictures(gone, {
    'a.png': driver.join(folder, BOMBS[0]), 'b.png': driver.join(folder, BOMBS[0]),
    'c.png': driver.join(folder, 'a-good.png'),
  });
  const chooser = opened.page.waitForEvent('filechooser');
  await opened.page.click('#choose-pictures');
  await (await chooser).setFiles(names.map((name) => driver.join(gone, name)));
  rmSync(driver.join(gone, 'c.png'));
  const shown = await driver.finished(opened.page);
  assert.equal(shown.status, 1);
  assert.match(shown.stop.text, /^cannot read picture "c\.png": Not(Found|Readable)Error: /);
  assert.deepEqual(shown.cards.map((card) => card.path), ['a.png', 'b.png', 'c.png']);
});
