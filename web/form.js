// The form: the typed loan written as cfg.txt (the principal in yuan, the
// rate as a fraction), shown as written with a note for each reading of the
// borrower's own way of writing it (100万, 4,9, 4.9%), and the form filled from
// what the program read of a chosen cfg.txt. Nothing here reads cfg.txt:
// what the program makes of it is its own to say (findings.js).
import { $, T, number } from './texts.js';

const FIELDS = ['sum', 'year', 'rate'];
// The form's field names for the check's lines.
const FIELD_KEYS = { sum: 'principal', year: 'term', rate: 'rate' };

// The number at the start of `text`: white space and a sign before it, its
// whole and fractional digits, and whatever follows it.
function numberParts(text) {
  const m = /^(\s*[+-]?)(\d*)(?:\.(\d*))?([\s\S]*)$/.exec(text);
  return { lead: m[1], whole: m[2], fraction: m[3] || '', rest: m[4] };
}

// Moves the decimal point of the number at the start of `text` by `places`
// (to the right where positive), in its digits: "4.9" by -2 gives "0.049",
// "100" by 4 gives "1000000", so that the program reads exactly the number
// typed. What comes before and after the number is kept; a text without
// digits there is returned as it is.
function movePoint(text, places) {
  const n = numberParts(text);
  const digits = n.whole + n.fraction;
  if (digits === '') return text;
  const point = n.whole.length + places;
  let number = point <= 0 ? '0.' + '0'.repeat(-point) + digits
    : point >= digits.length ? digits + '0'.repeat(point - digits.length)
      : digits.slice(0, point) + '.' + digits.slice(point);
  if (number.includes('.')) {
    let end = number.length;
    while (number[end - 1] === '0') end--;
    number = number.slice(0, number[end - 1] === '.' ? end - 1 : end);
  }
  let start = 0;
  while (number[start] === '0' && start + 1 < number.length && number[start + 1] !== '.') start++;
  return n.lead + number.slice(start) + n.rest;
}

// The principal's text in yuan: typed in 万元 (`unit` 'wan'), its point
// moves four places; a number typed with 万 or 万元 after it ("100万") is
// read as 万元 in either unit, with a note in 元.
function principalInYuan(text, unit) {
  const bare = text.trimEnd();
  const wan = /\d万元?$/.test(bare.slice(-3)) ? bare.replace(/万元?$/, '') : null;
  const plain = wan !== null && numberParts(wan).rest === '';
  if (!plain) return { text: unit === 'wan' ? movePoint(text, 4) : text };
  const yuan = movePoint(wan, 4);
  return { text: yuan, note: unit === 'wan' ? null : { kind: 'wan', typed: text, read: yuan } };
}

// The rate's text as a fraction: a % sign after it is the field's own unit
// and a decimal comma ("4,9") is read as a point, each with a note; then the
// point moves two places.
function rateAsFraction(text) {
  const bare = text.trimEnd();
  const sign = /[%％]$/.test(bare);
  const typed = sign ? bare.slice(0, -1) : text;
  const comma = /^(\s*[+-]?\d+)[,，](\d+\s*)$/.exec(typed);
  const point = comma ? `${comma[1]}.${comma[2]}` : typed;
  const note = comma || sign ? { kind: comma ? 'comma' : 'percent', typed: text, read: point.trim() } : null;
  return { text: movePoint(point, -2), note };
}

// The typed loan: the texts as typed, the unit, the cfg.txt written from
// them (text and bytes) and the notes on how it was written.
function typedLoan() {
  const form = $('#loan-form');
  const typed = Object.fromEntries(FIELDS.map((name) => [name, form.elements[name].value]));
  const sum = principalInYuan(typed.sum, form.elements.unit.value);
  const rate = rateAsFraction(typed.rate);
  const text = `${sum.text}\n${typed.year}\n${rate.text}\n`;
  return { typed, text, bytes: new TextEncoder().encode(text), notes: [sum.note, rate.note].filter(Boolean) };
}

// Whole yuan as a borrower reads them: digits (as many as a double holds
// exactly) with thousands separators; any other text as it is.
function withSeparators(text) {
  return /^\d{1,15}$/.test(text) ? number(Number(text)) : text;
}

// Shows the cfg.txt the form writes and its notes, or nothing for an empty form.
function showTypedCfg() {
  const loan = typedLoan();
  $('#form-writes').hidden = FIELDS.every((name) => loan.typed[name] === '');
  $('#cfg-text').textContent = loan.text;
  $('#form-notes').replaceChildren(...loan.notes.map((note) => Object.assign(document.createElement('li'), {
    textContent: T.formNote[note.kind](note.typed.trim(), withSeparators(note.read)),
  })));
}

// The unit selector in the page's language (万元 first in Chinese), keeping
// the choice made; the principal's example in that unit.
function showUnits() {
  const select = $('#loan-form').elements.unit;
  const chosen = select.value;
  select.replaceChildren(...T.units.map(([value, text]) => new Option(text, value, false, value === chosen)));
  if (!chosen) select.selectedIndex = 0;
  select.setAttribute('aria-label', T.unitLabel);
  $('#loan-form').elements.sum.placeholder = T.example(select.value === 'wan' ? '100' : '1000000');
}

// A value for the form from one in cfg.txt's terms: the principal in the
// unit chosen, the rate in percent.
function formValue(field, text) {
  if (field === 'sum') return $('#loan-form').elements.unit.value === 'wan' ? movePoint(text, -4) : text;
  return field === 'rate' ? movePoint(text, 2) : text;
}

// The form shows what the program read from a chosen cfg.txt (`read`, from
// readCheck()): the principal and the term it uses; the rate as the text it
// read where the program found nothing in it (its exact number), else as
// printed (six decimals), else, where that is no number (inf), as read.
function showReadValues(read) {
  const form = $('#loan-form');
  const rate = read.rate.found && !read.findings.some((f) => f.field === 'rate') ? read.rate.text.trim() : read.rate.fraction;
  const values = { sum: read.principal.value, year: read.term.value, rate: /^-?[\d.]+$/.test(rate) ? rate : read.rate.text };
  for (const field of FIELDS) form.elements[field].value = read[FIELD_KEYS[field]].found ? formValue(field, values[field]) : '';
  showTypedCfg();
  $('#form-writes').hidden = true; // the file ran, not what the form writes
}

export { FIELD_KEYS, typedLoan, showTypedCfg, showUnits, formValue, withSeparators, showReadValues };
