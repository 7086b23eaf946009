// The result view after converting examples/, as it appears on screen: one card per picture
// in name order, each drawn enlarged in exactly the four levels quillbit sorted its pixels
// into. The screenshot is checked by its structure and by the drawings' pixels, and kept as
// an artefact (build-web/test-artefacts/result-view.png) for a person to look at.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { readPng } from './png.mjs';
import * as driver from './page_driver.mjs';

const EXAMPLES = ['ball.gif', 'bricks.png', 'heart.ico', 'invader.bmp', 'ship.png'];
// quillbit-check's plain drawing characters, and the colours the page draws them in.
const LEVEL_COLOURS = { '#': 0x000000, '+': 0x555555, '-': 0xaaaaaa, '.': 0xf4f1e6 };

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
    const rows = reports.get(name).drawing.split('\n');
    for (let y = 0; y < rows.length; y++) {
      for (let x = 0; x < rows[y].length; x++) {
        const middle = (at) => Math.floor(box.border + (at + 0.5) * box.zoom);
        const seen = picture.rgb(middle(x), middle(y));
        assert.equal(seen, LEVEL_COLOURS[rows[y][x]], `${name} (${x}, ${y}): ${seen.toString(16)}`);
      }
    }
  }
});
