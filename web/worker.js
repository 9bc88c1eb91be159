// Runs the program (WebAssembly, WASI) in a Web Worker over a file system in
// memory: cfg.txt in, debx.txt and debj.txt out, and the console's messages.
// The page posts {wasm, cfg, always}: cfg.txt's bytes (the typed loan) or a
// chosen file (a Blob, read a slice at a time as the program asks for it).
// The worker first runs `loan --check` on it and answers {check: {status,
// text, unreadable}} (read by findings.js on the page); then, where the check
// found nothing or `always` is set, it runs the program on the same cfg.txt
// and answers with the exit status, the messages and what readReports()
// (reports.js) makes of debx.txt and debj.txt, which it has read as they
// were written; while the program runs it posts its progress ({progress:
// {debx, debj: rows so far, periods: all of them, as the check counts them}}).
import { newReport, scan, readReports } from './reports.js';

// WASI's error numbers and constants used here.
const ERRNO_BADF = 8;
const ERRNO_IO = 29;
const ERRNO_NOENT = 44;
const ERRNO_NOTSUP = 58;
const OFLAGS_CREAT = 1;
const OFLAGS_TRUNC = 8;
const FILETYPE_CHARACTER_DEVICE = 2;
const FILETYPE_DIRECTORY = 3;
const FILETYPE_REGULAR_FILE = 4;
const PREOPENED_DIR = 3;

// A file that grows as it is written.
function newFile(bytes) {
  return { data: bytes || new Uint8Array(1024), size: bytes ? bytes.length : 0 };
}

// cfg.txt as the program finds it: the typed loan's bytes, or a chosen file
// (a Blob) of which each read takes only the slice asked for, so that the
// program alone decides how much of it it reads. `failed` records a read the
// browser refused (a folder, a file moved away).
function cfgFile(cfg) {
  if (cfg instanceof Uint8Array) return newFile(cfg);
  return { blob: cfg, size: cfg.size, failed: false };
}

// Up to `len` bytes of `file` from `at`.
function readAt(file, at, len) {
  if (!file.blob) return file.data.subarray(at, Math.min(at + len, file.size));
  return new Uint8Array(new FileReaderSync().readAsArrayBuffer(file.blob.slice(at, at + len)));
}

// Writes `bytes` into `file` at `at`, growing it as needed.
function append(file, bytes, at) {
  const end = at + bytes.length;
  if (end > file.data.length) {
    const grown = new Uint8Array(Math.max(end, file.data.length * 2));
    grown.set(file.data.subarray(0, file.size));
    file.data = grown;
  }
  file.data.set(bytes, at);
  file.size = Math.max(file.size, end);
}

class Exit {
  constructor(code) { this.code = code; }
}

// How often, in milliseconds, a long run says how far it has come.
const PROGRESS_EVERY = 100;

