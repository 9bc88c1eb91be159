// The page around the program: it writes cfg.txt from the form (form.js) or
// takes a chosen one as it is, has the program check it and shows what it
// found (findings.js), runs the program on it in a Web Worker, and shows what
// it wrote: the messages, the summary, the chart and both reports, which it
// saves byte for byte, and as a spreadsheet. A new run replaces the one in
// progress; a long one shows how far it has come and can be stopped.
import { $, T, setLanguage, chosenLanguage } from './texts.js';
import { typedLoan, showTypedCfg, showUnits, showReadValues } from './form.js';
import { readCheck, showFindings } from './findings.js';
import { showSummary } from './summary.js';
import { drawChart, chartKey, followPointer, resetPointer } from './chart.js';
import { gbk, showTable, showYears, showHeads, renderTable, tableKey } from './tables.js';
import { csvOf, saveAs } from './csv.js';
import { preparePrint } from './print.js';

// The program's WebAssembly, gzipped, comes last in the file, after this
// script, so that the page shows before the browser has read it all.
let wasm = null;
document.addEventListener('DOMContentLoaded', async () => {
  const packed = new Blob([Uint8Array.from(atob($('#wasm').textContent.trim()), (c) => c.charCodeAt(0))]);
  wasm = new Uint8Array(await new Response(packed.stream().pipeThrough(new DecompressionStream('gzip'))).arrayBuffer());
  nextWorker(); // the first run's worker, compiling now
});
const workerUrl = URL.createObjectURL(new Blob([$('#worker-source').textContent], { type: 'text/javascript' }));
let worker = null; // the worker of the run in progress, or null
let shown = null; // the worker's answer on the page, or null
let status = () => ''; // the status line's text, in the page's language
let spare = null; // a worker that has the program compiled, ready for the next run
let lastCheck = null; // what the program read of the cfg.txt on the page, and whether to offer to run it, or null

// The status line: `text` gives it in the page's language; `state` is
// working, warned, done or failed.
function setStatus(text, state) {
  status = text;
  $('#status').textContent = text();
  $('#status').dataset.state = state;
}

// Ends the run in progress, if any.
function stopRun() {
  if (worker) worker.terminate();
  worker = null;
  $('#progress').hidden = true;
}

// A worker that finished its run serves the next: its program compiled and
// its code for reading the reports already fast.
function keepWorker(w) {
  worker = null;
  $('#progress').hidden = true;
  if (spare) spare.terminate();
  spare = w;
}

// A worker for the next run, the program compiled in it ahead of time, so
// that a short loan waits on nothing but its own run.
function nextWorker() {
  const w = spare || new Worker(workerUrl);
  spare = new Worker(workerUrl);
  spare.postMessage({ wasm });
  return w;
}

// How far the run in progress has come: each plan's rows of all its periods.
function showProgress(p) {
  const all = Math.max(p.periods, 1);
  const bar = $('#progress [role=progressbar]');
  bar.setAttribute('aria-label', T['progress-label']);
  bar.setAttribute('aria-valuemax', 2 * p.periods);
  bar.setAttribute('aria-valuenow', Math.min(p.debx + p.debj, 2 * p.periods));
  bar.setAttribute('aria-valuetext', T.progress(p.debx, p.debj, p.periods));
  bar.firstElementChild.style.width = `${Math.min((p.debx + p.debj) / (2 * all), 1) * 100}%`;
  $('#progress').hidden = false;
}


// Takes the previous loan's results and links off the page.
function clearResults() {
  shown = null;
  resetPointer();
  preparePrint(null);
  $('#results').hidden = true;
  $('#program-says').hidden = true;
  $('#program-read').hidden = true;
  document.querySelectorAll('a.save').forEach((link) => {
    if (link.href) URL.revokeObjectURL(link.href);
    link.removeAttribute('href');
  });
}

