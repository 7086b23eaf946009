'use strict';
// The WebAssembly core, made ready without an await: compiled once a process from the
// package's own core.wasm, then one instance per caller, each with its own host object.
const fs = require('fs');
const path = require('path');
const makeCore = require('./core.js');

let compiled = null;

// The compiled module; a worker is handed the one its parent compiled.
function compiledCore() {
  if (!compiled) compiled = new WebAssembly.Module(fs.readFileSync(path.join(__dirname, 'core.wasm')));
  return compiled;
}

// An instance whose EM_JS calls find hosts (node, page) on it; ready on return.
function instantiateCore(hosts, module = compiledCore()) {
  const core = Object.assign({}, hosts, {
    instantiateWasm(imports, receive) {
      const instance = new WebAssembly.Instance(module, imports);
      receive(instance, module);
      return instance.exports;
    },
  });
  makeCore(core);  // compiled synchronously, so its start has run when this returns
  return core;
}

module.exports = { compiledCore, instantiateCore };
