// Puts quillbit.html together: the page's template with its style, icon, licences and
// scripts inlined, the worker's script (the WebAssembly module with its glue) as a string the
// page starts its worker from. The result makes no request of its own.
//
// node assemble_page.mjs --out FILE --version V --folder PAGE_SOURCES --icon SVG
//                        --fflate FFLATE_UMD_JS --module MODULE_JS --licences WHAT=FILE...
//                        --palettes FILE...
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { basename, join } from 'node:path';

function options(argv) {
  const found = { licences: [], palettes: [] };
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i].replace(/^--/, '');
    if (name === 'licences' || name === 'palettes') found[name].push(argv[i + 1]);
    else found[name] = argv[i + 1];
  }
  for (const name of ['out', 'version', 'folder', 'icon', 'fflate', 'module']) {
    if (!found[name]) throw new Error(`--${name} is missing`);
  }
  return found;
}

const read = (path) => readFileSync(path, 'utf8');

// A script inlined into the page ends at the first "</script" and changes the parser's state
// at "<!--": neither may be in it.
function inlineScript(text, what) {
  if (/<\/script|<!--/i.test(text)) throw new Error(`${what} holds "</script" or "<!--"`);
  return `<script>\n${text}\n</script>`;
}

// The worker's script as a JavaScript string: every "<" escaped, so nothing in it can end
// the script element that holds it.
function workerSource(module, glue) {
  const literal = JSON.stringify(`${module}\n${glue}`).replaceAll('<', '\\u003c');
  return `const QUILLBIT_WORKER_SOURCE = ${literal};`;
}

function escapeHtml(text) {
  return text.replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;');
}

// Each as "what=file": what the text is the licence of (its name and version), and the file
// that holds it, which stays out of the page: it names a folder of the machine that built it.
function licences(entries) {
  return entries.map((entry) => {
    const [what, file] = [entry.slice(0, entry.indexOf('=')), entry.slice(entry.indexOf('=') + 1)];
    return `<h3>${escapeHtml(what)}</h3>\n<pre>${escapeHtml(read(file))}</pre>`;
  }).join('\n');
}

// The build's palette files as links that download them from the page itself.
function paletteLinks(files) {
  return files.map((file) => {
    const data = readFileSync(file).toString('base64');
    const name = escapeHtml(basename(file));
    return `<a download="${name}" href="data:application/octet-stream;base64,${data}">${name}</a>`;
  }).join(',\n      ');
}

function replaceOnce(text, marker, value) {
  const at = text.indexOf(marker);
  if (at < 0 || text.indexOf(marker, at + 1) >= 0) throw new Error(`${marker} must be in the template once`);
  return text.slice(0, at) + value + text.slice(at + marker.length);
}

const args = options(process.argv.slice(2));
const icon = Buffer.from(read(args.icon)).toString('base64');
let page = read(join(args.folder, 'quillbit.html'));
page = replaceOnce(page, '@VERSION@', args.version);
page = replaceOnce(page, '<!-- @icon -->', `<link rel="icon" href="data:image/svg+xml;base64,${icon}">`);
page = replaceOnce(page, '/* @style */', read(join(args.folder, 'quillbit.css')));
page = replaceOnce(page, '<!-- @palettes -->', paletteLinks(args.palettes));
page = replaceOnce(page, '<!-- @licences -->', licences(args.licences));
page = replaceOnce(page, '<!-- @scripts -->', [
  inlineScript(read(args.fflate), 'fflate'),
  inlineScript(workerSource(read(args.module), read(join(args.folder, 'worker.js'))), 'the worker'),
  inlineScript(read(join(args.folder, 'page.js')), 'page.js'),
].join('\n'));
writeFileSync(`${args.out}.new`, page);
renameSync(`${args.out}.new`, args.out);
