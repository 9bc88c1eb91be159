// The two reports read once, in the worker, as the program writes them: each
// write's bytes are scanned where they arrive, line by line, for the offsets
// of the lines, each row's amounts in whole cents, the sums by year and the
// totals; at the end, the comparison of tools/compare.sh (the same figures,
// from the printed cents), each plan's figures and the chart's points.
import { rowFields, centsOf, notCents, amount, ascii } from './printed.js';

// Points drawn per plan at most: about one a pixel of the widest chart.
const CHART_POINTS = 1200;
// Sums of cents are exact below this.
const EXACT = 2 ** 53;

// A report not yet written: `starts` holds the offsets of its line starts;
// `payment` and `soFar` each row's payment and the interest paid up to it, in
// cents; `years` three sums a year (payment, principal, interest); `odd` the
// period of the first row whose amounts are not all numbers, and `bad` the
// first payment that is not an amount ({text, reason}).
function newReport() {
  return { lines: 0, scanned: 0, starts: new Uint32Array(1024), rows: 0, payment: new Float64Array(1024),
    soFar: new Float64Array(1024), interest: 0, years: new Float64Array(96), odd: 0, bad: null, title: null, totals: null,
    field: new Int32Array(8), amounts: new Float64Array(3) };
}

// `array` with room for `size` items, grown by doubling.
function room(array, size) {
  if (size <= array.length) return array;
  const grown = new array.constructor(Math.max(size, 2 * array.length));
  grown.set(array);
  return grown;
}

// A sum that stays exact to the cent, or NaN from where it no longer is.
function add(sum, cents) {
  const s = sum + cents;
  return Math.abs(s) < EXACT ? s : NaN;
}

// Reads the lines of the report's bytes so far (`size` of them) that have
// ended since the last call: a line that has not ended waits for the next
// write, or is read as it is at the `last`. A row's end is found by reading
// it; any other line's by its LF.
function scan(report, file, size, last = false) {
  const data = file.subarray(0, size);
  const ended = last ? size : data.lastIndexOf(10) + 1;
  // Room for this write's lines and rows, at 16 bytes a line (a row takes at
  // least 32); the loop makes more where shorter lines need it.
  const lines = report.lines + Math.ceil((ended - report.scanned) / 16) + 2;
  report.starts = room(report.starts, lines);
  report.payment = room(report.payment, lines);
  report.soFar = room(report.soFar, lines);
  report.years = room(report.years, 3 * Math.ceil(lines / 12));
  let at = report.scanned;
  while (at < ended) {
    const line = report.lines++;
    if (line + 2 > report.starts.length) report.starts = room(report.starts, line + 2);
    let next = line >= 2 ? readRow(report, data, at, ended) : -1;
    if (next < 0) {
      next = data.indexOf(10, at) + 1 || ended;
      const text = ascii(data, at, next).replace(/\r?\n$/, '');
      if (line === 0) report.title = text;
      else if (line >= 2) report.totals = text;
    }
    report.starts[line + 1] = next;
    at = next;
  }
  report.scanned = at;
}

// Row `report.rows` from the line at `start` (the lines end by `end`), if it
// is one: where the next line starts, or -1.
function readRow(report, data, start, end) {
  const f = report.field;
  const amounts = report.amounts;
  const next = rowFields(data, start, end, f, amounts);
  if (next < 0) return -1;
  const i = report.rows++;
  const payment = amounts[0];
  const principal = amounts[1];
  const interest = amounts[2];
  if (i >= report.payment.length) {
    report.payment = room(report.payment, i + 1);
    report.soFar = room(report.soFar, i + 1);
    report.years = room(report.years, 3 * Math.ceil((i + 1) / 12));
  }
  report.payment[i] = payment;
  report.interest = add(report.interest, interest);
  report.soFar[i] = report.interest;
  const y = 3 * Math.floor(i / 12);
  const years = report.years;
  years[y] = add(years[y], payment);
  years[y + 1] = add(years[y + 1], principal);
  years[y + 2] = add(years[y + 2], interest);
  if (report.odd === 0 && Number.isNaN(payment + principal + interest)) report.odd = i + 1;
  if (report.bad === null && Number.isNaN(payment)) {
    const text = ascii(data, f[2], f[3]);
    report.bad = { line: report.lines, text, reason: notCents(text) };
  }
  return next;
}

// The report as the page takes it: its bytes (`size` of them, the file's own
// array, handed over without a copy), line offsets, the sums by year and its
// figures; null for none.
function finish(report, data, size) {
  if (!report) return null;
  scan(report, data, size, true);
  const bytes = data.subarray(0, size);
  const parts = report.totals === null ? [] : report.totals.split(', ');
  const total = (i) => (parts.length === 3 ? parts[i].slice(parts[i].indexOf(': ') + 2) : null);
  const payment = (i) => (report.rows ? paymentText(bytes, report, i) : null);
  return { bytes, starts: report.starts.slice(0, report.lines + 1), count: report.lines, rows: report.rows,
    years: report.years.slice(0, 3 * Math.ceil(report.rows / 12)),
    plan: { first: payment(0), last: payment(report.rows - 1), paid: total(0), principal: total(1), interest: total(2),
      oddPeriod: report.odd } };
}

// Row i's payment as printed.
function paymentText(bytes, report, i) {
  const f = report.field;
  rowFields(bytes, report.starts[i + 2], report.starts[i + 3], f);
  return ascii(bytes, f[2], f[3]);
}

