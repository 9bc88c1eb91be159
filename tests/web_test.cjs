// The web page in headless Chromium against the native program: the reports
// it saves, the summary and the comparison, the findings it shows against the
// native `loan --check` for every cfg.txt it runs (typed, as the form writes
// it, or chosen), files of any size or none, a worker that traps, a run of
// 1,200,000 periods (no long task, its last row reachable at any pixel
// density), the chart's labels, both languages, axe-core's WCAG 2.1 AA rules,
// the page's policy and size, no request leaving the page and no script error.
//   node web_test.cjs LOAN_HTML LOAN_EXE COMPARE_SCRIPT
'use strict';
const { chromium } = require('playwright-core');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');

const [html, loanExe, compareScript] = process.argv.slice(2).map((p) => path.resolve(p));
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
// The files this run hands the page, in a folder of its own: runs side by side never share one.
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'loan-web-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));
let failures = 0;
let checks = 0;
function check(ok, what) {
  checks++;
  if (!ok) {
    failures++;
    console.log('FAILED: ' + what);
  }
}
const grouped = (text) => text.replace(/\d(?=(\d{3})+(\.|$))/g, '$&,');

// The native program's reports, the comparison and what `loan --check` prints, for a cfg.txt.
// `size` makes cfg.txt that long, the rest of it zeros.
function native(cfg, size = 0) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'loan-web-'));
  fs.writeFileSync(path.join(dir, 'cfg.txt'), cfg);
  if (size) fs.truncateSync(path.join(dir, 'cfg.txt'), size);
  try { execFileSync(loanExe, { cwd: dir, stdio: 'ignore' }); } catch (e) { /* status 1 */ }
  const check = spawnSync(loanExe, ['--check'], { cwd: dir }).stdout.toString('latin1');
  const read = (f) => (fs.existsSync(path.join(dir, f)) ? fs.readFileSync(path.join(dir, f)) : null);
  // What tools/compare.sh prints: its lines, or its message (the folder's name taken out).
  const compared = spawnSync(compareScript, [dir], { encoding: 'utf8' });
  const comparison = compared.status === 0 ? compared.stdout : compared.stderr.replaceAll(`${dir}/`, '').replace(` in ${dir}:`, ':');
  const result = { debx: read('debx.txt'), debj: read('debj.txt'), comparison, check };
  fs.rmSync(dir, { recursive: true });
  return result;
}

// The seconds the WebAssembly program itself takes for a cfg.txt under
// node's WASI, compiled beforehand, its console thrown away.
function wasmSeconds(cfg) {
  const { WASI } = require('node:wasi');
  const dir = fs.mkdtempSync(path.join(scratch, 'wasm-'));
  fs.writeFileSync(path.join(dir, 'cfg.txt'), cfg);
  const module = new WebAssembly.Module(zlib.gunzipSync(Buffer.from(/id="wasm">\n([^\n]*)/.exec(fs.readFileSync(html, 'latin1'))[1], 'base64')));
  const wasi = new WASI({ version: 'preview1', args: ['loan'], preopens: { '.': dir }, stdout: fs.openSync('/dev/null', 'w'), returnOnExit: true });
  const started = performance.now();
  wasi.start(new WebAssembly.Instance(module, wasi.getImportObject()));
  return (performance.now() - started) / 1000;
}

async function saved(page, name) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(`a.save[data-file=${name}]`)]);
  return fs.readFileSync(await download.path());
}

const finished = '#status[data-state=done], #status[data-state=failed]';

async function runFile(page, cfg, size = 0) {
  const file = path.join(scratch, 'cfg.txt');
  fs.writeFileSync(file, cfg);
  if (size) fs.truncateSync(file, size);
  await page.evaluate(() => { document.querySelector('#status').dataset.state = ''; });
  await page.setInputFiles('#cfg-file', file);
  await page.waitForSelector(finished, { timeout: 60000 });
}

// Seconds from the Enter of a typed loan to its figures, as the page's clock has them.
async function timedRun(page, sum, year, rate) {
  await page.evaluate(() => {
    addEventListener('keydown', () => { window.entered = performance.now(); }, { capture: true, once: true });
    new MutationObserver((changes, observer) => {
      if (document.querySelector('#status').dataset.state === 'done') [window.figures, observer] = [performance.now(), observer.disconnect()];
    }).observe(document.querySelector('#status'), { attributes: true });
  });
  await runTyped(page, sum, year, rate);
  await page.waitForSelector(finished, { timeout: 120000 });
  return page.evaluate(() => (window.figures - window.entered) / 1000);
}

async function runTyped(page, sum, year, rate, unit = 'yuan') {
  await page.evaluate(() => { document.querySelector('#status').dataset.state = ''; });
  await page.selectOption('select[name=unit]', unit);
  await page.fill('input[name=sum]', sum);
  await page.fill('input[name=year]', year);
  await page.fill('input[name=rate]', rate);
  await page.press('input[name=rate]', 'Enter');
}

