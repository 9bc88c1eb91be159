// The form and its warnings: cfg.txt written from the typed loan, and what the
// program will read from any cfg.txt, worked out as the program reads it
// (src/cfg.cpp, src/loan.cpp), so that each warning says what it will do.
import { $, T, number } from './texts.js';

const PERIODS_MAX = 1200000;
// The program reads at most this many bytes of cfg.txt, after its text-mode
// translation (CR LF as one byte), and never more than twice that plus one
// raw bytes: the rest of a file cannot change what it does.
const CFG_CONTENT_MAX = 127;
const CFG_RAW_MAX = 2 * CFG_CONTENT_MAX + 1;
const INT32_MAX = 2147483647;
const FIELDS = ['sum', 'year', 'rate'];

// The rate typed in percent as the fraction cfg.txt wants, by moving the
// decimal point two places in the text ("4.9" gives "0.049"), so that the
// program reads exactly the number typed; what follows the number is kept.
function percentToFraction(text) {
  const m = /^(\s*[+-]?)(\d*)(?:\.(\d*))?([\s\S]*)$/.exec(text);
  const digits = m[2] + (m[3] || '');
  if (digits === '') return text;
  const point = m[2].length - 2;
  const number = point <= 0 ? '0.' + '0'.repeat(-point) + digits
    : digits.slice(0, point) + '.' + digits.slice(point);
  return m[1] + number + m[4];
}

// The other way: a fraction's number text in percent ("0.049" gives "4.9",
// and so does "4.9e-2": an exponent of one or two digits goes into the point).
function fractionToPercent(text) {
  const m = /^([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d{1,2})(?!\d))?(.*)$/.exec(text);
  const digits = m[2] + (m[3] || '');
  const point = m[2].length + 2 + Number(m[4] || 0);
  const padded = '0'.repeat(Math.max(-point, 0)) + digits + '0'.repeat(Math.max(point - digits.length, 0));
  const whole = padded.slice(0, Math.max(point, 0)).replace(/^0+(?=\d)/, '') || '0';
  const rest = padded.slice(Math.max(point, 0)).replace(/0+$/, '');
  return m[1] + whole + (rest ? '.' + rest : '') + m[5];
}

const isSpace = (c) => /^[ \t\n\v\f\r]$/.test(c);

// atoi with the program's saturation at the signed 32-bit limits.
function parseInt32(text) {
  let at = 0;
  while (isSpace(text[at] || '')) at++;
  const negative = text[at] === '-';
  if (text[at] === '+' || text[at] === '-') at++;
  let magnitude = 0;
  for (; /[0-9]/.test(text[at] || ''); at++) magnitude = Math.min(magnitude * 10 + Number(text[at]), 2 ** 31);
  return Math.min(negative ? -magnitude : magnitude, INT32_MAX);
}

