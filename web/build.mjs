// Builds the one-file page: node build.mjs WASM OUT. The styles, the worker,
// the page's scripts and the program (WebAssembly, gzipped, in base64: the
// page unpacks it with the browser's own DecompressionStream) go inside
// loan.html.in, so that the page needs nothing else, from disk or a server. The Content-Security-Policy lets run only the script and the style
// that are in the file, by their SHA-256 hashes, worked out here.
//
// The page's files are ES modules, each importing by name what it takes from
// the others. The two entry points, worker.js and page.js, give the files of
// each script: every file they import, in turn, joined with its imports
// first and the import and export lines taken out. A name imported that its
// file does not export, or exported that it does not declare, stops the
// build. The build runs this again when any file in web/ changes.
import { createHash } from 'node:crypto';
import { gzipSync } from 'node:zlib';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [wasmPath, outPath] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const read = (name) => readFileSync(join(here, name), 'utf8');

// The files of the script that starts at `entry`, each after its imports.
function bundle(entry) {
  const order = [];
  const started = new Set();
  const visit = (name) => {
    if (order.includes(name)) return;
    if (started.has(name)) throw new Error(`${name} imports itself, through others`);
    started.add(name);
    const text = read(name);
    for (const n of exportsOf(name)) {
      const declared = new RegExp(`^(?:async )?(?:function|const|let|class) ${n.replace('$', '\\$')}(?![\\w$])`, 'm');
      if (!declared.test(text)) throw new Error(`${name} exports ${n}, which it does not declare`);
    }
    for (const [, names, from] of text.matchAll(/^import \{([^}]*)\} from '\.\/([\w.]+)';$/gm)) {
      visit(from);
      const offered = exportsOf(from);
      for (const n of names.split(',').map((x) => x.trim())) {
        if (!offered.includes(n)) throw new Error(`${name} imports ${n}, which ${from} does not export`);
      }
    }
    order.push(name);
  };
  visit(entry);
  const strip = (text) => text.replace(/^import \{[^}]*\} from '[^']*';\n/gm, '').replace(/^export \{[^}]*\};\n/m, '');
  return `\n'use strict';\n${order.map((name) => strip(read(name))).join('\n')}`;
}

// The names a file exports.
function exportsOf(name) {
  return (/^export \{([^}]*)\};$/m.exec(read(name)) || ['', ''])[1].split(',').map((n) => n.trim()).filter(Boolean);
}

// The worker's source (run from a blob, not by the page) and the page's own script.
const worker = bundle('worker.js');
const script = bundle('page.js');
const style = `\n${read('page.css')}`;
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;
const policy = ["default-src 'none'", `script-src ${hash(script)} 'wasm-unsafe-eval'`, 'worker-src blob:',
  `style-src ${hash(style)}`, "base-uri 'none'", "form-action 'none'"].join('; ');
const page = read('loan.html.in')
  .replace('<!-- POLICY -->', () => `<meta http-equiv="Content-Security-Policy" content="${policy}">`)
  .replace('<!-- STYLE -->', () => `<style>${style}</style>`)
  .replace('<!-- SCRIPTS -->', () => [
    `<script type="text/plain" id="worker-source">${worker}</script>`,
    `<script>${script}</script>`,
    `<script type="application/octet-stream" id="wasm">\n${gzipSync(readFileSync(wasmPath), { level: 9 }).toString('base64')}\n</script>`,
  ].join('\n'));
writeFileSync(outPath, page);
