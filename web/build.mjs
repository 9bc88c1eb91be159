// Builds the one-file page: node build.mjs WASM OUT. The styles, the worker,
// the page's script and the program (WebAssembly, in base64) go inside
// loan.html.in, so that the page needs nothing else, from disk or a server.
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [wasmPath, outPath] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const read = (name) => readFileSync(join(here, name), 'utf8');
const scripts = [
  `<script type="text/plain" id="worker-source">\n${read('worker.js')}</script>`,
  `<script type="application/octet-stream" id="wasm">\n${readFileSync(wasmPath).toString('base64')}\n</script>`,
  `<script>\n${read('page.js')}</script>`,
].join('\n');
const page = read('loan.html.in')
  .replace('<!-- STYLE -->', () => `<style>\n${read('page.css')}</style>`)
  .replace('<!-- SCRIPTS -->', () => scripts);
writeFileSync(outPath, page);
