// The page gives what build/quillbit gives on the same pictures, as one batch: every header
// and the companion byte for byte, the same information messages, the same status; and what
// build/quillbit-check sees in each: the same drawing, level counts and findings.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

let browser;
let cases;
let folder;

before(async () => {
  browser = await driver.launch();
  folder = driver.temporaryFolder('same-bytes');
  cases = driver.writeCases(folder);
});

after(async () => {
  await browser.close();
  driver.removeFolder(folder);
});

// Converts names of source in the page and, on a copy, with build/quillbit; compares all.
// earlier: pictures the page converts first, as a batch whose cards it then fills again.
async function assertSameAsQuillbit(source, names, earlier = []) {
  const opened = await driver.openPage(browser);
  if (earlier.length > 0) await driver.runInPage(opened.page, earlier);
  const shown = await driver.runInPage(opened.page, names.map((name) => driver.join(source, name)));
  const native = driver.runNative(source, names);
  assert.equal(shown.status, native.status, shown.summary);
  assert.deepEqual(driver.streamsOf(shown), { stdout: native.stdout, stderr: native.stderr });
  assert.deepEqual(shown.cards.map((card) => card.path), driver.byteOrder(names));
  const zipped = await driver.downloadAll(opened.page);
  assert.deepEqual(Object.keys(zipped).sort(), Object.keys(native.files).sort());
  for (const [name, bytes] of Object.entries(native.files)) {
    assert.ok(zipped[name].equals(bytes), `${name} differs from quillbit's`);
  }
  for (const card of shown.cards) {
    const header = card.path.slice(0, -3) + 'h';
    assert.equal(card.header, native.files[header].toString('utf8'), `${header} as shown`);
  }
  assertSameAsQuillbitCheck(source, names, shown);
  assert.deepEqual(driver.foreignRequests(opened), []);
  assert.deepEqual(opened.problems, []);
  await opened.context.close();
  return shown;
}

// quillbit-check's report of each picture: its levels, counts and findings.
function assertSameAsQuillbitCheck(source, names, shown) {
  const reports = driver.runCheck(source, names);
  for (const card of shown.cards) {
    const report = reports.get(card.path);
    assert.equal(card.levels, report.levels, `${card.path} drawn`);
    for (const [level, count] of Object.entries(report.counts))
      assert.ok(card.counts.includes(` ${count} ${level}`), `${card.path}: ${count} ${level} in "${card.counts}"`);
    assert.deepEqual(card.findings, report.findings, `${card.path} findings`);
  }
}

test('every variant of every format gives quillbit\'s headers in one batch', async () => {
  assert.ok(cases.variants.length > 100);
  const shown = await assertSameAsQuillbit(driver.join(folder, 'variants'), cases.variants);
  assert.equal(shown.status, 0);
});

const EXAMPLES = ['ball.gif', 'bricks.png', 'heart.ico', 'invader.bmp', 'ship.png'];

test('every golden picture gives its golden header and quillbit\'s messages, after the examples', async () => {
  const examples = EXAMPLES.map((name) => driver.join(driver.ROOT, 'examples', name));
  const shown = await assertSameAsQuillbit(driver.join(folder, 'golden'), cases.golden, examples);
  assert.equal(shown.status, 0);
  assert.ok(shown.cards.some((card) => card.path === 'my ship.bmp'), 'a name with a blank');
});

test('the odd pictures (JPEG, animated GIF, 16-bit PNG, icons) give quillbit\'s headers', async () => {
  const shown = await assertSameAsQuillbit(driver.join(folder, 'odd'), cases.odd);
  assert.equal(shown.status, 0);
  assert.ok(shown.cards.some((card) => card.path.endsWith('.jpg')));
});

test('the examples give quillbit\'s headers, drawings and findings', async () => {
  const examples = driver.join(driver.ROOT, 'examples');
  const names = EXAMPLES;
  const copy = driver.join(folder, 'examples');
  driver.copyPictures(copy, Object.fromEntries(names.map((name) => [name, driver.join(examples, name)])));
  const shown = await assertSameAsQuillbit(copy, names);
  assert.equal(shown.cards.length, names.length);
});
