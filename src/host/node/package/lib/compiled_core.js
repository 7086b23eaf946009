'use strict';
// The WebAssembly core compiled once a process, from the package's own core.wasm; a
// worker is handed the module its parent compiled. Apart from the glue (load_core.js), so
// the thread that only compiles it never loads the glue.
const fs = require('fs');
const path = require('path');

let compiled = null;

function compiledCore() {
  if (!compiled) compiled = new WebAssembly.Module(fs.readFileSync(path.join(__dirname, 'core.wasm')));
  return compiled;
}

module.exports = { compiledCore };
