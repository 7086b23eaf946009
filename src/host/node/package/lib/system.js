'use strict';
// What the Node host asks of the system (node_system.cpp calls these through Module.node):
// files by name through fs, the standard streams by descriptor. A failing call returns
// null or -1 and leaves the system's reason in lastError, worded as glibc words it, so
// that a report reads the same as the native program's.
const fs = require('fs');
const path = require('path');

const REASONS = {
  E2BIG: 'Argument list too long', EACCES: 'Permission denied',
  EAGAIN: 'Resource temporarily unavailable', EBADF: 'Bad file descriptor',
  EBUSY: 'Device or resource busy', EDQUOT: 'Disk quota exceeded', EEXIST: 'File exists',
  EFBIG: 'File too large', EINTR: 'Interrupted system call', EINVAL: 'Invalid argument',
  EIO: 'Input/output error', EISDIR: 'Is a directory',
  ELOOP: 'Too many levels of symbolic links', EMFILE: 'Too many open files',
  ENAMETOOLONG: 'File name too long', ENFILE: 'Too many open files in system',
  ENODEV: 'No such device', ENOENT: 'No such file or directory',
  ENOMEM: 'Cannot allocate memory', ENOSPC: 'No space left on device',
  ENOTDIR: 'Not a directory', ENOTEMPTY: 'Directory not empty',
  ENOTSUP: 'Operation not supported', ENXIO: 'No such device or address',
  EOPNOTSUPP: 'Operation not supported', EOVERFLOW: 'Value too large for defined data type',
  EPERM: 'Operation not permitted', EPIPE: 'Broken pipe', EROFS: 'Read-only file system',
  ESPIPE: 'Illegal seek', ETXTBSY: 'Text file busy', EXDEV: 'Invalid cross-device link',
};

// The reason of a system error: glibc's text for its code, else Node's own, capitalised.
function reasonOf(error) {
  if (REASONS[error.code]) return REASONS[error.code];
  const own = /^[A-Z0-9_]+: ([^,]*)/.exec(error.message);
  const text = own ? own[1] : error.message;
  return text.charAt(0).toUpperCase() + text.slice(1);
}

const NAME_LETTERS = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789';
const NAME_ATTEMPTS = 100;
const O = fs.constants;

// A name no other run picks by chance: ".quillbit-" and ten letters or digits.
function temporaryName() {
  let name = '.quillbit-';
  for (let letter = 0; letter < 10; ++letter) {
    name += NAME_LETTERS[Math.floor(Math.random() * NAME_LETTERS.length)];
  }
  return name;
}

