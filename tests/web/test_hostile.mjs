// Decompression bombs (tests/hostile/make_bombs.py) in the page: each batch ends as
// build/quillbit's does, while the page itself never stops answering; and a batch the user
// stops ends at once, leaving the page ready for the next.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { rmSync } from 'node:fs';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

// Bombs that cost build/quillbit the most: 60 MB that inflate to gigabytes or hold millions
// of chunks, scans or clear codes. The first converts; the others are refused.
const BOMBS = ['png-extra-zlib-60g.png', 'gif-clear-codes-60mb.gif', 'jpeg-prog-60mb-scans.jpg'];
// The longest task the page's own thread may run while a bomb is decoded: the decoding
// itself takes the worker most of a second.
const LONGEST_TASK_MS = 250;

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

// The page's thread's long tasks (over 50 ms) from now on; the longest is how long it could
// not answer a person. Tasks, not gaps between timers: a busy machine delays timers, but
// does not make the page's own work longer.
async function watchTasks(page) {
  await page.evaluate(() => {
    window.longestTask = 0;
    window.taskWatch?.disconnect();
    window.taskWatch = new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.longestTask = Math.max(window.longestTask, entry.duration);
    });
    window.taskWatch.observe({ type: 'longtask' });
  });
}

async function longestTask(page) {
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 100))); // the last entries
  return page.evaluate(() => window.longestTask);
}

test('the watch sees the page\'s thread held up', async () => {
  const opened = await driver.openPage(browser);
  await watchTasks(opened.page);
  await opened.page.evaluate(() => new Promise((resolve) => setTimeout(() => {
    for (const end = performance.now() + 400; performance.now() < end;);
    resolve();
  })));
  assert.ok(await longestTask(opened.page) >= 400);
});

test('each bomb ends as in quillbit while the page keeps answering', async (t) => {
  const opened = await driver.openPage(browser);
  for (const bomb of BOMBS) {
    await t.test(bomb, async () => {
      const names = ['a-good.png', bomb];
      await watchTasks(opened.page);
      const shown = await driver.runInPage(opened.page, names.map((name) => driver.join(folder, name)));
      const longest = await longestTask(opened.page);
      const native = driver.runNative(folder, names);
      assert.equal(shown.status, native.status);
      assert.deepEqual(driver.streamsOf(shown), { stdout: native.stdout, stderr: native.stderr });
      assert.ok(longest < LONGEST_TASK_MS, `the page was held up for ${longest} ms`);
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
  const started = Date.now();
  await opened.page.click('#stop');
  const stopped = await driver.finished(opened.page);
  assert.ok(Date.now() - started < 2000, 'stopped at once');
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