// Runs the program on `cfg` (the typed loan's bytes, or a chosen file) after
// its check of the same cfg.txt: where the check finds something, the run
// goes on only if `always` (a file, "compute it as typed"); otherwise the
// findings wait for the borrower. `focus` moves the focus to what comes
// (after Enter).
function run(cfg, always, focus) {
  stopRun();
  clearResults();
  lastCheck = null;
  showFindings(null, false);
  setStatus(() => T.working, 'working');
  const started = performance.now();
  const w = nextWorker();
  worker = w;
  w.onmessage = (event) => {
    if (worker !== w) return;
    if (event.data.check) {
      checked(event.data.check, cfg, always, focus);
      return;
    }
    if (event.data.progress) {
      showProgress(event.data.progress);
      return;
    }
    keepWorker(w);
    show(event.data, (performance.now() - started) / 1000, focus);
  };
  w.onerror = w.onmessageerror = (event) => {
    event.preventDefault();
    if (worker !== w) return;
    stopRun();
    setStatus(() => T.stopped(event.message || event.type), 'failed');
  };
  w.postMessage({ wasm, cfg, always });
}

// The program's check of the cfg.txt about to run: its findings on the page
// (and, for a file, what it read in the form); a typed loan with findings
// stops there, a file the browser cannot read says so.
function checked(check, cfg, always, focus) {
  if (check.unreadable) {
    stopRun();
    setStatus(() => T.unreadable(cfg.name), 'failed');
    return;
  }
  const read = readCheck(check.text);
  lastCheck = { read, offer: !always };
  showFindings(read, !always);
  if (read && !(cfg instanceof Uint8Array)) showReadValues(read);
  if (always || check.status === 0) return;
  // Nothing runs until asked (the worker runs only a loan without findings):
  // the previous loan's results are gone already, so that no figures stand
  // under a form that no longer holds their loan.
  stopRun();
  if (!read || read.findings.length === 0) {
    $('#program-says').hidden = false;
    $('#messages').textContent = check.text;
    setStatus(() => T.failed(check.status), 'failed');
    return;
  }
  setStatus(() => '', 'warned');
  if (focus) $('#warnings li').focus();
}

// Puts the worker's answer on the page.
function show(answer, seconds, focus) {
  shown = answer;
  showMessages(gbk.decode(answer.messages));
  $('#results').hidden = !answer.debx && !answer.debj;
  for (const name of ['debx', 'debj']) showTable(name, answer[name]);
  showYears(answer.debx, answer.debj);
  render();
  setStatus(() => (answer.status === 0 ? T.done(seconds.toFixed(1)) : T.failed(answer.status)), answer.status === 0 ? 'done' : 'failed');
  if (focus) ($('#warnings').hidden ? $('#results').hidden ? $('#status') : $('#summary-heading') : $('#warnings li')).focus();
}

// The console's lines: the echo ("sum: ..., year: ..., rate: ...") as what
// the program read, in the page's own style; any other message as it is.
function showMessages(text) {
  const echo = /^sum: .*\r?\n/m.exec(text);
  const rest = echo ? text.slice(0, echo.index) + text.slice(echo.index + echo[0].length) : text;
  $('#program-read').hidden = !echo;
  $('#echo').textContent = echo ? echo[0].trim() : '';
  $('#program-says').hidden = rest === '';
  $('#messages').textContent = rest;
}

// What depends on the page's language and width: the summary, the chart, the
// English renderings of the reports' own lines and the printed schedules.
function render() {
  if (!shown || $('#results').hidden) return;
  showSummary(shown.plans, shown.comparison);
  redrawChart();
  for (const part of ['title', 'totals']) {
    document.querySelectorAll(`.report .${part}`).forEach((line) => {
      const english = line.nextElementSibling;
      english.textContent = T.english(line.textContent) || '';
      english.hidden = english.textContent === '';
    });
  }
  const answer = shown;
  // After the figures, so that they never wait on it.
  setTimeout(() => { if (shown === answer) preparePrint(answer); });
}

