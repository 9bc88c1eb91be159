// A plan's schedule as a spreadsheet file: UTF-8 with a byte-order mark (so
// that a Chinese Excel reads it right), CR LF, the column headers in the
// page's language, a row a month (period, payment, principal, interest) with
// the amounts exactly as the report prints them, and a totals row. Made a
// chunk of rows at a time, so that the page never stops for long.
import { T } from './texts.js';
import { rowFields } from './printed.js';

const CSV_CHUNK = 50000; // rows made between two breaks

// The CSV of `report` (with its figures `plan`) as a Blob.
async function csvOf(report, plan) {
  const text = new TextEncoder();
  const parts = [new Uint8Array([0xEF, 0xBB, 0xBF]), text.encode(`${T.head.join(',')}\r\n`)];
  const data = report.bytes;
  const f = new Int32Array(8);
  for (let first = 0; first < report.rows; first += CSV_CHUNK) {
    const last = Math.min(first + CSV_CHUNK, report.rows);
    // A row's CSV ("001,5307.27,1223.94,4083.33") is shorter than the row.
    const out = new Uint8Array(report.starts[last + 2] - report.starts[first + 2]);
    let n = 0;
    for (let i = first; i < last; i++) {
      rowFields(data, report.starts[i + 2], report.starts[i + 3], f);
      for (let k = 0; k < 8; k += 2) {
        if (k) out[n++] = 0x2C;
        out.set(data.subarray(f[k], f[k + 1]), n);
        n += f[k + 1] - f[k];
      }
      out[n++] = 13;
      out[n++] = 10;
    }
    parts.push(out.subarray(0, n));
    await new Promise((resolve) => setTimeout(resolve));
  }
  if (plan.paid !== null) parts.push(text.encode(`${T.csvTotal},${plan.paid},${plan.principal},${plan.interest}\r\n`));
  return new Blob(parts, { type: 'text/csv' });
}

// Saves `blob` as `name`, as a link the borrower clicked would.
function saveAs(blob, name) {
  const link = Object.assign(document.createElement('a'), { href: URL.createObjectURL(blob), download: name });
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

export { csvOf, saveAs };
