// The page around the program: it writes cfg.txt from the form (or takes a
// chosen one as it is), runs the program in a Web Worker, and shows what it
// wrote: the messages, the summary, the chart and both reports, which it
// saves byte for byte. A new run replaces the one in progress.

const wasm = Uint8Array.from(atob($('#wasm').textContent.trim()), (c) => c.charCodeAt(0));
const workerUrl = URL.createObjectURL(new Blob([$('#worker-source').textContent], { type: 'text/javascript' }));
let worker = null; // the worker of the run in progress, or null
let latest = 0; // counts the runs asked for: a file read that a newer run overtook is dropped
let shown = null; // the worker's answer on the page, or null
let status = () => ''; // the status line's text, in the page's language
let lastWarnings = null; // warn()'s arguments for the warnings on the page, or null

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

// Shows the warnings for cfg.txt's `bytes` (`typed`: as typed in the form);
// `offer` offers to run it as it is.
function warn(bytes, typed, offer) {
  lastWarnings = [bytes, typed, offer];
  const found = warningsFor(bytes, typed);
  showWarnings(found.warnings, offer);
  return found;
}

// Runs the program on cfg.txt's `bytes`; `focus` moves the focus to the
// results when they come (after Enter).
function run(bytes, focus) {
  latest++;
  stopRun();
  clearResults();
  if (lastWarnings) lastWarnings[2] = false;
  $('#run-anyway').hidden = true;
  setStatus(() => T.working, 'working');
  const started = performance.now();
  const w = new Worker(workerUrl);
  worker = w;
  w.onmessage = (event) => {
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
  w.postMessage({ wasm, cfg: bytes });
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

// Runs a chosen or dropped file as cfg.txt, or says that it cannot be read.
function runFile(file) {
  const ticket = ++latest;
  // The program reads only the first CFG_RAW_MAX bytes of cfg.txt: handing it
  // those alone gives the same bytes out, at once, for a file of any size.
  file.slice(0, CFG_RAW_MAX).arrayBuffer().then((buffer) => {
    if (ticket !== latest) return;
    const bytes = new Uint8Array(buffer);
    showReadValues(warn(bytes, null, false).read);
    run(bytes, false);
  }, () => {
    if (ticket !== latest) return;
    stopRun();
    clearResults();
    setStatus(() => T.unreadable(file.name), 'failed');
  });
}

$('#loan-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const loan = typedLoan();
  if (warn(loan.bytes, loan.typed, true).warnings.length === 0) {
    run(loan.bytes, true);
    return;
  }
  // Nothing runs until asked: the previous loan's results go, so that no
  // figures stand under a form that no longer holds their loan.
  latest++;
  stopRun();
  clearResults();
  setStatus(() => '', 'warned');
  $('#warnings li').focus();
});
$('#run-anyway').addEventListener('click', () => run(typedLoan().bytes, true));
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
  if (lastWarnings && !$('#warnings').hidden) warn(...lastWarnings);
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
