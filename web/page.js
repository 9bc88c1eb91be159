// The page around the program: it writes cfg.txt from the form (or takes a
// chosen one as it is), runs the program in a Web Worker, and shows what it
// wrote: the messages, the comparison, a chart and both reports, which it
// saves byte for byte.
'use strict';

const PERIODS_MAX = 1200000;
const gbk = new TextDecoder('gbk');
const $ = (selector) => document.querySelector(selector);
const wasm = Uint8Array.from(atob($('#wasm').textContent.trim()), (c) => c.charCodeAt(0));
const worker = new Worker(URL.createObjectURL(
  new Blob([$('#worker-source').textContent], { type: 'text/javascript' })));
let reports = {}; // 'debx' and 'debj': {bytes, lines (offsets of line starts), rows}

// The rate typed in percent as the fraction cfg.txt wants, by moving the
// decimal point two places in the text ("4.9" gives "0.049"), so that the
// program reads exactly the number typed; what follows the number is kept.
function percentToFraction(text) {
  const m = /^(\s*[+-]?)(\d*)(?:\.(\d*))?([\s\S]*)$/.exec(text);
  const digits = m[2] + (m[3] || '');
  if (digits === '') return text;
  const point = m[2].length - 2;
  const number = point <= 0 ? '0.' + '0'.repeat(-point) + digits
    : digits.slice(0, point) + '.' + digits.slice(point);
  return m[1] + number + m[4];
}

// What the program would take without a word but the borrower hardly means.
function warningsFor(sum, year, rate) {
  const warnings = [];
  const whole = /^\s*[+-]?\d+\s*$/;
  const decimal = /^\s*[+-]?(\d+\.?\d*|\.\d+)\s*$/;
  const check = (text, label, pattern) => {
    if (text.trim() === '') warnings.push(`The ${label} is empty: the program reads it as 0.`);
    else if (!pattern.test(text)) {
      warnings.push(`The ${label} "${text}" is not a plain number: the program reads it only up to the first other character.`);
    }
  };
  check(sum, 'principal', whole);
  check(year, 'term', whole);
  check(rate, 'rate', decimal);
  const principal = parseFloat(sum);
  if (principal < 0 || principal > 4294967295) {
    warnings.push('The principal is outside 0 to 4294967295 yuan: the program computes with its 32-bit wrap.');
  }
  const years = parseFloat(year);
  if (years * 12 > PERIODS_MAX || years < 0) {
    warnings.push(`The term gives more than ${PERIODS_MAX} monthly periods: the program refuses to compute it.`);
  }
  const percent = parseFloat(rate);
  if (percent > 100 || percent < 0) {
    warnings.push(`An annual rate of ${rate.trim()} % is ${percent > 100 ? 'above 100 %' : 'below 0'}: the rate is in percent (4.9 for 4.9 %).`);
  }
  return warnings;
}

function typedCfg() {
  const form = $('#loan-form');
  const [sum, year, rate] = ['sum', 'year', 'rate'].map((name) => form.elements[name].value);
  return { sum, year, rate, text: `${sum}\n${year}\n${percentToFraction(rate)}\n` };
}

function run(cfgBytes) {
  $('#warnings').hidden = true;
  $('#status').textContent = '正在计算 Working…';
  document.querySelectorAll('button').forEach((b) => { b.disabled = true; });
  const started = performance.now();
  worker.onmessage = (event) => {
    document.querySelectorAll('button').forEach((b) => { b.disabled = false; });
    if (event.data.error) {
      $('#status').textContent = 'The program could not run: ' + event.data.error;
      return;
    }
    show(event.data);
    const shown = (performance.now() - started) / 1000;
    $('#status').textContent = '正在比较 Comparing…';
    setTimeout(() => {
      compareAndDraw();
      $('#status').textContent = `Done in ${((performance.now() - started) / 1000).toFixed(1)} s (rows shown after ${shown.toFixed(1)} s)` +
        (event.data.status === 0 ? '.' : `; the program reported a failure (exit status ${event.data.status}).`);
    }, 0);
  };
  worker.postMessage({ wasm, cfg: cfgBytes });
}

