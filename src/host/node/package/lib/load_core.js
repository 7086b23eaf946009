'use strict';
// The WebAssembly core made ready without an await: one instance per caller, each with
// its own host objects.
const { compiledCore } = require('./compiled_core.js');
const makeCore = require('./core.js');

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

module.exports = { instantiateCore };
