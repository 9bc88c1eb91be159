// What the page shows of the two reports, worked out in the worker from their
// bytes: where each line starts, the comparison of tools/compare.sh (the same
// figures, from the printed amounts in whole cents) and the chart's points.

// Points drawn per plan at most: about one a pixel of the widest chart.
const CHART_POINTS = 1200;

// {debx, debj, plans, comparison, series} for the reports' ArrayBuffers (null
// where the program wrote none). Each report: {bytes, starts (the offsets of
// its line starts, and its end), count (of lines), blob}.
function readReports(debxBuffer, debjBuffer) {
  const debx = indexReport(debxBuffer);
  const debj = indexReport(debjBuffer);
  let comparison;
  try {
    comparison = debx && debj ? compare(debx, debj) : { error: 'a report is missing' };
  } catch (e) {
    comparison = { error: e.message, reason: e.reason };
  }
  return { debx, debj, comparison, plans: { debx: debx && plan(debx), debj: debj && plan(debj) },
    series: { debx: debx && series(debx), debj: debj && series(debj) } };
}

// A report's first and last payment (null without rows) and its total paid
// and interest (null without a totals line), as printed.
function plan(report) {
  const rows = report.count - 3;
  const payment = (i) => (rows > 0 ? (/ : (.*) ->\[/.exec(lineText(report, i + 2)) || ['', ''])[1].trim() : null);
  const parts = lineText(report, report.count - 1).split(', ');
  const total = (i) => (parts.length === 3 ? parts[i].slice(parts[i].indexOf(': ') + 2) : null);
  return { first: payment(0), last: payment(rows - 1), paid: total(0), interest: total(2) };
}

// A report with the offsets of its line starts, or null for none.
function indexReport(buffer) {
  if (!buffer) return null;
  const bytes = new Uint8Array(buffer);
  let count = 0;
  for (let i = bytes.indexOf(10); i >= 0; i = bytes.indexOf(10, i + 1)) count++;
  const starts = new Uint32Array(count + 1);
  for (let i = bytes.indexOf(10), n = 1; i >= 0; i = bytes.indexOf(10, i + 1)) starts[n++] = i + 1;
  return { bytes, starts, count, blob: new Blob([bytes], { type: 'application/octet-stream' }) };
}

// Line i without its line end, a character a byte.
function lineText(report, i) {
  return String.fromCharCode(...report.bytes.subarray(report.starts[i], report.starts[i + 1])).replace(/\r?\n$/, '');
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
    amounts.push(cents(String.fromCharCode(...bytes.subarray(start, at)), false));
    at += close === 0x2D ? 2 : 1;
  }
  return { period, payment: amounts[0], principal: amounts[1], interest: amounts[2] };
}

// The period and payment of row i, the payment in cents; an error when it is
// not an amount.
function rowPayment(report, i) {
  const r = row(report, i);
  if (Number.isNaN(r.payment)) cents(/ : (.*) ->\[/.exec(lineText(report, i + 2))[1]);
  return r;
}

// An error that ends the comparison; `reason` (amount: not an amount, large:
// too large to be exact) lets the page say it in its own words.
function failure(message, reason) {
  return Object.assign(new Error(message), { reason });
}

// A printed amount ("-12.34") in whole cents, exact below 2^53; what is not
// one is an error, or NaN when `strict` is false.
function cents(text, strict = true) {
  text = text.trim();
  // The reason only: an Error is made (with its stack) only where one is
  // thrown, as the series of a long loan read a million amounts that are nan.
  let reason = null;
  if (!/^-?\d+\.\d\d$/.test(text)) reason = 'amount';
  else if (text.replace('-', '').length > 16) reason = 'large';
  if (reason && strict) {
    throw failure(reason === 'amount' ? 'not an amount: ' + text : 'an amount too large to compare to the cent: ' + text, reason);
  }
  return reason ? NaN : Number(text.replace('.', ''));
}

// A sum of cents, or an error where it is no longer exact.
function exact(value) {
  if (Math.abs(value) >= 2 ** 53) throw failure('sums too large to compare to the cent', 'large');
  return value;
}

// Cents as the reports print them: "-1234.56".
function amount(value) {
  const sign = value < 0 ? '-' : '';
  const magnitude = Math.abs(value);
  return `${sign}${Math.floor(magnitude / 100)}.${String(magnitude % 100).padStart(2, '0')}`;
}

// The totals line's total paid and interest, in cents.
function totals(report) {
  const parts = lineText(report, report.count - 1).split(', ');
  if (parts.length !== 3) throw new Error('no totals line');
  const value = (part) => cents(part.slice(part.indexOf(': ') + 2));
  return { paid: value(parts[0]), interest: value(parts[2]) };
}

// The figures of tools/compare.sh, in cents, and its three lines: each plan's
// first and last payment and totals, the interest equal principal saves, the
// period from which its payment is lower (null: never) and the most extra it
// has cost in all by some period (0: never).
function compare(x, j) {
  const rows = x.count - 3;
  if (rows !== j.count - 3) throw new Error('the two reports cover different terms');
  const plan = (r) => ({ ...totals(r), first: rows ? rowPayment(r, 0).payment : NaN,
    last: rows ? rowPayment(r, rows - 1).payment : NaN });
  const f = { rows, debx: plan(x), debj: plan(j), lower: null, most: 0, mostPeriod: 0 };
  const paid = (p) => `total paid ${amount(p.paid)}, interest ${amount(p.interest)}`;
  if (rows === 0) {
    f.text = `debx (equal installments): no periods, ${paid(f.debx)}\n` +
      `debj (equal principal): no periods, ${paid(f.debj)}\nnothing to compare\n`;
    return f;
  }
  let extra = 0;
  for (let i = 0; i < rows; i++) {
    const xr = rowPayment(x, i);
    const jr = rowPayment(j, i);
    if (f.lower === null && jr.payment < xr.payment) f.lower = xr.period;
    extra = exact(extra + jr.payment - xr.payment);
    if (extra > f.most) { f.most = extra; f.mostPeriod = xr.period; }
  }
  f.saved = exact(f.debx.interest - f.debj.interest);
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
  const count = Math.max(report.count - 3, 0);
  const step = Math.max(1, Math.ceil(count / CHART_POINTS));
  const size = Math.ceil(count / step) + (count > 0 && (count - 1) % step ? 1 : 0);
  const s = { period: new Float64Array(size), payment: new Float64Array(size), interest: new Float64Array(size) };
  let paid = 0;
  for (let i = 0, n = 0; i < count; i++) {
    const r = row(report, i);
    paid += r.interest;
    if (i % step === 0 || i === count - 1) {
      s.period[n] = r.period;
      s.payment[n] = r.payment;
      s.interest[n++] = Math.abs(paid) < 2 ** 53 ? paid : NaN;
    }
  }
  return s;
}
