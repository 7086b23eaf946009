// The page with the keyboard alone: every control reached with Tab in reading order, shown
// with a focus ring, worked with Enter or Space; every control and drawing labelled; what
// happens said in the live region.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import * as driver from './page_driver.mjs';

const EXAMPLES = ['ball.gif', 'bricks.png', 'heart.ico', 'invader.bmp', 'ship.png'];

let browser;

before(async () => {
  browser = await driver.launch();
});

after(async () => {
  await browser.close();
});

// What has the focus: its accessible name as a person hears it, and whether a ring shows.
async function focused(page) {
  return page.evaluate(() => {
    const element = document.activeElement;
    const style = getComputedStyle(element);
    return {
      name: element.getAttribute('aria-label') ?? element.textContent.trim(),
      ring: style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) > 0,
    };
  });
}

async function tabTo(page, name, most = 60) {
  for (let i = 0; i < most; i++) {
    await page.keyboard.press('Tab');
    const now = await focused(page);
    if (now.name === name) return now;
  }
  throw new Error(`Tab never reached "${name}"`);
}

test('a batch is chosen, converted, downloaded and copied with the keyboard alone', async () => {
  const opened = await driver.openPage(browser);
  const { page } = opened;
  // Waiting starts before the first key: playwright turns on its catching of file choosers
  // without waiting for chromium to confirm, and an Enter that comes first opens none.
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Tab');
  assert.deepEqual(await focused(page), { name: 'Choose pictures…', ring: true });

  await page.keyboard.press('Enter');
  await (await chooser).setFiles(EXAMPLES.map((name) => driver.join(driver.ROOT, 'examples', name)));
  const shown = await driver.finished(page);
  assert.equal(shown.status, 0);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'run-heading');
  assert.match(await page.textContent('#announce'), /^Converted 5 pictures in [\d.]+ s: 5 headers and Blitview\.h ready below\.$/);

  assert.equal((await tabTo(page, 'Download all (zip)')).ring, true);
  const download = page.waitForEvent('download');
  await page.keyboard.press('Enter');
  assert.equal((await download).suggestedFilename(), 'quillbit-headers.zip');

  // The cards in name order, each with its controls in reading order.
  assert.equal((await tabTo(page, 'Copy ball.h')).ring, true);
  await page.keyboard.press('Tab');
  assert.equal((await focused(page)).name, 'Download ball.h');
  await page.keyboard.press('Tab');
  assert.equal((await focused(page)).name, 'ball.h, the header');
  await tabTo(page, 'Copy bricks.h');
  await page.keyboard.press('Space');
  await page.waitForFunction(() => /bricks\.h/.test(document.querySelector('#announce').textContent));
  assert.match(await page.textContent('#announce'), /^(Copied bricks\.h to the clipboard\.|Cannot copy bricks\.h: .*)$/);
  const save = page.waitForEvent('download');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  assert.equal((await save).suggestedFilename(), 'bricks.h');
  assert.deepEqual(opened.problems, []);
  assert.deepEqual(driver.foreignRequests(opened), []);
});

test('every control, the progress and each drawing have a name', async () => {
  const opened = await driver.openPage(browser);
  await driver.runInPage(opened.page, EXAMPLES.map((name) => driver.join(driver.ROOT, 'examples', name)));
  const tree = await opened.page.locator('body').ariaSnapshot();
  for (const expected of ['button "Choose pictures…"', 'progressbar', 'button "Download all (zip)"',
    'heading "Converted pictures"', 'img "ship.png in its four levels, 16 by 16 pixels, drawn 16 times larger"',
    'button "Copy ship.h"', 'button "Download ship.h"', 'region "ship.h, the header"']) {
    assert.ok(tree.includes(expected), `${expected} in\n${tree}`);
  }
  const unnamed = await opened.page.evaluate(() => [...document.querySelectorAll('button, progress, canvas, input')]
    .filter((element) => !element.hidden && !(element.getAttribute('aria-label') || element.getAttribute('aria-labelledby')
      || element.textContent.trim()))
    .map((element) => element.outerHTML));
  assert.deepEqual(unnamed, []);
  const live = await opened.page.evaluate(() => [...document.querySelectorAll('[aria-live], [role="alert"], [role="status"]')]
    .map((element) => element.id));
  assert.deepEqual(live, ['stopped', 'announce']);
});