// The number the program reads as the rate: its text (sign, digits, point,
// exponent) and its value in single precision.
function parseRate(text) {
  const m = /^[ \t\n\v\f\r]*([+-]?)((?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)?/.exec(text);
  const number = m[2] === undefined ? '' : m[1] + m[2];
  return { number, value: number ? Math.fround(Number(number)) : 0 };
}

// What the program reads from cfg.txt's bytes: the first three fields as it
// splits them (each a string of bytes, or undefined where the content ends
// first), the values and the number of bytes it considers. Where the limit
// of CFG_CONTENT_MAX bytes, not the file, ends the content (`limited`), the
// fields after it are dropped and the one it ends within is cut (`cut`: its
// index, or -1); one that would start just past it is dropped too.
function readCfg(bytes) {
  const content = [];
  let i = 0;
  for (; i < bytes.length && content.length < CFG_CONTENT_MAX && bytes[i] !== 0x1A; i++) {
    if (bytes[i] === 13 && bytes[i + 1] === 10 && i + 1 < bytes.length) i++;
    content.push(bytes[i]);
  }
  const text = String.fromCharCode(...content);
  const lines = text.split('\0')[0].split(/[\r\n]/);
  const limited = i < bytes.length && bytes[i] !== 0x1A && !text.includes('\0');
  const within = limited && lines.length <= 3 && ![0, 10, 13].includes(bytes[i]);
  const cut = within && lines.at(-1) !== '' ? lines.length - 1 : -1;
  if (within && cut < 0) lines.pop();
  const texts = lines.slice(0, 3);
  const rate = parseRate(texts[2] || '');
  return { texts, limited, cut, sum: parseInt32(texts[0] || ''), year: parseInt32(texts[1] || ''),
    rate: texts.length > 2 ? rate.value : 0, rateNumber: rate.number, length: content.length };
}

// The monthly periods of a term: the program's 32-bit count of year * 12.
function periodsOf(year) {
  return Math.imul(year >>> 0, 12) >>> 0;
}

// Numbers as the program reads them whole: only ASCII white space around
// them, the only kind it skips (not a no-break or an ideographic space).
const wholeNumber = /^[ \t\n\v\f\r]*[+-]?\d+[ \t\n\v\f\r]*$/;
const decimalNumber = /^[ \t\n\v\f\r]*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?[ \t\n\v\f\r]*$/;

// The warnings for a cfg.txt: each {field, parts: [text, value, text],
// fix (a rate in percent to offer instead)}, where the value is what the
// program computes with: the principal, the periods, the rate in percent.
// `typed` holds the three texts as typed (the rate in percent), or is null
// for a chosen file.
function warningsFor(bytes, typed) {
  const read = readCfg(bytes);
  const shown = typed ? FIELDS.map((f) => typed[f]) : read.texts.map(decodeField);
  const size = typed ? bytes.length : null; // a chosen file's is not known here
  const warnings = [];
  const add = (field, parts, fix) => warnings.push({ field, parts, fix });
  // What went wrong with a field's text, if anything, as the start of its warning.
  const textProblem = (i, pattern) => {
    const name = T.field[i];
    if (read.texts[i] === undefined) return read.limited ? T.dropped(name, size) : T.missing(name);
    if (i === read.cut) return T.cut(name, size);
    if (read.texts[i].startsWith('\xEF\xBB\xBF')) return T.bom(name);
    if (shown[i].trim() === '') return T.empty(name);
    if (!pattern.test(shown[i])) return T.notNumber(name, shown[i]);
    return null;
  };
  const sumProblem = textProblem(0, wholeNumber);
  const digits = (shown[0] || '').replace(/^\s*[+-]?0*/, '').match(/^\d*/)[0];
  if (read.sum < 0) add('sum', T.sumNegative(sumProblem, read.sum, read.sum >>> 0));
  else if (read.sum === INT32_MAX && (digits.length > 10 || digits > String(INT32_MAX))) add('sum', T.sumLarge(sumProblem, INT32_MAX));
  else if (sumProblem) add('sum', [sumProblem, number(read.sum), T.yuan]);

  const yearProblem = textProblem(1, wholeNumber);
  const years = read.year >>> 0;
  const months = years * 12;
  const periods = periodsOf(read.year);
  if (periods > PERIODS_MAX) add('year', T.refused(yearProblem, read.year, years, months, periods));
  else if (months !== periods) add('year', T.wrapped(yearProblem, years, months, periods));
  else if (periods === 0 || yearProblem) add('year', T.periods(yearProblem, periods));

  const rateProblem = textProblem(2, decimalNumber);
  const percent = percentText(read.rate);
  const fix = typed && decimalNumber.test(shown[2]) && read.rate > 0 && read.rate < 0.01 ? fractionToPercent(shown[2].trim()) : null;
  if (fix) add('rate', T.rateSmall(rateProblem, percent, fix), fix);
  else if (read.rate > 1 || read.rate < 0) add('rate', T.rateOutside(rateProblem, percent, read.rate > 1, !typed));
  else if (rateProblem) add('rate', [rateProblem, percent, ' %']);
  return { read, warnings };
}

// A field's bytes as text to show (UTF-8).
function decodeField(text) {
  return text === undefined ? '' : new TextDecoder().decode(Uint8Array.from(text, (c) => c.charCodeAt(0)));
}

// A rate in percent, as few digits as single precision holds.
function percentText(rate) {
  const percent = Number((rate * 100).toPrecision(7));
  return !Number.isFinite(percent) ? (rate > 0 ? '∞' : '-∞') : Math.abs(percent) >= 1e15 ? String(percent) : number(percent, 6);
}

// The texts typed in the form and the cfg.txt written from them.
function typedLoan() {
  const form = $('#loan-form');
  const typed = Object.fromEntries(FIELDS.map((name) => [name, form.elements[name].value]));
  return { typed, bytes: new TextEncoder().encode(`${typed.sum}\n${typed.year}\n${percentToFraction(typed.rate)}\n`) };
}

// The form shows the values a chosen cfg.txt gave the program.
function showReadValues(read) {
  const form = $('#loan-form');
  form.elements.sum.value = read.texts.length > 0 ? String(read.sum) : '';
  form.elements.year.value = read.texts.length > 1 ? String(read.year) : '';
  form.elements.rate.value = read.texts.length > 2 ? fractionToPercent(read.rateNumber || '0') : '';
}

// The warnings above the results, or none; `offer` offers to run anyway.
function showWarnings(warnings, offer) {
  const list = warnings.map((w) => {
    const item = document.createElement('li');
    item.tabIndex = -1; // so that the focus can go to it
    item.dataset.field = w.field;
    item.append(w.parts[0], Object.assign(document.createElement('strong'), { textContent: w.parts[1] }), w.parts[2]);
    if (w.fix) {
      const button = Object.assign(document.createElement('button'), { type: 'button', textContent: T.useRate(w.fix) });
      button.addEventListener('click', () => {
        $('#loan-form').elements.rate.value = w.fix;
        $('#run').click();
      });
      item.append(' ', button);
    }
    return item;
  });
  $('#warnings ul').replaceChildren(...list);
  $('#warnings').hidden = list.length === 0;
  $('#run-anyway').hidden = !offer;
}

export { CFG_RAW_MAX, warningsFor, typedLoan, showReadValues, showWarnings };
