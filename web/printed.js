// How the program prints a report's row and its amounts, read in one place:
// the byte ranges of a row's four fields, an amount's value in whole cents,
// and cents written back as the program prints them. The worker reads every
// row with these as it arrives; the page cuts the rows it shows and saves.

// A row: "%03d : %5.02f ->[%5.02f] [%5.02f]" and its line end. Writes the
// [start, end) of the period and of the three amounts (spaces trimmed) into
// `out` (8 numbers), and the amounts in whole cents into `cents` (3 numbers:
// NaN where the text is not an amount, such as "nan", or is too long to be
// exact), and returns where the row's line ends (past its LF, or `end`); -1
// for a line that is not a row. One pass over the bytes: the worker reads a
// million rows with it as they are written.
function rowFields(data, start, end, out, cents) {
  let at = start;
  while (at < end && data[at] >= 0x30 && data[at] <= 0x39) at++;
  if (at === start || data[at] !== 0x20 || data[at + 1] !== 0x3A || data[at + 2] !== 0x20) return -1;
  out[0] = start;
  out[1] = at;
  at += 3;
  for (let k = 1; k <= 3; k++) {
    while (at < end && data[at] === 0x20) at++;
    const from = at;
    let value = amountAt(data, at, end, out, 2 * k + 1);
    at = out[2 * k + 1];
    // What follows: " ->[" after the payment, "] [" after the principal, "]"
    // after the interest; where it does not follow a number, the text up to it.
    if (!ends(data, at, k)) {
      value = NaN;
      while (at < end && !ends(data, at, k)) at++;
      if (at >= end) return -1;
      let last = at;
      while (last > from && data[last - 1] === 0x20) last--;
      out[2 * k + 1] = last;
    }
    out[2 * k] = from;
    if (cents) cents[k - 1] = value;
    at += k === 1 ? 4 : k === 2 ? 3 : 1;
  }
  if (data[at] === 0x0D && data[at + 1] === 0x0A) return at + 2;
  const lf = data.indexOf(0x0A, at);
  return lf < 0 || lf >= end ? end : lf + 1;
}

// Whether the text after amount k of a row (1: payment) starts at `at`.
function ends(data, at, k) {
  if (k === 1) return data[at] === 0x20 && data[at + 1] === 0x2D && data[at + 2] === 0x3E && data[at + 3] === 0x5B;
  if (k === 2) return data[at] === 0x5D && data[at + 1] === 0x20 && data[at + 2] === 0x5B;
  return data[at] === 0x5D;
}

// The amount that starts at `at` ("-12.34"), in whole cents, exact: at most
// 13 digits before the point (16 characters without the sign); NaN where
// there is none. Where what was read ends goes into out[i].
function amountAt(data, at, end, out, i) {
  const negative = data[at] === 0x2D;
  if (negative) at++;
  let value = 0;
  const first = at;
  for (let d = data[at] - 0x30; at < end && d >= 0 && d <= 9; d = data[++at] - 0x30) value = value * 10 + d;
  const digits = at - first;
  const d1 = data[at + 1] - 0x30;
  const d2 = data[at + 2] - 0x30;
  out[i] = at;
  if (digits === 0 || digits > 13 || data[at] !== 0x2E || !(d1 >= 0 && d1 <= 9 && d2 >= 0 && d2 <= 9)) return NaN;
  out[i] = at + 3;
  value = value * 100 + d1 * 10 + d2;
  return negative ? -value : value;
}

// An amount's whole text (ASCII bytes, no spaces) in whole cents, or NaN.
function centsOf(data, from, to) {
  const end = [0];
  const value = amountAt(data, from, to, end, 0);
  return end[0] === to ? value : NaN;
}

// Why an amount's text gives NaN: 'large' (a number too long to be exact)
// or 'amount' (not a number).
function notCents(text) {
  return /^-?\d+\.\d\d$/.test(text) ? 'large' : 'amount';
}

// Cents as the reports print them: "-1234.56"; NaN as "—".
function amount(cents) {
  if (!Number.isFinite(cents)) return '—';
  const magnitude = Math.abs(cents);
  return `${cents < 0 ? '-' : ''}${Math.floor(magnitude / 100)}.${String(magnitude % 100).padStart(2, '0')}`;
}

// Bytes (ASCII) as a string.
function ascii(data, from, to) {
  return String.fromCharCode(...data.subarray(from, to));
}

export { rowFields, centsOf, notCents, amount, ascii };
