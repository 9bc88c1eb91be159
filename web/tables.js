// The reports as tables, their lines exactly as the program wrote them, by
// month, and both plans' sums by year. Only the rows in view exist. The
// scroll box is at most SCROLL_HEIGHT high and its scroll position is mapped
// onto the rows: a box the full height of a million rows would pass the
// height a browser can lay out (Chromium stops at about 33.5 million device
// pixels) and hide the last rows.
import { $, T } from './texts.js';
import { rowFields, amount } from './printed.js';

const SCROLL_HEIGHT = 1000000;
const gbk = new TextDecoder('gbk');

// Line i of a report, decoded from GBK, without its line end.
function lineOf(report, i) {
  return gbk.decode(report.bytes.subarray(report.starts[i], report.starts[i + 1])).replace(/\r?\n$/, '');
}

// Row i's four cells (period, payment, principal, interest) as printed; a
// line that is not a row whole.
function cellsOf(report, i) {
  const f = new Int32Array(8);
  const [start, end] = [report.starts[i + 2], report.starts[i + 3]];
  if (rowFields(report.bytes, start, end, f) < 0) return [lineOf(report, i + 2), '', '', ''];
  return [0, 2, 4, 6].map((k) => gbk.decode(report.bytes.subarray(f[k], f[k + 1])));
}

// Year i's cells: both plans' payments, principal and interest in it.
function yearCells(years, i) {
  return [String(i + 1), ...[years.debx, years.debj].flatMap((y) => [0, 1, 2].map((k) => (y ? amount(y[3 * i + k]) : '—')))];
}

// A table row of `cells`, each with the ARIA `role` given.
function rowElement(cells, role) {
  const row = document.createElement('div');
  row.className = 'row';
  row.setAttribute('role', 'row');
  for (const cell of cells) {
    const span = document.createElement('span');
    span.setAttribute('role', role);
    span.textContent = cell.trim();
    row.append(span);
  }
  return row;
}

// Shows `report` (or hides the table where there is none) from its first row.
function showTable(name, report) {
  const box = $(`#report-${name}`);
  box.hidden = !report;
  if (!report) return;
  box.querySelector('.title').textContent = lineOf(report, 0);
  box.querySelector('.totals').textContent = lineOf(report, report.count - 1);
  showRows(box, report.rows, (i) => cellsOf(report, i));
}

// Shows both plans' sums by year, from the first year.
function showYears(debx, debj) {
  const years = { debx: debx && debx.years, debj: debj && debj.years };
  const count = Math.max(...[debx, debj].map((r) => (r ? r.years.length / 3 : 0)));
  showRows($('#years'), count, (i) => yearCells(years, i));
}

// The rows of a table in `box`: `count` of them, row i's cells from `cells`.
function showRows(box, count, cells) {
  const rows = box.querySelector('.rows');
  box.querySelector('[role=table]').setAttribute('aria-rowcount', count + 1);
  rows.table = { cells, count, offset: 0, expected: null };
  rows.scrollTop = 0;
  renderTable(rows);
}

// The column headers in the page's language, above the report's own rows.
function showHeads() {
  document.querySelectorAll('.report .row.head').forEach((head) => head.replaceChildren(...rowElement(T.head, 'columnheader').children));
  $('#years .row.head').replaceChildren(...rowElement(T.yearsHead, 'columnheader').children);
}

// A row's height in CSS pixels, from the table's font.
function rowHeight(rows) {
  return Math.round(1.6 * parseFloat(getComputedStyle(rows).fontSize));
}

// Draws the rows in view. `offset` is how far down the rows, in pixels, the
// top of the view is: the scroll position mapped onto all of them, or where
// the keyboard put it.
function renderTable(rows) {
  const t = rows.table;
  if (!t) return;
  const height = rowHeight(rows);
  const view = rows.clientHeight;
  const total = t.count * height;
  const spacer = rows.querySelector('.spacer');
  spacer.style.height = `${Math.min(total, SCROLL_HEIGHT)}px`;
  const scrollable = Math.max(Math.min(total, SCROLL_HEIGHT) - view, 0);
  const offsetMax = Math.max(total - view, 0);
  if (t.expected === null || Math.abs(rows.scrollTop - t.expected) > 1) {
    t.offset = scrollable ? rows.scrollTop / scrollable * offsetMax : 0;
    t.expected = null;
  }
  const first = Math.floor(t.offset / height);
  const drawn = [];
  for (let i = first; i < Math.min(t.count, first + Math.ceil(view / height) + 1); i++) {
    const row = rowElement(t.cells(i), 'cell');
    row.setAttribute('aria-rowindex', i + 2);
    row.style.top = `${rows.scrollTop + i * height - t.offset}px`;
    row.style.height = row.style.lineHeight = `${height}px`;
    row.classList.toggle('even', i % 2 === 1);
    drawn.push(row);
  }
  rows.replaceChildren(spacer, ...drawn);
}

// The keys move by rows and pages of the table itself, whatever the mapping.
function tableKey(event) {
  const rows = event.currentTarget;
  const t = rows.table;
  const height = rowHeight(rows);
  const page = Math.max(rows.clientHeight - height, height);
  const moves = { ArrowDown: height, ArrowUp: -height, PageDown: page, PageUp: -page, ' ': page, Home: -Infinity, End: Infinity };
  if (!t || !(event.key in moves)) return;
  event.preventDefault();
  const offsetMax = Math.max(t.count * height - rows.clientHeight, 0);
  const offset = Math.min(Math.max(t.offset + moves[event.key], 0), offsetMax);
  const scrollable = Math.max(Math.min(t.count * height, SCROLL_HEIGHT) - rows.clientHeight, 0);
  rows.scrollTop = offsetMax ? offset / offsetMax * scrollable : 0;
  t.offset = offset;
  t.expected = rows.scrollTop;
  renderTable(rows);
}

export { gbk, lineOf, cellsOf, yearCells, showTable, showYears, showHeads, renderTable, tableKey };