// The saved reports as the program writes them; the comparison as
// tools/compare.sh prints it, and its figures in the summary.
async function sameAsNative(page, cfg, name, size = 0) {
  const expected = native(cfg, size);
  for (const report of ['debx', 'debj']) {
    check(Buffer.compare(await saved(page, report), expected[report]) === 0, `${name}: ${report}.txt as the program writes it`);
  }
  const shown = await page.textContent('#comparison');
  check(shown === expected.comparison, `${name}: the comparison as tools/compare.sh prints it:\n${shown}\n${expected.comparison}`);
  const summary = await page.textContent('#results');
  check(await page.$$eval('.plan dl', (lists) => lists.every((l) => [...l.children].every((e, i) => e.tagName === (i % 2 ? 'DD' : 'DT')))),
    `${name}: each figure beside its name`);
  // Each year the sums of its months' printed amounts, to the cent; "—" from
  // where an amount is not one or a sum passes 2^53 cents.
  const years = await page.$eval('#years .rows', (rows) => Array.from({ length: rows.table.count }, (_, i) => rows.table.cells(i)));
  const months = ['debx', 'debj'].map((n) => printedRows(expected[n]));
  const sum = (texts) => texts.reduce((total, t) => (total === null || !/^-?\d{1,13}\.\d\d$/.test(t) ||
    (total + BigInt(t.replace('.', ''))) ** 2n >= 2n ** 106n ? null : total + BigInt(t.replace('.', ''))), 0n);
  const money = (cents) => (cents === null ? '—' : `${cents < 0n ? '-' : ''}${(cents < 0n ? -cents : cents) / 100n}.${String((cents < 0n ? -cents : cents) % 100n).padStart(2, '0')}`);
  check(years.length === Math.ceil(months[0].length / 12) && years.every((cells, y) => months.every((rows, p) => [1, 2, 3].every((k) =>
    cells[3 * p + k] === money(sum(rows.slice(12 * y, 12 * y + 12).map((r) => r[k])))))), `${name}: the years, each the sum of its months: ${years[0]}`);
  for (const figure of (expected.comparison.startsWith('compare:') ? '' : expected.comparison).match(/-?\d+\.\d\d|(?<=period )\d+/g) || []) {
    check(summary.includes(grouped(figure)), `${name}: ${grouped(figure)} in the summary`);
  }
  return expected;
}

// The findings on the page are the native `loan --check`'s for the same
// cfg.txt (`n`, from native()), in order, each a sentence of its own with the
// numbers the program printed in bold, in both languages.
async function findingsAsNative(page, n, what) {
  const expected = [...n.check.matchAll(/^loan: .* \[([a-z0-9-]+)[^\]]*\]\r$/gm)].map((m) => m[1]);
  const printed = new Set(n.check.match(/-?\d+(\.\d+)?/g));
  for (const language of ['', 'other']) {
    if (language) await page.click('#language');
    const shown = await page.$$eval('#warnings li', (items) => items.map((li) => ({
      code: li.dataset.code, text: li.textContent, strong: li.querySelector('strong').textContent })));
    check(shown.map((f) => f.code).join() === expected.join() && await page.$eval('#warnings', (w) => w.hidden) === (expected.length === 0) &&
      !(await page.textContent('#messages')).includes('loan: cfg.txt') && // told once, not again as the program's messages
      shown.every((f) => !/undefined|null|NaN|\$\{/.test(f.text) && f.strong !== '' && (f.strong.replace(/,/g, '').match(/-?\d+(\.\d+)?/g) || []).every((x) => printed.has(x))),
    `${what}${language && ', in the other language'}: the findings ${JSON.stringify(shown)}, yet loan --check says\n${n.check}`);
  }
  await page.click('#language');
}

// axe-core's WCAG 2.1 A and AA rules: no violation.
async function accessible(page, when) {
  await page.evaluate(axeSource);
  const found = await page.evaluate(() => axe.run(document, { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] }));
  check(found.violations.length === 0, `${when}: ${found.violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target).join(', ')})`).join('; ')}`);
}

// The chart's labels inside it and apart from each other.
async function chartReadable(page, when) {
  const layout = await page.$eval('#chart', (c) => c.layout);
  const boxes = layout.labels;
  check(boxes.every((b) => b.x >= 0 && b.y >= 0 && b.x + b.w <= layout.width && b.y + b.h <= layout.height), `${when}: a chart label clipped`);
  check(boxes.every((a, i) => boxes.slice(i + 1).every((b) => a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y)),
    `${when}: chart labels overlap: ${JSON.stringify(boxes)}`);
  // No payment line (in either plan's colour) through the crossover's label.
  const crossed = await page.$eval('#chart', (c) => c.layout.labels.filter((l) => /from month|pays less/.test(l.text)).some((l) => {
    const ratio = c.width / c.layout.width;
    const { data } = c.getContext('2d').getImageData(l.x * ratio, l.y * ratio, l.w * ratio, l.h * ratio);
    return data.some((v, i) => i % 4 === 0 && [[43, 95, 173], [181, 64, 15]].some((rgb) => rgb.every((w, k) => Math.abs(data[i + k] - w) < 40)));
  }));
  check(!crossed, `${when}: a payment line through the crossover's label`);
}