// An error that ends the comparison, as tools/compare.sh says it: where
// (a report's line, or the reports), what; `reason` (amount: not a finite
// amount, large: too large to be exact) lets the page say it in its own words.
function failure(where, message, reason) {
  return { error: `compare: ${where}: ${message}`, reason };
}

// Why an amount of line `line` of report `name` gives no cents.
function notAmount(name, line, text, reason) {
  return failure(`${name}.txt:${line}`, reason === 'amount' ? `${text} cannot be compared`
    : `an amount too large to compare to the cent: ${text}`, reason);
}

// A report's total paid and interest in cents, or why there are none, in the
// order tools/compare.sh reads them: its first payment that is not an amount,
// then its totals line's.
function checked(report, name) {
  if (report.bad) return notAmount(name, report.bad.line, report.bad.text, report.bad.reason);
  const parts = report.totals.split(', ');
  const cents = {};
  for (const [key, part] of [['paid', parts[0]], ['interest', parts[2]]]) {
    const text = part.slice(part.indexOf(': ') + 2);
    cents[key] = centsOf(Uint8Array.from(text, (c) => c.charCodeAt(0) & 0xFF), 0, text.length);
    if (Number.isNaN(cents[key])) return notAmount(name, report.lines, text, notCents(text));
  }
  return cents;
}

// The figures of tools/compare.sh, in cents, and its three lines (`text`), or
// its failure (`error`): each plan's first and last payment and totals, the
// interest equal principal saves, the period from which its payment is
// lower (null: never) and the most extra it has cost in all by some period
// (0: never).
function compare(x, j) {
  for (const [report, name] of [[x, 'debx'], [j, 'debj']]) {
    const parts = report.totals === null ? [] : report.totals.split(', ');
    if (parts.length !== 3) return failure(`${name}.txt`, `no totals line: the report ends after ${report.lines} lines (cut short?)`);
  }
  if (x.rows !== j.rows) return failure('the reports', 'two different loans');
  const tx = checked(x, 'debx');
  if (tx.error) return tx;
  const tj = checked(j, 'debj');
  if (tj.error) return tj;
  const rows = x.rows;
  const plan = (r, t) => ({ ...t, first: rows ? r.payment[0] : NaN, last: rows ? r.payment[rows - 1] : NaN });
  const f = { rows, debx: plan(x, tx), debj: plan(j, tj), lower: null, most: 0, mostPeriod: 0 };
  const paid = (p) => `total paid ${amount(p.paid)}, interest ${amount(p.interest)}`;
  if (rows === 0) {
    f.text = `debx (equal installments): no periods, ${paid(f.debx)}\n` +
      `debj (equal principal): no periods, ${paid(f.debj)}\nnothing to compare\n`;
    return f;
  }
  let extra = 0;
  for (let i = 0; i < rows; i++) {
    if (f.lower === null && j.payment[i] < x.payment[i]) f.lower = i + 1;
    extra = add(extra, j.payment[i] - x.payment[i]);
    if (Number.isNaN(extra)) return failure('the reports', 'sums too large to compare to the cent', 'large');
    if (extra > f.most) { f.most = extra; f.mostPeriod = i + 1; }
  }
  f.saved = add(f.debx.interest, -f.debj.interest);
  if (Number.isNaN(f.saved)) return failure('the reports', 'sums too large to compare to the cent', 'large');
  const payments = (p) => `first payment ${amount(p.first)}, last payment ${amount(p.last)}`;
  f.text = `debx (equal installments): ${payments(f.debx)}, ${paid(f.debx)}\n` +
    `debj (equal principal): ${payments(f.debj)}, ${paid(f.debj)}\n` +
    `debj saves ${amount(f.saved)} of interest; ` +
    (f.lower === null ? 'its payment is never lower' : `its payment is lower from period ${f.lower}`) + '; ' +
    (f.most > 0 ? `it costs at most ${amount(f.most)} more, by period ${f.mostPeriod}` : 'it never costs more') + '\n';
  return f;
}

// The chart's points of a report: at most CHART_POINTS periods, evenly
// spread and the last among them, each with its payment and the interest
// paid up to it, in cents (NaN where a row's amount is not one, or where the
// sum is no longer exact to the cent).
function series(report) {
  const count = report.rows;
  const step = Math.max(1, Math.ceil(count / CHART_POINTS));
  const size = Math.ceil(count / step) + (count > 0 && (count - 1) % step ? 1 : 0);
  const s = { period: new Float64Array(size), payment: new Float64Array(size), interest: new Float64Array(size) };
  for (let i = 0, n = 0; i < count; i++) {
    if (i % step === 0 || i === count - 1) {
      s.period[n] = i + 1;
      s.payment[n] = report.payment[i];
      s.interest[n++] = report.soFar[i];
    }
  }
  return s;
}

// What the page shows of the two reports, from the reports as read and their
// files' bytes ({data, size}, or null where the program wrote none).
function readReports(x, j, xFile, jFile) {
  const debx = xFile && finish(x, xFile.data, xFile.size);
  const debj = jFile && finish(j, jFile.data, jFile.size);
  const comparison = debx && debj ? compare(x, j) : failure('the reports', 'one is missing');
  return { debx, debj, comparison, plans: { debx: debx && debx.plan, debj: debj && debj.plan },
    series: { debx: debx && series(x), debj: debj && series(j) } };
}

export { newReport, scan, readReports };
