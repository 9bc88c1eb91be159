// How the program prints a report's row and its amounts, read in one place:
// the byte ranges of a row's four fields, an amount's value in whole cents,
// and cents written back as the program prints them. The worker reads every
// row with these as it arrives; the page cuts the rows it shows and saves.

// A row: "%03d : %5.02f ->[%5.02f] [%5.02f]" and its line end. Writes the
// [start, end) of the period and of the three amounts (spaces trimmed) into
// `out` (8 numbers) and returns true; false for a line that is not a row.
function rowFields(data, start, end, out) {
  let at = start;
  while (at < end && data[at] >= 0x30 && data[at] <= 0x39) at++;
  if (at === start || data[at] !== 0x20 || data[at + 1] !== 0x3A || data[at + 2] !== 0x20) return false;
  out[0] = start;
  out[1] = at;
  at += 3;
  // The payment ends at " ->[", the principal at "] [", the interest at "]".
  for (let k = 1; k <= 3; k++) {
    while (at < end && data[at] === 0x20) at++;
    let to = at;
    if (k === 1) while (to < end && !(data[to] === 0x2D && data[to + 1] === 0x3E && data[to + 2] === 0x5B)) to++;
    else while (to < end && data[to] !== 0x5D) to++;
    if (to >= end) return false;
    out[2 * k] = at;
    let last = to;
    while (last > at && data[last - 1] === 0x20) last--;
    out[2 * k + 1] = last;
    at = k === 1 ? to + 3 : k === 2 ? to + 3 : to + 1;
    if (k === 2 && (data[to + 1] !== 0x20 || data[to + 2] !== 0x5B)) return false;
  }
  return true;
}

// An amount as printed ("-12.34", no spaces) in whole cents, exact below
// 2^53; NaN where the text is not one ("nan", "inf") or is too long to be
// exact (more than 16 characters without the sign).
function centsOf(data, from, to) {
  const negative = data[from] === 0x2D;
  let at = negative ? from + 1 : from;
  if (to - at > 16 || to - at < 4 || data[to - 3] !== 0x2E) return NaN;
  let value = 0;
  for (; at < to; at++) {
    const d = data[at] - 0x30;
    if (at === to - 3) continue;
    if (d < 0 || d > 9) return NaN;
    value = value * 10 + d;
  }
  return negative ? -value : value;
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