// The schedules by month, or both plans' sums by year.
function showView(view) {
  document.querySelectorAll('#view button').forEach((b) => b.setAttribute('aria-pressed', String(b.dataset.view === view)));
  $('.reports').hidden = view !== 'months';
  $('#years').hidden = view !== 'years';
  document.querySelectorAll('.rows').forEach(renderTable);
}

// A report's link gets its file when it is clicked: the report's bytes as
// the program wrote them, copied only then.
function saveReport(link) {
  if (!link.href && shown && shown[link.dataset.file]) {
    link.href = URL.createObjectURL(new Blob([shown[link.dataset.file].bytes], { type: 'application/octet-stream' }));
  }
}

// Saves a plan's schedule as a spreadsheet.
async function saveCsv(name) {
  const answer = shown;
  const blob = await csvOf(answer[name], answer.plans[name]);
  if (shown === answer) saveAs(blob, `${T[`${name}-report`]}.csv`);
}

// The chart of the loan on the page, at the page's width and pointer.
function redrawChart() {
  if (!shown || $('#results').hidden) return;
  $('figure').hidden = !['debx', 'debj'].some((n) => shown.series[n] && shown.series[n].period.length);
  if (!$('figure').hidden) drawChart({ series: shown.series, lower: shown.comparison.lower });
}

// A chosen or dropped file runs as cfg.txt as it is: the worker reads of it
// what the program asks for, however large it is.
const runFile = (file) => run(file, true, false);

$('#loan-form').addEventListener('submit', (event) => {
  event.preventDefault();
  showTypedCfg();
  run(typedLoan().bytes, false, true);
});
$('#loan-form').addEventListener('input', showTypedCfg);
$('#run-anyway').addEventListener('click', () => {
  showTypedCfg();
  run(typedLoan().bytes, true, true);
});
$('#stop').addEventListener('click', () => {
  stopRun();
  setStatus(() => T.stoppedByYou, 'failed');
});
document.querySelectorAll('#view button').forEach((b) => b.addEventListener('click', () => showView(b.dataset.view)));
document.querySelectorAll('a.save').forEach((link) => link.addEventListener('click', () => saveReport(link)));
document.querySelectorAll('button.csv').forEach((b) => b.addEventListener('click', () => saveCsv(b.dataset.file)));
$('#cfg-file').addEventListener('change', (event) => {
  if (event.target.files[0]) runFile(event.target.files[0]);
  event.target.value = ''; // so that choosing the same file again runs it again
});
document.addEventListener('dragover', (event) => { event.preventDefault(); document.body.classList.add('dragging'); });
document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
document.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dragging');
  if (event.dataTransfer.files[0]) runFile(event.dataTransfer.files[0]);
});
$('#language').addEventListener('click', (event) => {
  setLanguage(event.target.dataset.language, true);
  showHeads();
  $('#status').textContent = status();
  $('#view').setAttribute('aria-label', T['years-report']);
  showUnits();
  if (!$('#form-writes').hidden) showTypedCfg();
  if (lastCheck) showFindings(lastCheck.read, lastCheck.offer);
  render();
});
document.querySelectorAll('.rows').forEach((rows) => {
  rows.addEventListener('scroll', () => renderTable(rows));
  rows.addEventListener('keydown', tableKey);
});
$('#chart').addEventListener('pointermove', (event) => followPointer(event, redrawChart));
$('#chart').addEventListener('pointerdown', (event) => followPointer(event, redrawChart));
$('#chart').addEventListener('keydown', (event) => chartKey(event, redrawChart));
new ResizeObserver(() => {
  redrawChart();
  document.querySelectorAll('.rows').forEach(renderTable);
}).observe(document.body);
setLanguage(chosenLanguage(), false);
showHeads();
$('#view').setAttribute('aria-label', T['years-report']);
showUnits();
