'use strict';
// A command's process: the run goes on in a worker thread, so that this thread is free to
// take a signal at any moment. A signal that ends the process stops the worker, removes
// the temporary file it was writing, and then ends the process by that same signal.
const fs = require('fs');
const os = require('os');
const path = require('path');
const { SHARE_ENV, Worker } = require('worker_threads');
const { compiledCore } = require('./compiled_core.js');
const { pendingFile } = require('./pending_file.js');

// Those whose default ends the process and that Node lets a program catch (SIGUSR1 starts
// Node's debugger; SIGSEGV and its kin are not the program's to catch).
const ENDING_SIGNALS = ['SIGINT', 'SIGTERM', 'SIGHUP', 'SIGQUIT', 'SIGALRM', 'SIGUSR2',
  'SIGVTALRM', 'SIGPROF', 'SIGXCPU', 'SIGPOLL', 'SIGPWR', 'SIGTRAP', 'SIGSYS']
  .filter((signal) => signal in os.constants.signals);

function run(program) {
  const pending = pendingFile();
  const worker = new Worker(path.join(__dirname, 'worker.js'), {
    workerData: {
      program,
      args: process.argv.slice(2),
      programFolder: path.dirname(__dirname),
      pending: pending.buffer,
    },
    env: SHARE_ENV,
  });
  // Compiled here while the worker's thread starts, then handed over.
  worker.postMessage(compiledCore());
  const handlers = new Map();
  const release = () => handlers.forEach((handler, signal) => process.off(signal, handler));

  for (const signal of ENDING_SIGNALS) {
    const handler = () => {
      release();
      worker.terminate().finally(() => {
        removeFile(pending.name());
        process.kill(process.pid, signal);
      });
    };
    handlers.set(signal, handler);
    process.on(signal, handler);
  }
  // Caught, a file-size limit fails the write with an error instead of ending the process.
  handlers.set('SIGXFSZ', () => {});
  process.on('SIGXFSZ', handlers.get('SIGXFSZ'));

  // Everything was written synchronously: the process may end at once, without waiting
  // for the worker's thread to wind down.
  worker.on('message', (status) => process.exit(status));
  worker.on('error', (error) => {
    fs.writeSync(2, `${program}: ${error && error.message ? error.message : error}\n`);
    process.exitCode = 1;
  });
  worker.on('exit', () => {
    release();
    removeFile(pending.name());  // a run that failed inside the module may leave one
  });
}

function removeFile(name) {
  if (name === null) return;
  try { fs.unlinkSync(name); } catch { /* never made, or renamed already */ }
}

module.exports = { run };
