// Builds the one-file page: node build.mjs WASM OUT. The styles, the worker,
// the page's scripts and the program (WebAssembly, in base64) go inside
// loan.html.in, so that the page needs nothing else, from disk or a server.
// The Content-Security-Policy lets run only the script and the style that are
// in the file, by their SHA-256 hashes, worked out here. Takes the files of
// web/ named below and the WebAssembly the build made.
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [wasmPath, outPath] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const read = (name) => readFileSync(join(here, name), 'utf8');
const join_ = (names) => `\n'use strict';\n${names.map(read).join('\n')}`;
// The worker's source (run from a blob, not by the page) and the page's own
// script, each concern in a file of its own.
const worker = join_(['worker.js', 'reports.js']);
const script = join_(['texts.js', 'form.js', 'findings.js', 'summary.js', 'chart.js', 'tables.js', 'page.js']);
const style = `\n${read('page.css')}`;
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;
const policy = ["default-src 'none'", `script-src ${hash(script)} 'wasm-unsafe-eval'`, 'worker-src blob:',
  `style-src ${hash(style)}`, "base-uri 'none'", "form-action 'none'"].join('; ');
const page = read('loan.html.in')
  .replace('<!-- POLICY -->', () => `<meta http-equiv="Content-Security-Policy" content="${policy}">`)
  .replace('<!-- STYLE -->', () => `<style>${style}</style>`)
  .replace('<!-- SCRIPTS -->', () => [
    `<script type="text/plain" id="worker-source">${worker}</script>`,
    `<script type="application/octet-stream" id="wasm">\n${readFileSync(wasmPath).toString('base64')}\n</script>`,
    `<script>${script}</script>`,
  ].join('\n'));
writeFileSync(outPath, page);