// A report's bytes with the offsets where its lines start.
function indexReport(buffer) {
  if (!buffer) return null;
  const bytes = new Uint8Array(buffer);
  const starts = [0];
  for (let i = bytes.indexOf(10); i >= 0; i = bytes.indexOf(10, i + 1)) starts.push(i + 1);
  return { bytes, starts, count: starts.length - 1 };
}

function line(report, i) {
  return gbk.decode(report.bytes.subarray(report.starts[i], report.starts[i + 1])).replace(/\r?\n$/, '');
}

// The period and the three amounts of row i (line i + 2), the amounts in
// whole cents (NaN where the text is not an amount, such as "nan"), read
// from the row's ASCII bytes: "%03d : payment ->[principal] [interest]".
function row(report, i) {
  const bytes = report.bytes;
  const end = report.starts[i + 3];
  let at = report.starts[i + 2];
  let period = 0;
  for (; bytes[at] >= 0x30 && bytes[at] <= 0x39; at++) period = period * 10 + bytes[at] - 0x30;
  at += 3; // " : "
  const amounts = [];
  for (const close of [0x2D, 0x5D, 0x5D]) { // the payment ends at " ->[", the others at "]"
    while (bytes[at] === 0x20 || bytes[at] === 0x5B) at++;
    const start = at;
    while (at < end && !(bytes[at] === close && (close !== 0x2D || bytes[at + 1] === 0x3E))) at++;
    const text = String.fromCharCode(...bytes.subarray(start, at)).trim();
    amounts.push(cents(text, false));
    at += close === 0x2D ? 2 : 1;
  }
  return { period, payment: amounts[0], principal: amounts[1], interest: amounts[2] };
}

// The period and payment of row i, the payment in cents; an error when it is
// not an amount.
function rowPayment(report, i) {
  const r = row(report, i);
  if (Number.isNaN(r.payment)) cents(cellsOf(line(report, i + 2))[1]);
  return r;
}

// A printed amount ("-12.34") in whole cents, exact below 2^53; what is not
// one is an error, or NaN when `strict` is false.
function cents(text, strict = true) {
  text = text.trim();
  let problem = null;
  if (!/^-?\d+\.\d\d$/.test(text)) problem = 'not an amount: ' + text;
  else if (text.replace('-', '').length > 16) problem = 'an amount too large to compare to the cent: ' + text;
  if (problem && strict) throw new Error(problem);
  return problem ? NaN : Number(text.replace('.', ''));
}

function exact(value) {
  if (Math.abs(value) >= 2 ** 53) throw new Error('sums too large to compare to the cent');
  return value;
}

function amount(value) {
  const sign = value < 0 ? '-' : '';
  const magnitude = Math.abs(value);
  return `${sign}${Math.floor(magnitude / 100)}.${String(magnitude % 100).padStart(2, '0')}`;
}

// The totals line's total paid and interest, in cents.
function totals(report) {
  const parts = line(report, report.count - 1).split(', ');
  if (parts.length !== 3) throw new Error('no totals line');
  const value = (part) => cents(part.slice(part.indexOf(': ') + 2));
  return { paid: value(parts[0]), interest: value(parts[2]) };
}

