// The browser page against quillbit's native batch on the benchmark's corpus (run.py writes
// it): the 1000 sprites handed to the page at once, as a drop hands them, and to one call of
// quillbit, in interleaved rounds on the same machine; medians. Targets: the page at most 3x
// the native batch, quillbit.html at most 3 MB.
//
// Usage: node bench/web_batch.mjs BUILD_FOLDER PAGE   (BUILD_FOLDER holds quillbit and
// bench-run/corpus; BENCH_WORK and BENCH_ROUNDS as for run.py)
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

import * as driver from '../tests/web/page_driver.mjs';

const MOST_TIMES_NATIVE = 3;
const MOST_PAGE_BYTES = 3 * 1000 * 1000;

const [build, pagePath] = process.argv.slice(2).map((path) => resolve(path));
const work = resolve(process.env.BENCH_WORK ?? join(build, 'bench-run'));
const corpus = join(work, 'corpus');
const rounds = Number(process.env.BENCH_ROUNDS ?? 5);
const names = readdirSync(corpus).filter((name) => /^s\d{4}_/.test(name)).sort();

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function freshCopy(label) {
  const folder = join(work, label);
  rmSync(folder, { recursive: true, force: true });
  mkdirSync(folder, { recursive: true });
  for (const name of names) copyFileSync(join(corpus, name), join(folder, name));
  return folder;
}

function nativeRound() {
  const folder = freshCopy('web-native');
  const started = process.hrtime.bigint();
  const done = spawnSync(join(build, 'quillbit'), names, { cwd: folder, stdio: 'ignore' });
  const seconds = Number(process.hrtime.bigint() - started) / 1e9;
  if (done.status !== 0) throw new Error(`quillbit ended with ${done.status}`);
  return seconds;
}

// The page's own time, from the pictures' arrival to the last one shown, and the time seen
// from outside, from handing the files over to the summary.
async function pageRound(page, paths) {
  await page.waitForSelector('body[data-ready="true"]');
  const started = process.hrtime.bigint();
  const chooser = page.waitForEvent('filechooser');
  await page.click('#choose-pictures');
  await (await chooser).setFiles(paths);
  const shown = await driver.finished(page);
  const outside = Number(process.hrtime.bigint() - started) / 1e9;
  if (shown.status !== 0 || shown.cards.length !== names.length) throw new Error(`the page: ${shown.summary}`);
  return { inside: shown.seconds, outside };
}

async function main() {
  if (names.length !== 1000) throw new Error(`${corpus} holds ${names.length} sprites; run.py writes 1000`);
  const browser = await driver.launch();
  const opened = await driver.openPage(browser, { url: pathToFileURL(pagePath).href });
  const paths = names.map((name) => join(corpus, name));
  await pageRound(opened.page, paths); // warm-up, as hyperfine's
  const native = [];
  const inside = [];
  const outside = [];
  for (let round = 0; round < rounds; round++) {
    native.push(nativeRound());
    const times = await pageRound(opened.page, paths);
    inside.push(times.inside);
    outside.push(times.outside);
  }
  await browser.close();
  const ratio = median(inside) / median(native);
  const bytes = statSync(pagePath).size;
  const table = [
    `### The browser page: ${names.length} sprites at once (medians of ${rounds} interleaved rounds)`, '',
    '| what | seconds |', '|---|---:|',
    `| quillbit, one call | ${median(native).toFixed(3)} |`,
    `| the page, from the drop to the last picture shown | ${median(inside).toFixed(3)} |`,
    `| the page, seen from outside (handing the files over included) | ${median(outside).toFixed(3)} |`, '',
    '| target | measured | met |', '|---|---:|---|',
    `| the page at most ${MOST_TIMES_NATIVE}x the native batch | ${ratio.toFixed(2)}x | ${ratio <= MOST_TIMES_NATIVE ? 'yes' : 'no'} |`,
    `| quillbit.html at most 3 MB | ${(bytes / 1e6).toFixed(2)} MB | ${bytes <= MOST_PAGE_BYTES ? 'yes' : 'no'} |`, '',
  ].join('\n');
  writeFileSync(join(build, 'web-bench-results.md'), table);
  console.log(table);
}

await main();
