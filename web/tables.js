// The two reports as tables, their lines exactly as the program wrote them.
// Only the rows in view exist. The scroll box is at most SCROLL_HEIGHT high and
// its scroll position is mapped onto the rows: a box the full height of a
// million rows would pass the height a browser can lay out (Chromium stops at
// about 33.5 million device pixels) and hide the last rows.

const SCROLL_HEIGHT = 1000000;
const gbk = new TextDecoder('gbk');

// Line i of a report, decoded from GBK, without its line end.
function lineOf(report, i) {
  return gbk.decode(report.bytes.subarray(report.starts[i], report.starts[i + 1])).replace(/\r?\n$/, '');
}

// A row's four cells (period, payment, principal, interest); other lines whole.
function cellsOf(text) {
  const m = /^(\S+) : (.*) ->\[(.*)\] \[(.*)\]$/.exec(text);
  return m ? m.slice(1) : [text, '', '', ''];
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
  const rows = box.querySelector('.rows');
  const count = Math.max(report.count - 3, 0);
  box.querySelector('.title').textContent = lineOf(report, 0);
  box.querySelector('.totals').textContent = lineOf(report, report.count - 1);
  box.querySelector('[role=table]').setAttribute('aria-rowcount', count + 1);
  rows.table = { report, count, offset: 0, expected: null };
  rows.scrollTop = 0;
  renderTable(rows);
}

// The column headers in the page's language, above the report's own rows.
function showHeads() {
  document.querySelectorAll('.row.head').forEach((head) => head.replaceChildren(...rowElement(T.head, 'columnheader').children));
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
    const row = rowElement(cellsOf(lineOf(t.report, i + 2)), 'cell');
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