// The three lines of tools/compare.sh, from the printed amounts in cents.
function comparison(x, j) {
  const rows = x.count - 3;
  if (rows !== j.count - 3) throw new Error('the two reports cover different terms');
  const xt = totals(x);
  const jt = totals(j);
  const paid = (t) => `total paid ${amount(t.paid)}, interest ${amount(t.interest)}`;
  if (rows === 0) {
    return `debx (equal installments): no periods, ${paid(xt)}\n` +
      `debj (equal principal): no periods, ${paid(jt)}\nnothing to compare\n`;
  }
  let lower = null;
  let extra = 0;
  let most = 0;
  let mostPeriod = 0;
  for (let i = 0; i < rows; i++) {
    const xr = rowPayment(x, i);
    const jr = rowPayment(j, i);
    if (lower === null && jr.payment < xr.payment) lower = xr.period;
    extra = exact(extra + jr.payment - xr.payment);
    if (extra > most) { most = extra; mostPeriod = xr.period; }
  }
  const payments = (r) => `first payment ${amount(rowPayment(r, 0).payment)}, last payment ${amount(rowPayment(r, rows - 1).payment)}`;
  return `debx (equal installments): ${payments(x)}, ${paid(xt)}\n` +
    `debj (equal principal): ${payments(j)}, ${paid(jt)}\n` +
    `debj saves ${amount(exact(xt.interest - jt.interest))} of interest; ` +
    (lower === null ? 'its payment is never lower' : `its payment is lower from period ${lower}`) + '; ' +
    (most > 0 ? `it costs at most ${amount(most)} more, by period ${mostPeriod}` : 'it never costs more') + '\n';
}

function show(result) {
  const messages = gbk.decode(result.messages);
  $('#messages').hidden = messages === '';
  $('#messages').textContent = messages;
  reports = { debx: indexReport(result.debx), debj: indexReport(result.debj) };
  $('#results').hidden = !reports.debx && !reports.debj;
  for (const name of ['debx', 'debj']) showReport(name);
  offerDownloads();
}

// The comparison and the chart, once the rows are on screen.
function compareAndDraw() {
  try {
    $('#comparison').textContent = reports.debx && reports.debj ? comparison(reports.debx, reports.debj)
      : 'Nothing to compare: a report is missing.';
  } catch (e) {
    $('#comparison').textContent = 'compare: ' + e.message;
  }
  drawChart();
}

function cellsOf(text) {
  const m = /^(\S+) : (.*) ->\[(.*)\] \[(.*)\]$/.exec(text);
  return m ? m.slice(1) : [text, '', '', ''];
}

function rowElement(cells) {
  const row = document.createElement('div');
  row.className = 'row';
  for (const cell of cells) {
    const span = document.createElement('span');
    span.textContent = cell.trim();
    row.append(span);
  }
  return row;
}

// Rows are drawn only where they are in view, so that a million of them
// scroll as easily as twelve.
function showReport(name) {
  const report = reports[name];
  const box = $(`#report-${name}`);
  box.hidden = !report;
  if (!report) return;
  const rows = box.querySelector('.rows');
  const spacer = rows.querySelector('.spacer');
  const count = Math.max(report.count - 3, 0);
  box.querySelector('.title').textContent = line(report, 0);
  box.querySelector('.head').replaceChildren(...rowElement(['分期', '月供', '本金', '利息']).children);
  box.querySelector('.totals').textContent = line(report, report.count - 1);
  const rowHeight = 1.6 * parseFloat(getComputedStyle(rows).fontSize) * 0.9;
  spacer.style.height = `${count * rowHeight}px`;
  const render = () => {
    const first = Math.floor(rows.scrollTop / rowHeight);
    const last = Math.min(count, first + Math.ceil(rows.clientHeight / rowHeight) + 1);
    const drawn = [];
    for (let i = first; i < last; i++) {
      const row = rowElement(cellsOf(line(report, i + 2)));
      row.style.top = `${i * rowHeight}px`;
      drawn.push(row);
    }
    rows.replaceChildren(spacer, ...drawn);
  };
  rows.onscroll = render;
  rows.scrollTop = 0;
  render();
}