// pending: where the temporary file of the moment is recorded for the thread that
// removes it when a signal ends the run (run.js).
function makeSystem({ args, programFolder, pending }) {
  const system = { arguments: args, programFolder, lastError: '', lastErrorMissing: false };

  function failed(error, answer) {
    system.lastError = reasonOf(error);
    system.lastErrorMissing = error.code === 'ENOENT';
    return answer;
  }

  function writeAll(descriptor, bytes) {
    for (let done = 0; done < bytes.length;) {
      try {
        done += fs.writeSync(descriptor, bytes, done, bytes.length - done);
      } catch (error) {
        if (error.code !== 'EAGAIN') throw error;  // a stream Node made non-blocking
      }
    }
  }

  // A new file in folder holding bytes, closed, its name recorded in pending; mode and
  // owner kept from kept when it is given.
  function newFile(folder, bytes, kept) {
    for (let attempt = 0; ; ++attempt) {
      const name = path.join(folder, temporaryName());
      pending.record(name);
      let descriptor;
      try {
        descriptor = fs.openSync(name, O.O_WRONLY | O.O_CREAT | O.O_EXCL, 0o666);
      } catch (error) {
        pending.clear();
        if (error.code === 'EEXIST' && attempt < NAME_ATTEMPTS) continue;
        throw error;
      }
      try {
        writeAll(descriptor, bytes);
        if (kept) keepAttributes(descriptor, kept);
      } catch (error) {
        fs.closeSync(descriptor);
        removeTemporary(name);
        throw error;
      }
      try {
        fs.closeSync(descriptor);
      } catch (error) {
        removeTemporary(name);
        throw error;
      }
      return name;
    }
  }

  function keepAttributes(descriptor, kept) {
    // Only root may give a file away, but a group the user belongs to is still kept.
    try {
      fs.fchownSync(descriptor, kept.owner, kept.group);
    } catch {
      try { fs.fchownSync(descriptor, -1, kept.group); } catch { /* the user's own then */ }
    }
    fs.fchmodSync(descriptor, kept.mode & 0o7777);
  }

  function removeTemporary(name) {
    try { fs.unlinkSync(name); } catch { /* gone already */ }
    pending.clear();
  }

  function isRegularFile(name) {
    try { return fs.statSync(name).isFile(); } catch { return false; }
  }

  Object.assign(system, {
    environment: (name) => process.env[name],
    outputIsTerminal: () => isTerminal(1),
    reason: (code) => REASONS[code],

    write(descriptor, bytes) {
      try { writeAll(descriptor, bytes); return 0; } catch (error) { return failed(error, -1); }
    },

    open(name) {
      try {
        const descriptor = fs.openSync(name, O.O_RDONLY | (O.O_NONBLOCK || 0) | (O.O_NOCTTY || 0));
        try {
          const facts = fs.fstatSync(descriptor);
          return { descriptor, size: facts.size, regular: facts.isFile(), folder: facts.isDirectory() };
        } catch (error) {
          fs.closeSync(descriptor);
          throw error;
        }
      } catch (error) {
        return failed(error, null);
      }
    },

    readAt(descriptor, offset, view) {
      try { return fs.readSync(descriptor, view, 0, view.length, offset); } catch (error) {
        return failed(error, -1);
      }
    },

    close(descriptor) {
      try { fs.closeSync(descriptor); } catch { /* read only: nothing lost */ }
    },

    // 0 nothing there, 1 a regular file, 2 a folder (or a link to one), 3 anything else.
    look(name) {
      let facts;
      try { facts = fs.lstatSync(name); } catch { return { kind: 0, mode: 0, owner: -1, group: -1 }; }
      const folder = facts.isDirectory() || (facts.isSymbolicLink() && isFolder(name));
      const kind = folder ? 2 : facts.isFile() ? 1 : 3;
      return { kind, mode: facts.mode, owner: facts.uid, group: facts.gid };
    },

    isRegularFile: (name) => isRegularFile(name),

    replaceFile(name, bytes, mode, owner, group) {
      const kept = mode >= 0 ? { mode, owner, group } : null;
      let temporary = null;
      try {
        temporary = newFile(path.dirname(name), bytes, kept);
        fs.renameSync(temporary, name);
        pending.clear();
        return 0;
      } catch (error) {
        if (temporary) removeTemporary(temporary);
        return failed(error, -1);
      }
    },

    // 1 when the file was put there or a regular one was there already.
    placeFile(name, bytes) {
      let temporary = null;
      try {
        temporary = newFile(path.dirname(name), bytes, null);
        placeUnlessTaken(temporary, name);
        removeTemporary(temporary);
        return 1;
      } catch (error) {
        if (temporary) removeTemporary(temporary);
        if (error.code === 'EEXIST' && isRegularFile(name)) return 1;  // another run's copy
        return failed(error, -1);
      }
    },
  });
  return system;
}

// Only a character device may be a terminal: for a pipe or a file, as under make, the
// tty module (a tenth of the start-up) is never loaded.
function isTerminal(descriptor) {
  try {
    return fs.fstatSync(descriptor).isCharacterDevice() && require('tty').isatty(descriptor);
  } catch {
    return false;
  }
}

function isFolder(name) {
  try { return fs.statSync(name).isDirectory(); } catch { return false; }
}

// A hard link places the whole file or nothing; where the file system has none, an
// exclusive copy still replaces nothing.
function placeUnlessTaken(temporary, name) {
  try {
    fs.linkSync(temporary, name);
  } catch (error) {
    if (!['EPERM', 'ENOTSUP', 'EOPNOTSUPP', 'EXDEV', 'ENOSYS'].includes(error.code)) throw error;
    fs.copyFileSync(temporary, name, fs.constants.COPYFILE_EXCL);
  }
}

module.exports = { makeSystem, reasonOf };