// Scrolled to its end, a table shows its last row, whole, and the totals.
async function lastRowShown(page, when) {
  await page.$eval('#report-debj .rows', (rows) => { rows.scrollTop = rows.scrollHeight; rows.dispatchEvent(new Event('scroll')); });
  const last = await page.$eval('#report-debj .rows', (rows) => {
    const row = rows.lastElementChild;
    const [r, b] = [row.getBoundingClientRect(), rows.getBoundingClientRect()];
    return r.bottom <= b.bottom + 1 && r.top >= b.top ? `${row.textContent} ${row.getAttribute('aria-rowindex')}` : 'out of view';
  });
  check(last.startsWith('1200000') && last.endsWith(' 1200001') && (await page.textContent('#report-debj .totals')).startsWith('全部还款'),
    `the last of 1,200,000 rows and the totals ${when}: ${last}`);
}

// A report's rows as printed (period and three amounts, spaces trimmed) and
// its totals line's three amounts.
const printedRows = (report) => report.toString('latin1').split('\r\n').slice(2, -2)
  .map((line) => /^(\S+) : *(\S+) ->\[ *(\S+)\] \[ *(\S+)\]$/.exec(line).slice(1));
const printedTotals = (report) => /: (\S+), .*: (\S+), .*: (\S+)$/.exec(report.toString('latin1').split('\r\n').at(-2)).slice(1);

// The CSV a plan saves: a byte-order mark, the page's column headers, every
// row's amounts and the totals exactly as the report prints them, CR LF.
async function csvAsReport(page, name, report) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(`button.csv[data-file=${name}]`)]);
  const lines = fs.readFileSync(await download.path(), 'utf8').split('\r\n');
  const head = await page.$$eval('#report-debx .row.head span', (cells) => cells.map((c) => c.textContent).join(','));
  const expected = [`\ufeff${head}`, ...printedRows(report).map((r) => r.join(',')), `Total,${printedTotals(report).join(',')}`, ''];
  check(lines.length === expected.length && lines.every((line, i) => line === expected[i]),
    `${name}: the CSV holds the report's amounts: ${lines.slice(0, 3).join(' | ')} … ${lines.slice(-3).join(' | ')}`);
}

// The text of a PDF that Chromium printed: each text operation's glyphs
// through its font's ToUnicode map, the operations apart by a space.
function pdfText(pdf) {
  const raw = pdf.toString('latin1');
  const objects = new Map();
  for (const m of raw.matchAll(/(\d+) 0 obj\s*(<<[\s\S]*?>>)\s*(stream\r?\n)?/g)) {
    const [, n, dict, stream] = m;
    const length = /\/Length (\d+)/.exec(dict);
    let data = '';
    if (stream && length && /FlateDecode/.test(dict)) {
      const from = m.index + m[0].length;
      try { data = zlib.inflateSync(pdf.subarray(from, from + Number(length[1]))).toString('latin1'); } catch (e) { /* not text */ }
    }
    objects.set(n, { dict, data });
  }
  const hex = (h) => Buffer.from(h, 'hex').swap16().toString('utf16le');
  const maps = new Map(); // font name -> glyph (hex) -> text
  for (const [, fonts] of raw.matchAll(/\/Font <<([^>]*)>>/g)) {
    for (const [, name, font] of fonts.matchAll(/\/(\w+) (\d+) 0 R/g)) {
      const map = new Map();
      const cmap = objects.get((/\/ToUnicode (\d+) 0 R/.exec(objects.get(font).dict) || [])[1]);
      for (const [, g, u] of (cmap ? cmap.data : '').matchAll(/^<(\w+)> <(\w+)>$/gm)) map.set(g.toLowerCase(), hex(u));
      for (const [, a, b, u] of (cmap ? cmap.data : '').matchAll(/^<(\w+)> <(\w+)> <(\w+)>$/gm)) {
        for (let g = parseInt(a, 16); g <= parseInt(b, 16); g++) map.set(g.toString(16).padStart(a.length, '0'), String.fromCodePoint(parseInt(u, 16) + g - parseInt(a, 16)));
      }
      maps.set(name, map);
    }
  }
  let font = null;
  const parts = [];
  for (const { data } of objects.values()) {
    for (const [, name, shown] of data.matchAll(/\/(\w+) [\d.]+ Tf|(\[[^\]]*\] ?TJ|<[0-9A-Fa-f]*> ?Tj)/g)) {
      if (name) font = maps.get(name);
      else parts.push([...shown.matchAll(/<([0-9A-Fa-f]*)>/g)].map(([, h]) => h.toLowerCase().match(/.{4}/g) || [])
        .flat().map((g) => (font && font.get(g)) || '').join(''));
    }
  }
  return parts.join(' ');
}

