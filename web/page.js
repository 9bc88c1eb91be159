// The page around the program: it writes cfg.txt from the form (form.js) or
// takes a chosen one as it is, has the program check it and shows what it
// found (findings.js), runs the program on it in a Web Worker, and shows what
// it wrote: the messages, the summary, the chart and both reports, which it
// saves byte for byte. A new run replaces the one in progress. Takes the
// words from texts.js, typedLoan(), showTypedCfg(), showUnits() and
// showReadValues() from form.js, readCheck() and showFindings() from
// findings.js, and the summary, chart and tables from their files.

const wasm = Uint8Array.from(atob($('#wasm').textContent.trim()), (c) => c.charCodeAt(0));
const workerUrl = URL.createObjectURL(new Blob([$('#worker-source').textContent], { type: 'text/javascript' }));
let worker = null; // the worker of the run in progress, or null
let shown = null; // the worker's answer on the page, or null
let status = () => ''; // the status line's text, in the page's language
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
}

// Takes the previous loan's results and links off the page.
function clearResults() {
  shown = null;
  chartPointer = null;
  $('#results').hidden = true;
  $('#program-says').hidden = true;
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
  const w = new Worker(workerUrl);
  worker = w;
  w.onmessage = (event) => {
    if (worker !== w) return;
    if (event.data.check) {
      checked(event.data.check, cfg, always, focus);
      return;
    }
    worker = null;
    w.terminate();
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
  const messages = gbk.decode(answer.messages);
  $('#program-says').hidden = messages === '';
  $('#messages').textContent = messages;
  $('#results').hidden = !answer.debx && !answer.debj;
  for (const name of ['debx', 'debj']) {
    showTable(name, answer[name]);
    const link = $(`a.save[data-file=${name}]`);
    if (answer[name]) link.href = URL.createObjectURL(answer[name].blob);
  }
  render();
  setStatus(() => (answer.status === 0 ? T.done(seconds.toFixed(1)) : T.failed(answer.status)), answer.status === 0 ? 'done' : 'failed');
  if (focus) ($('#warnings').hidden ? $('#results').hidden ? $('#status') : $('#summary-heading') : $('#warnings li')).focus();
}

// What depends on the page's language and width: the summary and the chart.
function render() {
  if (!shown || $('#results').hidden) return;
  showSummary(shown.plans, shown.comparison);
  redrawChart();
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
showUnits();