// Runs the module with the command line `args` (its name first) on `cfg`
// (Uint8Array or Blob, or null for no cfg.txt); `progress` hears of each
// report's rows so far, now and then.
function runProgram(module, cfg, args, progress = () => {}) {
  const files = new Map();
  if (cfg) files.set('cfg.txt', cfgFile(cfg));
  const argv = args.map((a) => new TextEncoder().encode(a + '\0'));
  const console = newFile();
  const open = new Map(); // descriptor -> {name, file, position}
  let nextFd = PREOPENED_DIR + 1;
  let memory;
  const view = () => new DataView(memory.buffer);
  const bytes = (ptr, len) => new Uint8Array(memory.buffer, ptr, len);
  // The bytes of a list of (pointer, length) pairs, each in turn.
  const eachPart = (iovs, count, use) => {
    const v = view();
    let total = 0;
    for (let i = 0; i < count; i++) {
      const length = v.getUint32(iovs + 8 * i + 4, true);
      use(bytes(v.getUint32(iovs + 8 * i, true), length));
      total += length;
    }
    return total;
  };
  let told = performance.now();
  const rowsSoFar = () => {
    const [x, j] = ['debx.txt', 'debj.txt'].map((name) => files.get(name) && files.get(name).report);
    return { debx: x ? x.rows : 0, debj: j ? j.rows : 0 };
  };
  const wasi = {
    // The command line, each argument ending in a NUL.
    args_sizes_get(count, size) {
      view().setUint32(count, argv.length, true);
      view().setUint32(size, argv.reduce((n, a) => n + a.length, 0), true);
      return 0;
    },
    args_get(pointers, buffer) {
      argv.forEach((a, i) => {
        view().setUint32(pointers + 4 * i, buffer, true);
        bytes(buffer, a.length).set(a);
        buffer += a.length;
      });
      return 0;
    },
    fd_write(fd, iovs, count, written) {
      let total;
      if (fd === 2) {
        // Standard error: the findings, which a run tells again before the
        // schedules; the page shows them from the check.
        total = eachPart(iovs, count, () => {});
      } else if (fd === 1) {
        // The program writes the echo and each message in a write of its own,
        // each starting with a lower-case letter, and copies the reports in
        // blocks of whole lines that start with a digit or a GBK title byte:
        // only the echo and the messages are kept, the copies never gathered.
        let keep = null; // from the first byte written
        total = eachPart(iovs, count, (part) => {
          if (keep === null && part.length > 0) keep = part[0] >= 0x61 && part[0] <= 0x7A;
          if (keep) append(console, part, console.size);
        });
      } else if (open.has(fd)) {
        const o = open.get(fd);
        total = eachPart(iovs, count, (part) => { append(o.file, part, o.position); o.position += part.length; });
        if (o.file.report) scan(o.file.report, o.file.data, o.file.size);
        if (performance.now() - told > PROGRESS_EVERY) {
          told = performance.now();
          progress(rowsSoFar());
        }
      } else {
        return ERRNO_BADF;
      }
      view().setUint32(written, total, true);
      return 0;
    },
    fd_read(fd, iovs, count, read) {
      const o = open.get(fd);
      const v = view();
      let total = 0;
      for (let i = 0; o && i < count; i++) {
        const len = v.getUint32(iovs + 8 * i + 4, true);
        let chunk;
        try {
          chunk = readAt(o.file, o.position, len);
        } catch (e) {
          o.file.failed = true;
          return ERRNO_IO;
        }
        bytes(v.getUint32(iovs + 8 * i, true), chunk.length).set(chunk);
        o.position += chunk.length;
        total += chunk.length;
        if (chunk.length < len) break; // the end of the file: as readv(), no byte in a later buffer
      }
      v.setUint32(read, total, true);
      return 0;
    },
    fd_seek(fd, offset, whence, result) {
      const o = open.get(fd);
      if (!o) return ERRNO_BADF;
      const base = [0, o.position, o.file.size][whence];
      o.position = base + Number(offset);
      view().setBigUint64(result, BigInt(o.position), true);
      return 0;
    },
    fd_close(fd) {
      return open.delete(fd) ? 0 : ERRNO_BADF;
    },
    fd_fdstat_get(fd, stat) {
      const v = view();
      const type = fd <= 2 ? FILETYPE_CHARACTER_DEVICE
        : fd === PREOPENED_DIR ? FILETYPE_DIRECTORY : FILETYPE_REGULAR_FILE;
      if (fd > PREOPENED_DIR && !open.has(fd)) return ERRNO_BADF;
      v.setUint8(stat, type);
      v.setUint16(stat + 2, 0, true);
      v.setBigUint64(stat + 8, 0xFFFFFFFFFFFFFFFFn, true);
      v.setBigUint64(stat + 16, 0xFFFFFFFFFFFFFFFFn, true);
      return 0;
    },
    fd_fdstat_set_flags() {
      return 0;
    },
    fd_prestat_get(fd, prestat) {
      if (fd !== PREOPENED_DIR) return ERRNO_BADF;
      view().setUint8(prestat, 0);
      view().setUint32(prestat + 4, 1, true);
      return 0;
    },
    fd_prestat_dir_name(fd, path, len) {
      if (fd !== PREOPENED_DIR) return ERRNO_BADF;
      bytes(path, 1)[0] = 0x2E; // "."
      return 0;
    },
    path_open(dirfd, dirflags, path, pathLen, oflags, rightsBase, rightsInheriting, fdflags, fd) {
      const name = new TextDecoder().decode(bytes(path, pathLen)).replace(/^\.\//, '');
      if (dirfd !== PREOPENED_DIR) return ERRNO_BADF;
      if (!files.has(name)) {
        if (!(oflags & OFLAGS_CREAT)) return ERRNO_NOENT;
        files.set(name, newFile());
      }
      const file = files.get(name);
      if (oflags & OFLAGS_TRUNC) file.size = 0;
      // A report is read as it is written, from its first byte.
      if (name === 'debx.txt' || name === 'debj.txt') file.report = file.size === 0 ? newReport() : null;
      open.set(nextFd, { name, file, position: 0 });
      view().setUint32(fd, nextFd++, true);
      return 0;
    },
    proc_exit(code) {
      throw new Exit(code);
    },
  };
  const unsupported = new Proxy(wasi, {
    get: (target, name) => target[name] || (() => ERRNO_NOTSUP),
  });
  const instance = new WebAssembly.Instance(module, { wasi_snapshot_preview1: unsupported });
  memory = instance.exports.memory;
  let status = 0;
  try {
    instance.exports._start();
  } catch (e) {
    if (!(e instanceof Exit)) throw e;
    status = e.code;
  }
  const output = (name) => files.get(name) || null;
  return {
    status,
    unreadable: Boolean(cfg && files.get('cfg.txt').failed),
    messages: console.data.slice(0, console.size).buffer,
    debx: output('debx.txt'),
    debj: output('debj.txt'),
  };
}

// The program is compiled once per worker; each run answers with the files,
// what the page shows of the reports (their line index, the comparison, the
// sums by year and the chart's points, worked out here so that the page
// never waits on a million rows). A message without `cfg` only compiles the
// program, ahead of a run. A trap or any other failure is left uncaught: the
// page hears of it as the worker's error event.
let compiled = null;
self.onmessage = (event) => {
  if (!compiled) compiled = new WebAssembly.Module(event.data.wasm);
  if (!('cfg' in event.data)) return;
  const { cfg, always } = event.data;
  const checked = runProgram(compiled, cfg, ['loan', '--check']);
  const check = { status: checked.status, text: new TextDecoder('latin1').decode(checked.messages), unreadable: checked.unreadable };
  self.postMessage({ check });
  if (check.unreadable || (check.status !== 0 && !always)) return;
  // All the periods, as the check counts them ("term: 30 years, 360 periods").
  const periods = Number((/^term: -?\d+ years, (\d+) periods/m.exec(check.text) || [0, 0])[1]);
  const result = runProgram(compiled, cfg, ['loan'], (rows) => self.postMessage({ progress: { ...rows, periods } }));
  const report = (file) => (file && file.report ? file : null);
  const [x, j] = [report(result.debx), report(result.debj)];
  const answer = { status: result.status, messages: result.messages,
    ...readReports(x && x.report, j && j.report, x, j) };
  const transfer = [result.messages];
  for (const name of ['debx', 'debj']) {
    const r = answer[name];
    if (r) transfer.push(r.bytes.buffer, r.starts.buffer, r.years.buffer);
  }
  self.postMessage(answer, transfer);
};
