// Puts the npm package's folder together for `npm pack`: the package's own sources, the
// WebAssembly core and its glue in lib/, the companion and palette files beside the
// commands, the CMake package in cmake/, and every licence of what it carries.
//
// node assemble_package.mjs --out FOLDER --version V --sources PACKAGE_SOURCES
//                           --core CORE_JS --file FILE... --cmake FILE...
//                           --licence "WHAT VERSION=FILE"...
import { chmodSync, copyFileSync, cpSync, mkdirSync, readFileSync, rmSync, writeFileSync }
  from 'node:fs';
import { basename, join } from 'node:path';

const LISTS = ['file', 'cmake', 'licence'];

function options(argv) {
  const found = Object.fromEntries(LISTS.map((name) => [name, []]));
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i].replace(/^--/, '');
    if (LISTS.includes(name)) found[name].push(argv[i + 1]);
    else found[name] = argv[i + 1];
  }
  for (const name of ['out', 'version', 'sources', 'core']) {
    if (!found[name]) throw new Error(`--${name} is missing`);
  }
  return found;
}

// The licences, each headed by what it covers and its version, as the page heads them.
function notices(licences) {
  const sections = licences.map((entry) => {
    const split = entry.indexOf('=');
    const what = entry.slice(0, split);
    const rule = '='.repeat(what.length);
    return `${what}\n${rule}\n\n${readFileSync(entry.slice(split + 1), 'utf8').trimEnd()}\n`;
  });
  return 'The quillbit package carries the programs and libraries below, each under its own\n' +
    'licence. The WebAssembly core holds the picture libraries, built from Debian\'s source\n' +
    'packages of these versions, and the C and C++ runtimes of emscripten.\n\n' +
    sections.join('\n');
}

const given = options(process.argv.slice(2));
rmSync(given.out, { recursive: true, force: true });
cpSync(given.sources, given.out, { recursive: true });
const lib = join(given.out, 'lib');
copyFileSync(given.core, join(lib, 'core.js'));
copyFileSync(given.core.replace(/\.js$/, '.wasm'), join(lib, 'core.wasm'));
chmodSync(join(lib, 'core.wasm'), 0o644);  // the linker makes it executable
for (const file of given.file) copyFileSync(file, join(given.out, basename(file)));
mkdirSync(join(given.out, 'cmake'));
for (const file of given.cmake) copyFileSync(file, join(given.out, 'cmake', basename(file)));
const [own, ...carried] = given.licence;
copyFileSync(own.slice(own.indexOf('=') + 1), join(given.out, 'LICENSE'));
writeFileSync(join(given.out, 'THIRD-PARTY-NOTICES.txt'), notices([own, ...carried]));
for (const command of ['quillbit', 'quillbit-check']) chmodSync(join(given.out, command), 0o755);

const manifest = JSON.parse(readFileSync(join(given.sources, 'package.json'), 'utf8'));
manifest.version = given.version;
writeFileSync(join(given.out, 'package.json'), `${JSON.stringify(manifest, null, 2)}\n`);
