// What the program read of cfg.txt and what it found unusual, as `loan
// --check` prints it (run by worker.js on the cfg.txt about to run), and the
// findings on the page: each in the page's language, from its code, with the
// value the program uses in bold and, where the program names what was
// probably meant, a button that runs that. Nothing here reads cfg.txt or
// works a finding out again: every value and number comes from the program.
import { $, T, number } from './texts.js';
import { FIELD_KEYS, formValue, withSeparators } from './form.js';


// A field's text as the check quotes it (`\xHH`, `\"`, `\\` escaped), as
// text to show (UTF-8).
function unquote(quoted) {
  const bytes = [];
  for (let i = 0; i < quoted.length; i++) {
    if (quoted[i] === '\\' && quoted[i + 1] === 'x') {
      bytes.push(parseInt(quoted.slice(i + 2, i + 4), 16));
      i += 3;
    } else {
      if (quoted[i] === '\\') i++;
      bytes.push(quoted.charCodeAt(i));
    }
  }
  return new TextDecoder().decode(Uint8Array.from(bytes));
}

// The check's output (`text`) as {length, fields, principal, term, rate,
// findings}, or null where it printed none (cfg.txt could not be opened).
// Each field: its values as printed, and whether it was found, its line and
// its text; each finding: its line (or null), the program's sentence, its
// code and parameter (or null) and the form's field it is about (or null).
function readCheck(text) {
  const lines = text.split('\r\n');
  const head = /^cfg\.txt: (\d+) bytes, (\d+) fields$/.exec(lines[0]);
  if (!head) return null;
  const field = (pattern, line) => {
    const m = pattern.exec(line || '');
    if (!m) return null;
    const where = /^\(line (\d+) "(.*)"\)$/.exec(m.at(-1));
    return { values: m.slice(1, -1), found: Boolean(where), line: where && Number(where[1]), text: where ? unquote(where[2]) : '' };
  };
  const principal = field(/^principal: (-?\d+) (\(.*\))$/, lines[1]);
  const term = field(/^term: (-?\d+) years, (\d+) periods (\(.*\))$/, lines[2]);
  const rate = field(/^rate: (\S+) a year, (\S+) % (\(.*\))$/, lines[3]);
  if (!principal || !term || !rate) return null;
  const read = {
    length: Number(head[1]), fields: Number(head[2]),
    principal: { ...principal, value: principal.values[0] },
    term: { ...term, value: term.values[0], periods: term.values[1] },
    rate: { ...rate, fraction: rate.values[0], percent: rate.values[1] },
  };
  read.findings = lines.slice(4).map((line) => /^loan: cfg\.txt(?: line (\d+))?: (.*) \[([a-z0-9-]+)(?: ([^\] ]+))?\]$/.exec(line))
    .filter(Boolean).map(([, line, sentence, code, param]) => {
      const at = line ? Number(line) : null;
      const named = Object.keys(FIELD_KEYS).find((f) => code.startsWith(FIELD_KEYS[f] + '-'));
      const byLine = at === null ? null : Object.keys(FIELD_KEYS).find((f) => read[FIELD_KEYS[f]].line === at);
      return { line: at, sentence, code, param: param || null, field: named || byLine || null };
    });
  return read;
}

// The codes whose parameter is the field's text probably meant.
const FIX_CODES = ['bom', 'text-after-number', 'rate-percent', 'rate-comma'];

// The findings of `read` above the results, or none; `offer` offers to run
// the loan as it is.
function showFindings(read, offer) {
  const list = (read ? read.findings : []).map((finding) => {
    const item = document.createElement('li');
    item.tabIndex = -1; // so that the focus can go to it
    item.dataset.field = finding.field || 'file';
    item.dataset.code = finding.code;
    const words = T.finding[finding.code];
    const parts = words ? words(findingValues(read, finding)) : [finding.sentence, '', ''];
    item.append(parts[0], Object.assign(document.createElement('strong'), { textContent: parts[1] }), parts[2]);
    const fix = finding.param && finding.field && FIX_CODES.includes(finding.code) ? formValue(finding.field, finding.param) : null;
    if (fix !== null) {
      const button = Object.assign(document.createElement('button'), { type: 'button', textContent: fixLabel(finding.field, fix) });
      button.addEventListener('click', () => {
        $('#loan-form').elements[finding.field].value = fix;
        $('#run').click();
      });
      item.append(' ', button);
    }
    return item;
  });
  $('#warnings ul').replaceChildren(...list);
  $('#warnings').hidden = list.length === 0;
  $('#run-anyway').hidden = !offer || list.length === 0;
}

// What a finding's sentence shows, all as the program printed it: the field's
// name, text and value as read (`value`), the values the program uses
// (principal, years, periods, rate in percent), the finding's parameter and
// line, cfg.txt's length and fields.
function findingValues(read, finding) {
  const key = finding.field && FIELD_KEYS[finding.field];
  const v = {
    name: key ? T.field[finding.field] : '', text: key ? read[key].text : '', line: finding.line, param: finding.param,
    principal: number(Number(read.principal.value)), years: number(Number(read.term.value)),
    periods: number(Number(read.term.periods)), percent: read.rate.percent, length: read.length, fields: read.fields,
  };
  v.value = key ? T.value[finding.field](v) : '';
  return v;
}

// A fix's button label: the value in the form's terms, with its unit.
function fixLabel(field, value) {
  const unit = $('#loan-form').elements.unit;
  return T.useFix[field](withSeparators(value), unit.options[unit.selectedIndex].text);
}

export { readCheck, showFindings };
