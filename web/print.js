// The printed page: the loan, the summary, the chart and both whole
// schedules, their column headers on every page (a table's head repeats);
// beyond PRINT_MONTHS periods, both plans' sums by year instead. The form,
// the buttons and the scrolled tables are left out by the print styles.
import { $, T } from './texts.js';
import { lineOf, cellsOf, yearCells } from './tables.js';

const PRINT_MONTHS = 1200;

// Text made safe to put in HTML.
function escaped(text) {
  return text.replace(/[&<>"]/g, (c) => `&${{ '&': 'amp', '<': 'lt', '>': 'gt', '"': 'quot' }[c]};`);
}

// A table of `count` rows, row i's cells from `cells`, under `head`.
function tableHtml(head, count, cells) {
  const rows = [];
  for (let i = 0; i < count; i++) rows.push(`<tr>${cells(i).map((c) => `<td>${escaped(c.trim())}</td>`).join('')}</tr>`);
  return `<table><thead><tr>${head.map((h) => `<th>${escaped(h)}</th>`).join('')}</tr></thead>` +
    `<tbody>${rows.join('')}</tbody></table>`;
}

// The schedules of `answer` (the worker's) for print, in the page's language.
function printHtml(answer) {
  const plans = ['debx', 'debj'].filter((n) => answer[n]);
  const lines = (report, i) => {
    const line = lineOf(report, i);
    const english = T.english(line);
    return `<p lang="zh-CN">${escaped(line)}</p>${english ? `<p lang="en">${escaped(english)}</p>` : ''}`;
  };
  const count = Math.max(0, ...plans.map((n) => answer[n].rows));
  if (count <= PRINT_MONTHS) {
    return plans.map((n) => {
      const r = answer[n];
      return `<section><h2>${escaped(T[`${n}-report`])}</h2>${lines(r, 0)}` +
        `${tableHtml(T.head, r.rows, (i) => cellsOf(r, i))}${lines(r, r.count - 1)}</section>`;
    }).join('');
  }
  const years = Math.max(...plans.map((n) => answer[n].years.length / 3));
  const sums = { debx: answer.debx && answer.debx.years, debj: answer.debj && answer.debj.years };
  return `<section><h2>${escaped(T['years-report'])}</h2>${plans.map((n) => lines(answer[n], 0)).join('')}` +
    tableHtml(T.yearsHead, years, (i) => yearCells(sums, i)) +
    `${plans.map((n) => lines(answer[n], answer[n].count - 1)).join('')}</section>`;
}

// Puts the schedules of `answer` (or none) where the print styles show them:
// at once for a loan of whole months in print; the sums of many years (up to
// 100,000 rows) only when the page is printed, so that no run waits on them.
let printed = null; // the answer whose schedules are in place, or null
let pending = null; // the answer to put in place before printing, or null
function preparePrint(answer) {
  const small = answer && Math.max(...['debx', 'debj'].map((n) => (answer[n] ? answer[n].rows : 0))) <= PRINT_MONTHS;
  pending = answer;
  if (small || !answer) printNow();
}

// The schedules in place now.
function printNow() {
  if (pending === printed) return;
  $('#print').innerHTML = pending ? printHtml(pending) : '';
  printed = pending;
}
window.addEventListener('beforeprint', printNow);

export { preparePrint };