// The monthly payments of both schedules, and below them the interest paid so
// far, as tools/chart.sh draws them; at most one point a pixel.
function drawChart() {
  const canvas = $('#chart');
  const c = canvas.getContext('2d');
  c.clearRect(0, 0, canvas.width, canvas.height);
  const series = ['debx', 'debj'].filter((n) => reports[n] && reports[n].count > 3).map((n) => {
    const r = reports[n];
    const count = r.count - 3;
    const step = Math.max(1, Math.floor(count / 800));
    const payment = [];
    const interest = [];
    let paid = 0;
    for (let i = 0; i < count; i++) {
      const { period, payment: pay, interest: int } = row(r, i);
      paid += int;
      if (i % step === 0 || i === count - 1) {
        payment.push([period, pay / 100]);
        interest.push([period, paid / 100]);
      }
    }
    let total = '';
    try { total = amount(totals(r).interest); } catch (e) { total = line(r, r.count - 1); }
    return { name: n, payment, interest, total, color: n === 'debx' ? '#2b5fad' : '#d0542c' };
  });
  c.font = '16px sans-serif';
  c.fillStyle = '#1d2430';
  const title = reports.debx ? line(reports.debx, 0).replace(/^等额本息借款/, '借款 loan ') : '';
  c.fillText(title, 70, 22);
  c.font = '13px sans-serif';
  c.fillText(($('#comparison').textContent.split('\n')[2] || ''), 70, 42, canvas.width - 100);
  c.font = '14px sans-serif';
  if (series.length === 0) return;
  const panel = (top, height, key, label) => {
    const points = series.flatMap((s) => s[key]);
    const finite = points.filter((p) => Number.isFinite(p[1]));
    if (finite.length === 0) return;
    const xMax = Math.max(...finite.map((p) => p[0]));
    const yMax = Math.max(...finite.map((p) => p[1]));
    const yMin = Math.min(0, ...finite.map((p) => p[1]));
    const x = (v) => 70 + (v - 1) / Math.max(xMax - 1, 1) * (canvas.width - 100);
    const y = (v) => top + height - (v - yMin) / (yMax - yMin || 1) * height;
    c.strokeStyle = '#aab';
    c.strokeRect(70, top, canvas.width - 100, height);
    c.fillStyle = '#5a6475';
    c.fillText(label, 75, top + 16);
    c.fillText(yMax.toFixed(0), 4, top + 12);
    c.fillText(yMin.toFixed(0), 4, top + height);
    c.fillText('1', 66, top + height + 16);
    c.fillText(String(xMax), canvas.width - 60, top + height + 16);
    for (const s of series) {
      c.strokeStyle = s.color;
      c.lineWidth = 2;
      c.beginPath();
      s[key].filter((p) => Number.isFinite(p[1])).forEach(([px, py], i) => (i ? c.lineTo(x(px), y(py)) : c.moveTo(x(px), y(py))));
      c.stroke();
      c.fillStyle = s.color;
      c.fillText(`${s.name === 'debx' ? '等额本息 debx' : '等额本金 debj'}${key === 'interest' ? ', total ' + s.total : ''}`,
        80, key === 'payment' ? top + height - (s.name === 'debx' ? 30 : 10) : top + (s.name === 'debx' ? 38 : 58));
    }
  };
  panel(60, 200, 'payment', '月供 monthly payment');
  panel(310, 200, 'interest', '已付利息 interest paid so far');
  c.fillStyle = '#5a6475';
  c.fillText('分期 period', canvas.width / 2 - 30, canvas.height - 12);
}

// The two links save the reports exactly as the program wrote them.
function offerDownloads() {
  document.querySelectorAll('a.save').forEach((link) => {
    if (link.href) URL.revokeObjectURL(link.href);
    const report = reports[link.dataset.file];
    link.hidden = !report;
    if (report) link.href = URL.createObjectURL(new Blob([report.bytes], { type: 'application/octet-stream' }));
  });
}

function runFile(file) {
  file.arrayBuffer().then((buffer) => run(new Uint8Array(buffer)));
}

$('#loan-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const cfg = typedCfg();
  const warnings = warningsFor(cfg.sum, cfg.year, cfg.rate);
  if (warnings.length === 0) {
    run(new TextEncoder().encode(cfg.text));
    return;
  }
  $('#warnings ul').replaceChildren(...warnings.map((w) => Object.assign(document.createElement('li'), { textContent: w })));
  $('#warnings').hidden = false;
});
$('#run-anyway').addEventListener('click', () => run(new TextEncoder().encode(typedCfg().text)));
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