const launch = (options = []) => chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', ...options],
});

(async () => {
  const browser = await launch();
  let pageUrl = 'file://' + path.resolve(html);
  // A page of its own for each case: Chromium holds back downloads that come
  // too many at a time from one page.
  let context = null;
  const freshPage = async (viewport = { width: 1280, height: 900 }, locale = 'en-US') => {
    if (context) await context.close();
    context = await browser.newContext({ acceptDownloads: true, viewport, locale });
    const page = await context.newPage();
    page.on('pageerror', (e) => check(false, 'script error: ' + e.message));
    page.on('request', (r) => check(r.url() === pageUrl || /^(blob|data):/.test(r.url()), 'a request leaves the page: ' + r.url()));
    await page.goto(pageUrl);
    return page;
  };
  let page = null;

  // One file, under 400 KB, whose policy runs only its own script.
  const text = fs.readFileSync(html, 'utf8');
  const policy = /Content-Security-Policy" content="([^"]*)"/.exec(text)[1];
  check(fs.statSync(html).size < 300 * 1024 && !/'unsafe-(eval|inline)'/.test(policy), `size ${fs.statSync(html).size}, policy ${policy}`);

  const cfgs = [
    ['equal installments at 12 %', '120\n1\n0.12\n'],
    ['equal principal at 7 %, half cents', '120\n1\n0.07\n'],
    ['100000 over 20 years at 4.9 %', '100000\n20\n0.049\n'],
    ['a principal above 2^24', '30000001\n10\n0.05\n'],
    ['an exact tie', '300000\n25\n0.0515\n'],
    ['more than 999 periods', '300000\n100\n0.0515\n'],
    ['a power whose last bit decides a cent', '1276956\n24\n0.0229\n'],
    ['zero term', '120\n0\n0.12\n'],
    ['a byte-order mark', '\xEF\xBB\xBF120\n1\n0.12\n'],
    ['CR LF line ends', '120\r\n1\r\n0.12\r\n'],
    ['no line end after the rate', '120\n1\n0.12'],
    ['absurd rate', '120\n1\n1e39\n'],
    ['payments of 13 digits, totals of 14', '2147483647\n1\n40000\n'],
    ['a payment of 14 digits', '2147483647\n1\n56000\n'],
    ['a year of payments past 2^53 cents', '2147483647\n1\n45000\n'],
    ['a rate cut at 127 bytes', `120\n1\n${' '.repeat(118)}0.12\n`],
    ['a decimal comma', '120\n1\n0,12\n'],
    ['the values on one line', '120 1 0.12\n'],
    ['UTF-16', '\xFF\xFE1\x002\x000\x00\n\x001\x00\n\x00'],
    ['an empty file', ''],
    ['Ctrl-Z after the rate', '120\n1\n0.12\n\x1A9'],
    ['a lone CR, a NUL', '120\r1\n0.12\x00\n'],
  ];
  for (const [name, cfg] of cfgs) {
    page = await freshPage();
    await runFile(page, Buffer.from(cfg, 'latin1'));
    await findingsAsNative(page, await sameAsNative(page, Buffer.from(cfg, 'latin1'), name), `a file with ${name}`);
  }
  // A chosen file's fix where the program names one runs it, the form
  // holding what else the file gave.
  for (const [cfg, fixed] of [['\xEF\xBB\xBF120\n1\n0.12\n', '120\n1\n0.12\n'], ['120\n1\n4.9\n', '120\n1\n0.049\n'], ['120\n1\n4,9\n', '120\n1\n0.049\n']]) {
    await runFile(page, Buffer.from(cfg, 'latin1'));
    await page.evaluate(() => { document.querySelector('#status').dataset.state = ''; });
    await page.click('#warnings li button');
    await page.waitForSelector(finished);
    await findingsAsNative(page, await sameAsNative(page, fixed, `the fix for ${JSON.stringify(cfg)}`), `the fix for ${JSON.stringify(cfg)}`);
  }

  // A file's rate as a fraction: run at once, warned, the form showing what was read.
  page = await freshPage();
  await runFile(page, '120\n1\n4.9\n');
  await findingsAsNative(page, await sameAsNative(page, '120\n1\n4.9\n', 'a file with 4.9 as the rate'), 'a file with 4.9 as the rate');
  check(await page.inputValue('input[name=rate]') === '490', 'a file with 4.9 as the rate: shown as 490 %');
  // A file of 3 GB runs at once as the program would; one that cannot be read says so.
  const asked = Date.now();
  await runFile(page, '120\n1\n0.12\n', 3 * 2 ** 30);
  check(Date.now() - asked < 5000, 'a file of 3 GB at once');
  await sameAsNative(page, '120\n1\n0.12\n', 'a file of 3 GB', 3 * 2 ** 30);
  // A file changed on disk after the browser took it, which it then refuses
  // to read: said, and nothing run.
  await page.evaluate(() => document.body.append(Object.assign(document.createElement('input'), { type: 'file', id: 'other-file' })));
  await page.setInputFiles('#other-file', path.join(scratch, 'cfg.txt'));
  fs.writeFileSync(path.join(scratch, 'cfg.txt'), '120\n1\n0.13\n');
  // The browser knows the change by the modification time alone, which a
  // write within the same clock tick may leave as it was: set it apart.
  fs.utimesSync(path.join(scratch, 'cfg.txt'), 1, 1);
  await page.evaluate(() => {
    const files = document.querySelector('#other-file').files;
    document.dispatchEvent(Object.assign(new Event('drop'), { dataTransfer: { files } }));
  });
  await page.waitForSelector('#status[data-state=failed]');
  check((await page.textContent('#status')).includes('cfg.txt') && await page.$eval('#results', (r) => r.hidden), 'an unreadable file: said, and the results gone');

  // Typed loans, in Chinese: the cfg.txt the form writes (shown, with its
  // notes), the program's findings on it, and nothing run until asked where
  // there are some; no long task for a field of 100,000 characters.
  page = await freshPage(undefined, 'zh-CN');
  check(await page.$$eval('select[name=unit] option', (o) => o.map((e) => e.value).join()) === 'wan,yuan', '万元 first in Chinese');
  await page.evaluate(() => {
    window.longTasks = [];
    new PerformanceObserver((list) => list.getEntries().forEach((e) => window.longTasks.push(Math.round(e.duration)))).observe({ type: 'longtask' });
  });
  const long = '120' + ' '.repeat(120);
  const digits = '1'.repeat(99999);
  for (const [sum, year, rate, cfg, unit = 'yuan', notes = 0] of [['4294967296', '1', '4.9', '4294967296\n1\n0.049\n'],
    ['2147483648', '1', '4.9', '2147483648\n1\n0.049\n'], ['-5', '1', '4.9', '-5\n1\n0.049\n'], ['-5元', '1', '4.9', '-5元\n1\n0.049\n'],
    ['3000000000元', '1', '4.9', '3000000000元\n1\n0.049\n'], ['1e3', '1', '4.9', '1e3\n1\n0.049\n'], ['\xA0120', '1', '4.9', '\xA0120\n1\n0.049\n'],
    ['100万', '1', '4.9', '1000000\n1\n0.049\n', 'yuan', 1], ['100', '1', '4.9', '1000000\n1\n0.049\n', 'wan'], ['1,000,000', '1', '4.9', '1,000,000\n1\n0.049\n'],
    ['', '1', '4.9', '\n1\n0.049\n'], ['120', '358013941', '4.9', '120\n358013941\n0.049\n'], ['120', '100001', '4.9', '120\n100001\n0.049\n'],
    ['120', '-1', '4.9', '120\n-1\n0.049\n'], ['120', '0', '4.9', '120\n0\n0.049\n'], ['120', '2.5', '4.9', '120\n2.5\n0.049\n'], ['120', '30年', '4.9', '120\n30年\n0.049\n'],
    ['120', '1', '1e3', '120\n1\n0.01e3\n'], ['120', '1', '-1', '120\n1\n-0.01\n'], ['120', '1', 'abc', '120\n1\nabc\n'], ['120', '1', '4,9', '120\n1\n0.049\n', 'yuan', 1],
    ['120', '1', '0.00000001', '120\n1\n0.0000000001\n'], ['120', '1', '4.9%', '120\n1\n0.049\n', 'yuan', 1], [long, '1', '4.9', `${long}\n1\n0.049\n`],
    [digits + 'x', '1', '4.9', `${digits}x\n1\n0.049\n`], ['120', '1', digits + 'x', `120\n1\n${digits.slice(2)}.11x\n`], ['120', '1', '490', '120\n1\n4.9\n']]) {
    await runTyped(page, sum, year, rate, unit);
    await page.waitForSelector(`${finished}, #status[data-state=warned]`, { timeout: 60000 });
    const n = native(cfg);
    const what = `typed ${sum.slice(0, 20)}, ${year}, ${rate.slice(0, 20)}`;
    const warned = await page.$('#status[data-state=warned]') !== null;
    check(warned === /^loan: /m.test(n.check) && (!warned || await page.evaluate(() => document.activeElement.matches('#warnings li:first-child'))),
      `${what}: stopped at the findings, the focus on the first`);
    await findingsAsNative(page, n, what);
    const said = await page.textContent('#warnings');
    check(await page.textContent('#cfg-text') === cfg && await page.$$eval('#form-notes li', (l) => l.length) === notes &&
      [sum, year].every((t) => !warned || !/[^\x00-\x7f]/.test(t) || said.includes(t)), `${what}: the cfg.txt written, its notes, its text quoted`);
  }
  const typingTasks = await page.evaluate(() => window.longTasks);
  check(typingTasks.every((d) => d <= 200), `typed loans: long tasks of ${typingTasks.join(', ')} ms`);
  await page.click('#language');
  // "Use 4.9 %" runs 4.9 %.
  await page.click('#warnings li[data-field=rate] button');
  await page.waitForSelector(finished);
  check(await page.evaluate(() => document.activeElement.id === 'summary-heading'), 'focus on the results after Enter');
  await sameAsNative(page, '120\n1\n0.049\n', 'the rate offered for 490 %');
  // A warned loan takes the previous loan's results away; edited, "compute it
  // as typed" runs the edited loan, checked: 7 % without a finding, then a
  // term the program refuses, with its finding and its message.
  await runTyped(page, '120', '1', '490');
  await page.waitForSelector('#status[data-state=warned]');
  check(await page.$eval('#results', (r) => r.hidden), 'a warned loan: the previous loan\'s results gone');
  await page.fill('input[name=rate]', '7');
  await page.click('#run-anyway');
  await page.waitForSelector(finished);
  await findingsAsNative(page, await sameAsNative(page, '120\n1\n0.07\n', 'edited to 7 %, computed as typed'), 'edited to 7 %, computed as typed');
  await runTyped(page, '120', '1', '490');
  await page.waitForSelector('#status[data-state=warned]');
  await page.fill('input[name=year]', '100001');
  await page.click('#run-anyway');
  await page.waitForSelector(finished);
  await findingsAsNative(page, native('120\n100001\n4.9\n'), 'edited to 100001 years, computed as typed');
  check((await page.textContent('#messages')).includes('too many periods for <debx.txt>: 1200012') && await page.$eval('#results', (r) => r.hidden) &&
    await page.$$eval('a.save[href]', (links) => links.length === 0), 'a refused loan: the program\'s message, no results, no links');
  // The readout at the month under the pointer, and at the last after End on
  // the chart: both plans' payment, as the reports print it.
  await runTyped(page, '1000000', '30', '4.9');
  await page.waitForSelector(finished);
  const chart = await page.$('#chart');
  await chart.scrollIntoViewIfNeeded();
  const bounds = await chart.boundingBox();
  const rowsOf = (report) => report.toString('latin1').split('\r\n');
  const expected = native('1000000\n30\n0.049\n');
  for (const key of [null, 'End']) {
    if (key) await chart.press(key); else await page.mouse.move(bounds.x + bounds.width * 0.7, bounds.y + bounds.height / 2);
    const readout = await page.textContent('#readout');
    const month = Number(/\(period ([\d,]+)\)/.exec(readout)[1].replace(/,/g, ''));
    check((!key || readout.startsWith('Year 30, month 12 (period 360):')) && ['debx', 'debj'].every((n) => readout.includes(`¥${grouped(/ : (\S+) ->/.exec(rowsOf(expected[n])[month + 1])[1])}`)),
      `the readout after ${key || 'the pointer'}: ${readout}`);
  }
  await chart.press('PageDown');
  check((await page.textContent('#readout')).startsWith('Year 29, month 12 (period 348):'), `a year back by Page Down: ${await page.textContent('#readout')}`);
  // A new loan's chart starts without a readout; End reads its own last month,
  // the language switch says it again in Chinese; a failed run takes it away.
  await runTyped(page, '120', '1', '12');
  await page.waitForSelector(finished);
  const fresh = await page.textContent('#readout');
  await chart.press('End');
  const twelve = await page.textContent('#readout');
  await page.click('#language');
  const chinese = await page.textContent('#readout');
  await page.click('#language');
  await runTyped(page, '120', '100001', '4.9');
  await page.click('#run-anyway');
  await page.waitForSelector(finished);
  const last = / : (\S+) ->/.exec(rowsOf(native('120\n1\n0.12\n').debx)[13])[1];
  check(!/\d/.test(fresh) && twelve.startsWith(`Month 12: equal installments: payment ¥${last}`) && chinese.startsWith(`第 12 期：等额本息月供 ${last}\u00a0元`) &&
    !/\d/.test(await page.textContent('#readout')), `the readout of a new run, a language switch, a failed run: ${fresh} | ${twelve} | ${chinese}`);

  // The schedule out of the page, for 30 years: each plan as a CSV, the sums
  // by year of both, the English of the program's own lines, and on paper.
  page = await freshPage();
  const seconds30 = await timedRun(page, '1000000', '30', '4.9');
  for (const n of ['debx', 'debj']) await csvAsReport(page, n, expected[n]);
  await page.click('#view button[data-view=years]');
  check(await page.$eval('.reports', (r) => r.hidden) && await page.$eval('#years', (y) => !y.hidden), 'the view by year');
  await page.click('#view button[data-view=months]');
  const totals = printedTotals(expected.debx);
  check(await page.textContent('#report-debx .totals-en') === `Total repaid: ¥${totals[0]}, principal: ¥${totals[1]}, interest: ¥${totals[2]}` &&
    (await page.textContent('#report-debj .title-en')).includes('[¥1000000] [30 years] [rate 4.90 %]'), 'the program\'s lines in English');
  const months = ['debx', 'debj'].map((n) => printedRows(expected[n]));
  const paper = pdfText(await page.pdf());
  check(['debx', 'debj'].every((n) => paper.includes(months[n === 'debx' ? 0 : 1][359].join(' '))) &&
    !/Compute|Download|Spreadsheet|By month|Stop|Choose a file/.test(paper), `on paper: month 360 of both plans, no button: ${paper.slice(-300)}`);

  // A worker that traps: said within a second, and the page can run again.
  const trapping = path.join(scratch, 'trap.html');
  const trap = Buffer.from('0061736d0100000001040160000003020100050301000107130206' + Buffer.from('memory').toString('hex') +
    '020006' + Buffer.from('_start').toString('hex') + '00000a05010300000b', 'hex');
  fs.writeFileSync(trapping, text.replace(/(id="wasm">\n)[^\n]*/, `$1${zlib.gzipSync(trap).toString('base64')}`));
  pageUrl = 'file://' + trapping;
  page = await freshPage();
  for (const attempt of [1, 2]) {
    const asked = Date.now();
    await runTyped(page, '120', '1', '12');
    await page.waitForSelector('#status[data-state=failed]', { timeout: 1000 }).catch(() => {});
    check(await page.$('#status[data-state=failed]') && Date.now() - asked < 1000, `a worker that traps, run ${attempt}: ${await page.textContent('#status')}`);
  }
  fs.rmSync(trapping);
  pageUrl = 'file://' + path.resolve(html);

  // Both languages: the browser's, then the other, remembered.
  page = await freshPage({ width: 390, height: 844 }, 'zh-CN');
  await accessible(page, 'axe at 390x844 before a run');
  check(await page.evaluate(() => document.documentElement.lang) === 'zh-CN' && (await page.textContent('#report-debx .row.head')).includes('期数'), 'Chinese from the browser');
  await page.click('#language');
  await page.reload();
  check(await page.evaluate(() => document.documentElement.lang) === 'en' && (await page.textContent('#report-debx .row.head')).includes('Month'), 'English chosen and kept');

  // The longest schedule at 490 %: the chart's labels in a phone's width.
  await runTyped(page, '300000', '100000', '490');
  await page.click('#run-anyway');
  await page.waitForSelector(finished, { timeout: 120000 });
  await chartReadable(page, '100,000 years at 490 %, 390 px');
  await runTyped(page, '1000000', '30', '4.9');
  await page.waitForSelector(finished);
  await chartReadable(page, '30 years, 390 px');
  await runTyped(page, '1000000', '1', '4.9');
  await page.waitForSelector(finished);
  await chartReadable(page, '1 year, 390 px');
  const small = await page.evaluate(() => [...document.querySelectorAll('body *')].filter((e) => e.checkVisibility() &&
    [...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim()) && parseFloat(getComputedStyle(e).fontSize) < 12)
    .map((e) => `${e.tagName}#${e.id}.${e.className} ${getComputedStyle(e).fontSize}`));
  check(small.length === 0, `text under 12 px at 390 px: ${small.join(', ')}`);
  await accessible(page, 'axe at 390x844 after a run');

  // A run replaced by the next: only its results. Then the longest schedule,
  // with no long task on the page, its last row in view at any density.
  page = await freshPage();
  await accessible(page, 'axe at 1280x900 before a run');
  await runTyped(page, '300000', '100000', '5.15');
  await runTyped(page, '120', '1', '12');
  await page.waitForSelector(finished);
  await sameAsNative(page, '120\n1\n0.12\n', 'a run that replaced another');
  await page.evaluate(() => {
    window.longTasks = [];
    new PerformanceObserver((list) => list.getEntries().forEach((e) => window.longTasks.push(Math.round(e.duration)))).observe({ type: 'longtask' });
  });
  // Stopped while it runs: the progress, periods done of all, then no results.
  await runTyped(page, '300000', '100000', '5.15');
  await page.waitForSelector('#progress:not([hidden])');
  const bar = await page.$eval('[role=progressbar]', (b) => [Number(b.getAttribute('aria-valuenow')), Number(b.getAttribute('aria-valuemax'))]);
  await page.click('#stop');
  check(bar[0] > 0 && bar[0] < bar[1] && bar[1] === 2 * 1200000 && await page.$eval('#results', (r) => r.hidden) &&
    await page.$eval('#progress', (p) => p.hidden), `a run stopped at ${bar.join(' of ')}: ${await page.textContent('#status')}`);
  const seconds = await timedRun(page, '300000', '100000', '5.15');
  await page.waitForTimeout(300);
  const longTasks = await page.evaluate(() => window.longTasks);
  check(longTasks.every((d) => d <= 200), `long tasks of ${longTasks.join(', ')} ms`);
  await chartReadable(page, '100,000 years, 1280 px');
  await accessible(page, 'axe at 1280x900 after a run');
  const cdp = await context.newCDPSession(page);
  await lastRowShown(page, 'at 1 device pixel a pixel');
  await cdp.send('Page.setFontSizes', { fontSizes: { standard: 20, fixed: 20 } });
  await lastRowShown(page, 'with a 20 px font');
  await cdp.send('Page.setFontSizes', { fontSizes: { standard: 16, fixed: 13 } });
  await page.focus('#report-debx .rows');
  const firstRow = () => page.$eval('#report-debx .rows', (rows) => Number(rows.children[1].getAttribute('aria-rowindex')));
  await page.keyboard.press('End');
  const atEnd = await firstRow();
  await page.keyboard.press('ArrowUp');
  check(await firstRow() === atEnd - 1 && atEnd > 1199970, `End, then up a row: ${atEnd}, ${await firstRow()}`);
  const longest = native('300000\n100000\n0.0515\n');
  for (const n of ['debx', 'debj']) await csvAsReport(page, n, longest[n]);
  // The year from which the amounts are not numbers, in the plan's note.
  const oddRow = printedRows(longest.debx).findIndex((r) => r.slice(1).some((t) => !/^-?\d+\.\d\d$/.test(t)));
  check((await page.textContent('#plan-debx .note')).startsWith(`From year ${grouped(String(Math.ceil((oddRow + 1) / 12)))} on`),
    `the note on amounts that are not numbers: ${await page.textContent('#plan-debx .note')} (row ${oddRow + 1})`);
  console.log(`1,200,000 periods: ${seconds.toFixed(2)} s after Enter, the WebAssembly program alone ${wasmSeconds('300000\n100000\n0.0515\n').toFixed(2)} s; ` +
    `30 years: ${seconds30.toFixed(2)} s after Enter; long tasks (50 ms or more): ${longTasks.length ? `${longTasks.join(', ')} ms` : 'none'}`);
  // At 2 and 3 device pixels a pixel, where a box the rows' full height would
  // pass the most Chromium lays out.
  for (const ratio of [2, 3]) {
    const dense = await launch([`--force-device-scale-factor=${ratio}`, '--window-size=1280,900']);
    const densePage = await (await dense.newContext({ viewport: null })).newPage();
    await densePage.goto(pageUrl);
    await runTyped(densePage, '300000', '100000', '5.15');
    await densePage.waitForSelector(finished, { timeout: 120000 });
    await lastRowShown(densePage, `at ${ratio} device pixels a pixel`);
    await dense.close();
  }
  if (process.env.LOAN_SCREENSHOTS) {
    for (const [name, viewport] of [['web-desktop.png', { width: 1280, height: 900 }], ['web-phone.png', { width: 390, height: 844 }]]) {
      page = await freshPage(viewport, 'zh-CN');
      await runTyped(page, '1000000', '30', '4.9');
      await page.waitForSelector(finished);
      await page.$eval('#chart', (c) => c.scrollIntoView());
      const box = await (await page.$('#chart')).boundingBox();
      await page.mouse.move(box.x + box.width * 0.3, box.y + box.height / 2);
      await page.evaluate(() => document.activeElement.blur());
      await page.screenshot({ path: path.join(process.env.LOAN_SCREENSHOTS, name), fullPage: true });
    }
  }
  await browser.close();
  console.log(`${checks - failures} passed, ${failures} failed`);
  process.exit(failures === 0 && checks > 0 ? 0 : 1);
})().catch((e) => {
  console.log('FAILED: ' + (e.stack || e));
  process.exit(1);
});
