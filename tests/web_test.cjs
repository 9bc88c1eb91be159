// The web page in headless Chromium against the native program: the reports
// it saves, the comparison, the warnings, a run of 1,200,000 periods, no
// request leaving the page and no script error.
//   node web_test.cjs LOAN_HTML LOAN_EXE COMPARE_SCRIPT
'use strict';
const { chromium } = require('playwright-core');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const [html, loanExe, compareScript] = process.argv.slice(2).map((p) => path.resolve(p));
let failures = 0;
let checks = 0;
function check(ok, what) {
  checks++;
  if (!ok) {
    failures++;
    console.log('FAILED: ' + what);
  }
}

// The native program's reports and comparison for a cfg.txt.
function native(cfg) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'loan-web-'));
  fs.writeFileSync(path.join(dir, 'cfg.txt'), cfg);
  try { execFileSync(loanExe, { cwd: dir, stdio: ['ignore', 'ignore', 'ignore'] }); } catch (e) { /* status 1 */ }
  const read = (f) => (fs.existsSync(path.join(dir, f)) ? fs.readFileSync(path.join(dir, f)) : null);
  let comparison = null;
  try { comparison = execFileSync(compareScript, [dir], { stdio: ['ignore', 'pipe', 'ignore'] }).toString(); } catch (e) { /* none */ }
  const result = { debx: read('debx.txt'), debj: read('debj.txt'), comparison };
  fs.rmSync(dir, { recursive: true });
  return result;
}

async function saved(page, name) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(`a.save[data-file=${name}]`)]);
  return fs.readFileSync(await download.path());
}

async function runFile(page, cfg) {
  const file = path.join(os.tmpdir(), 'cfg.txt');
  fs.writeFileSync(file, cfg);
  await page.evaluate(() => { document.querySelector('#status').textContent = ''; });
  await page.setInputFiles('#cfg-file', file);
  await page.waitForSelector('#status:has-text("Done")', { timeout: 60000 });
}

async function runTyped(page, sum, year, rate) {
  await page.evaluate(() => { document.querySelector('#status').textContent = ''; });
  await page.fill('input[name=sum]', sum);
  await page.fill('input[name=year]', year);
  await page.fill('input[name=rate]', rate);
  await page.press('input[name=rate]', 'Enter');
}

async function sameAsNative(page, cfg, name) {
  const expected = native(cfg);
  for (const report of ['debx', 'debj']) {
    check(Buffer.compare(await saved(page, report), expected[report]) === 0, `${name}: ${report}.txt as the program writes it`);
  }
  const shown = await page.textContent('#comparison');
  check(expected.comparison === null || shown === expected.comparison, `${name}: the comparison as tools/compare.sh prints it:\n${shown}\n${expected.comparison}`);
}

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  const pageUrl = 'file://' + path.resolve(html);
  // A page of its own for each case: Chromium holds back downloads that come
  // too many at a time from one page.
  let context = null;
  const freshPage = async () => {
    if (context) await context.close();
    context = await browser.newContext({ acceptDownloads: true, viewport: { width: 1100, height: 1400 } });
    const page = await context.newPage();
    page.on('pageerror', (e) => check(false, 'script error: ' + e.message));
    page.on('request', (r) => check(r.url() === pageUrl || /^(blob|data):/.test(r.url()), 'a request leaves the page: ' + r.url()));
    await page.goto(pageUrl);
    return page;
  };
  let page = null;

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
    ['absurd rate', '120\n1\n1e39\n'],
  ];
  for (const [name, cfg] of cfgs) {
    page = await freshPage();
    await runFile(page, Buffer.from(cfg, 'latin1'));
    await sameAsNative(page, Buffer.from(cfg, 'latin1'), name);
  }

  // Typed input: the rate in percent becomes the same cfg.txt as typed by hand.
  for (const [sum, year, rate, cfg] of [['120', '1', '12', '120\n1\n0.12\n'], ['100000', '20', '4.9', '100000\n20\n0.049\n'],
    ['300000', '25', '5.15', '300000\n25\n0.0515\n']]) {
    page = await freshPage();
    await runTyped(page, sum, year, rate);
    await page.waitForSelector('#status:has-text("Done")');
    await sameAsNative(page, Buffer.from(cfg), `typed ${sum}, ${year}, ${rate} %`);
  }

  // Warnings before running, and the run as typed when asked for.
  page = await freshPage();
  for (const [sum, year, rate, warning] of [['120', '1', '490', 'above 100 %'], ['120', '1', '-1', 'below 0'],
    ['', '1', '4.9', 'principal is empty'], ['100万', '1', '4.9', 'not a plain number'],
    ['-5', '1', '4.9', '32-bit wrap'], ['4294967296', '1', '4.9', '32-bit wrap'], ['120', '100001', '4.9', 'refuses']]) {
    await runTyped(page, sum, year, rate);
    await page.waitForSelector('#warnings:not([hidden])');
    check((await page.textContent('#warnings')).includes(warning), `warning "${warning}" for ${sum}, ${year}, ${rate}`);
    check((await page.textContent('#status')) === '', `nothing runs before it is asked for: ${sum}, ${year}, ${rate}`);
  }
  await page.click('#run-anyway');
  await page.waitForSelector('#status:has-text("Done")');
  check((await page.textContent('#messages')).includes('too many periods for <debx.txt>: 1200012'), 'the program\'s message is shown');

  // The longest schedule: finished, its last row in view after scrolling.
  const started = Date.now();
  await runTyped(page, '300000', '100000', '5.15');
  await page.waitForSelector('#status:has-text("Done")', { timeout: 120000 });
  const seconds = (Date.now() - started) / 1000;
  await page.$eval('#report-debj .rows', (rows) => { rows.scrollTop = rows.scrollHeight; rows.dispatchEvent(new Event('scroll')); });
  check((await page.textContent('#report-debj .rows')).includes('1200000'), 'the last of 1,200,000 rows is shown');
  console.log(`1,200,000 periods: ${await page.textContent('#status')} (${seconds.toFixed(1)} s after Enter)`);
  if (process.env.LOAN_SCREENSHOT) {
    await runTyped(page, '1000000', '30', '4.9');
    await page.waitForSelector('#status:has-text("Done")');
    await page.screenshot({ path: process.env.LOAN_SCREENSHOT, fullPage: true });
  }
  await browser.close();
  console.log(`${checks - failures} passed, ${failures} failed`);
  process.exit(failures === 0 && checks > 0 ? 0 : 1);
})().catch((e) => {
  console.log('FAILED: ' + (e.stack || e));
  process.exit(1);
});
