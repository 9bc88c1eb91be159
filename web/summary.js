// The summary: both plans side by side (monthly payment, total interest,
// total paid) and what tells them apart, every figure one that the reports or
// tools/compare.sh print, written with thousands separators; compare.sh's own
// text below it.
import { $, T, grouped, money, number } from './texts.js';

// The summary of `plans` (each plan's figures as printed) and `c`, the
// comparison's figures or its error.
function showSummary(plans, c) {
  // An amount as printed, grouped and with its unit; other text ("nan") as it is.
  const yuan = (text) => (/^-?\d/.test(text) ? T.yuanAmount(grouped(text)) : text);
  $('#comparison').textContent = c.error ? `${c.error}\n` : c.text;
  for (const name of ['debx', 'debj']) {
    const items = [];
    const add = (term, amount) => items.push(Object.assign(document.createElement('dt'), { textContent: term }),
      Object.assign(document.createElement('dd'), { textContent: amount }));
    const p = plans[name];
    if (p && p.first !== null) {
      add(p.first === p.last ? T.monthly : T.firstLast, yuan(p.first) + (p.first === p.last ? '' : ` → ${yuan(p.last)}`));
      items[1].className = 'big';
    } else if (p) {
      add(T.monthly, T.noPeriods);
    }
    if (p && p.paid !== null) {
      add(T.interest, yuan(p.interest));
      add(T.paid, yuan(p.paid));
    }
    $(`#plan-${name}`).hidden = !p;
    $(`#plan-${name} dl`).replaceChildren(...items);
    const note = $(`#plan-${name} .note`);
    note.hidden = !p || !p.oddPeriod;
    note.textContent = p && p.oddPeriod ? T.notAmounts(Math.ceil(p.oddPeriod / 12)) : '';
  }
  const lines = c.error ? [[T.noComparison(T.why[c.reason] || c.error)]] : c.rows === 0 ? [] : [T.saved(T.yuanAmount(money(c.saved))),
    c.lower === null ? [T.neverLower] : T.lower(number(c.lower)),
    c.most > 0 ? T.most(T.yuanAmount(money(c.most)), number(c.mostPeriod)) : [T.neverMore]];
  $('#difference').hidden = lines.length === 0;
  $('#difference').replaceChildren(...lines.map((parts) => {
    const item = document.createElement('li');
    parts.forEach((part, i) => item.append(i % 2 ? Object.assign(document.createElement('strong'), { textContent: part }) : part));
    return item;
  }));
  const words = (p) => (p && p.first !== null ? T.altPlan(yuan(p.first), yuan(p.last), yuan(p.interest || '')) : T.noPeriods);
  $('#chart').setAttribute('aria-label', T.alt({ x: words(plans.debx), j: words(plans.debj),
    d: [...$('#difference').children].map((li) => li.textContent).join(T.sep) }));
}

export { showSummary };
