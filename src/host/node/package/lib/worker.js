'use strict';
// One run of a command, in the thread run.js started: the compiled core comes as the one
// message, the run's exit status goes back as the one answer.
const { parentPort, workerData } = require('worker_threads');
const { instantiateCore } = require('./load_core.js');
const { pendingFile } = require('./pending_file.js');
const { makeSystem } = require('./system.js');

const node = makeSystem({
  args: workerData.args,
  programFolder: workerData.programFolder,
  pending: pendingFile(workerData.pending),
});
parentPort.once('message', (module) => {
  const core = instantiateCore({ node }, module);
  const entry = workerData.program === 'quillbit-check' ? core._quillbit_node_check
                                                        : core._quillbit_node_quillbit;
  parentPort.postMessage(entry());
  parentPort.close();
});
