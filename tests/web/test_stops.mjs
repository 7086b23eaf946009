// The batch stops in the page where build/quillbit stops, with the same text and status: the
// headers before the stop are there, the picture after it is never reached, no companion.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

let browser;
let opened;
let cases;
let folder;

before(async () => {
  browser = await driver.launch();
  opened = await driver.openPage(browser);
  folder = driver.temporaryFolder('stops');
  cases = driver.writeCases(folder);
});

after(async () => {
  await browser.close();
  driver.removeFolder(folder);
});

// One page converts every case in turn, as a user drops one batch after another.
test('each batch stops at quillbit\'s picture with quillbit\'s text and status', async (t) => {
  assert.equal(Object.keys(cases.stops).length, 6);
  for (const [name, pictures] of Object.entries(cases.stops)) {
    await t.test(name, async () => {
      const source = driver.join(folder, 'stops', name);
      const shown = await driver.runInPage(opened.page, pictures.map((picture) => driver.join(source, picture)));
      const native = driver.runNative(source, pictures);
      assert.notEqual(native.status, 0);
      assert.equal(shown.status, native.status);
      assert.deepEqual(driver.streamsOf(shown), { stdout: native.stdout, stderr: native.stderr });
      const files = await opened.page.evaluate(() => !document.querySelector('#download-all').hidden);
      assert.equal(files, Object.keys(native.files).length > 0);
      if (files) {
        const zipped = await driver.downloadAll(opened.page);
        assert.deepEqual(Object.keys(zipped), Object.keys(native.files));
        for (const [file, bytes] of Object.entries(native.files)) assert.ok(zipped[file].equals(bytes), file);
      }
      assert.ok(!shown.cards.some((card) => card.path === 'c.png'), 'the picture after the stop is not reached');
    });
  }
  assert.deepEqual(driver.foreignRequests(opened), []);
  assert.deepEqual(opened.problems, []);
});
