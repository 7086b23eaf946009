'use strict';
// One run of a command, in the thread run.js started; its exit status goes back as the
// one message.
const { parentPort, workerData } = require('worker_threads');
const { instantiateCore } = require('./load_core.js');
const { pendingFile } = require('./pending_file.js');
const { makeSystem } = require('./system.js');

const node = makeSystem({
  args: workerData.args,
  programFolder: workerData.programFolder,
  pending: pendingFile(workerData.pending),
});
const core = instantiateCore({ node }, workerData.module);
const entry = workerData.program === 'quillbit-check' ? core._quillbit_node_check
                                                      : core._quillbit_node_quillbit;
parentPort.postMessage(entry());
