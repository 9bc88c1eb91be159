// The page's own words in Chinese and in English, chosen from the browser's
// language or by the borrower (remembered where the browser lets the page
// keep it), and the way amounts are written: thousands separators, two
// decimals, exactly the digits the reports print.
import { amount } from './printed.js';

const $ = (selector) => document.querySelector(selector);

// A number with thousands separators and at most `decimals` decimals.
function number(value, decimals = 0) {
  return new Intl.NumberFormat('en-US', { maximumFractionDigits: decimals }).format(value);
}

// A printed amount with thousands separators; other text ("nan") as it is.
function grouped(text) {
  return /^-?\d+\.\d\d$/.test(text) ? text.replace(/\d(?=(\d{3})+\.)/g, '$&,') : text;
}

// Cents as an amount with thousands separators, digit for digit as printed.
function money(cents) {
  return grouped(amount(cents));
}

const TEXTS = {
  zh: {
    lang: 'zh-CN',
    other: 'English',
    otherLang: 'en',
    title: 'loan：等额本息与等额本金月供计算',
    heading: '房贷月供：等额本息与等额本金',
    intro: '输入贷款，或选择、拖入一个 cfg.txt。还款计划由 loan 程序本身在本页内计算，不发送到任何地方。',
    principal: '本金',
    term: '期限（年）',
    rate: '年利率（%）',
    compute: '计算',
    file: '或者用 cfg.txt',
    choose: '选择文件…',
    example: (v) => `例如 ${v}`,
    'warnings-intro': '程序会这样读取，这多半不是你的本意：',
    'run-anyway': '照样计算',
    summary: '一览',
    'program-says': '程序的信息：',
    'program-read': '程序读到：',
    debx: '等额本息',
    'debx-words': '每月还款额相同',
    debj: '等额本金',
    'debj-words': '每月还本金相同，月供逐月减少',
    'compare-text': '两种方式的比较（纯文字）',
    'save-text': '下载报表',
    'save-csv': '下载表格（CSV，可用 Excel 打开）',
    'by-month': '按月',
    'by-year': '按年',
    'years-report': '按年汇总',
    stop: '停止',
    'progress-label': '计算进度',
    progress: (x, j, n) => `等额本息 ${number(x)} / ${number(n)} 期，等额本金 ${number(j)} / ${number(n)} 期`,
    stoppedByYou: '已停止，没有结果。可以再次计算。',
    yearsHead: ['年', '等额本息 还款', '本金', '利息', '等额本金 还款', '本金', '利息'],
    csvTotal: '合计',
    english: () => null,
    'readout-hint': '把指针或手指移到图上，或在图上按方向键（翻页键按年移动），可看任一期两种方式的月供和已付利息。',
    'debx-report': '等额本息还款表',
    'debj-report': '等额本金还款表',
    head: ['期数', '月供', '本金', '利息'],
    sep: '；',
    yuanAmount: (m) => `${m}\u00a0元`, // the unit never on a line of its own
    monthly: '月供',
    firstLast: '月供（首期 → 末期）',
    interest: '利息总额',
    paid: '还款总额',
    noPeriods: '没有还款期',
    notAmounts: (y) => `从第 ${number(y)} 年起，金额超出了程序所用的单精度数能表示的范围，还款表里写作 nan 或 inf，图上的线也在那里中断。`,
    saved: (x) => ['等额本金少付利息 ', x],
    lower: (n) => ['从第 ', n, ' 期起，等额本金的月供更低'],
    neverLower: '等额本金的月供从不更低',
    most: (x, n) => ['在此之前等额本金多付，累计最多多付 ', x, `（到第 ${n} 期）`],
    neverMore: '等额本金从不多付',
    noComparison: (e) => `无法比较：${e}`,
    why: { amount: '报表里有不是数的金额（nan 或 inf）', large: '金额太大，无法精确到分' },
    working: '正在计算…',
    done: (s) => `完成，用时 ${s} 秒。`,
    failed: (n) => `程序报告失败（退出状态 ${n}），见上方信息。`,
    stopped: (e) => `程序中止，没有结果：${e}。可以再次计算。`,
    unreadable: (name) => `浏览器无法读取“${name}”：它是文件夹，或是已被移走、不许读取的文件。`,
    paymentAxis: '月供（元）',
    interestAxis: '已付利息（元）',
    yearAxis: '年',
    monthAxis: '期',
    crossover: (n) => [`第 ${n} 期起`, '等额本金月供更低'],
    readout: (n, byYear, x, j) => `${byYear ? `第 ${number(Math.ceil(n / 12))} 年第 ${(n - 1) % 12 + 1} 个月（第 ${number(n)} 期）` : `第 ${number(n)} 期`}：` +
      `等额本息月供 ${x[0]}，已付利息 ${x[1]}；等额本金月供 ${j[0]}，已付利息 ${j[1]}`,
    alt: (f) => `等额本息${f.x}；等额本金${f.j}。${f.d}`,
    altPlan: (first, last, interest) => `月供 ${first}${first === last ? '' : ` 至 ${last}`}，利息总额 ${interest}`,
  },
  en: {
    lang: 'en',
    other: '中文',
    otherLang: 'zh-CN',
    title: 'loan: equal installments and equal principal',
    heading: 'Monthly repayments: equal installments or equal principal',
    intro: 'Type your loan, or choose or drop a cfg.txt. The schedules are computed in this page by the loan program itself; nothing is sent anywhere.',
    principal: 'Principal',
    term: 'Term (years)',
    rate: 'Annual rate (%)',
    compute: 'Compute',
    file: 'Or use a cfg.txt',
    choose: 'Choose a file…',
    example: (v) => `e.g. ${v}`,
    'warnings-intro': 'The program reads this as below, which is probably not what you mean:',
    'run-anyway': 'Compute it as typed',
    summary: 'At a glance',
    'program-says': 'The program says:',
    'program-read': 'The program read: ',
    debx: 'Equal installments',
    'debx-words': 'the same payment every month',
    debj: 'Equal principal',
    'debj-words': 'the same principal every month, payments fall',
    'compare-text': 'The comparison as plain text',
    'save-text': 'Download',
    'save-csv': 'Spreadsheet (CSV)',
    'by-month': 'By month',
    'by-year': 'By year',
    'years-report': 'Year by year',
    stop: 'Stop',
    'progress-label': 'Progress',
    progress: (x, j, n) => `equal installments ${number(x)} of ${number(n)} periods, equal principal ${number(j)} of ${number(n)}`,
    stoppedByYou: 'Stopped: no results. You can compute again.',
    yearsHead: ['Year', 'Equal installments: paid', 'principal', 'interest', 'Equal principal: paid', 'principal', 'interest'],
    csvTotal: 'Total',
    // The program's title and totals lines in English, the numbers as printed.
    english: (line) => {
      const title = /^(\S+)\[(-?\d+) 元\] \[(-?\d+) 年\] \[利率(.*)%\]$/.exec(line);
      if (title) return `${title[1] === '等额本息借款' ? 'Equal installments loan' : 'Equal principal loan'} [¥${title[2]}] [${title[3]} years] [rate ${title[4]} %]`;
      const totals = /^全部还款: (.*), 本金: (.*), 利息: (.*)$/.exec(line);
      return totals && `Total repaid: ¥${totals[1]}, principal: ¥${totals[2]}, interest: ¥${totals[3]}`;
    },
    'readout-hint': 'Point at the chart, touch it or use the arrow keys on it (Page Up and Page Down by a year) to read both plans\' payment and interest so far in any month.',
    'debx-report': 'Equal installments schedule',
    'debj-report': 'Equal principal schedule',
    head: ['Month', 'Payment', 'Principal', 'Interest'],
    sep: '. ',
    yuanAmount: (m) => `¥${m}`,
    monthly: 'Monthly payment',
    firstLast: 'Monthly payment (first → last)',
    interest: 'Total interest',
    paid: 'Total paid',
    noPeriods: 'No periods',
    notAmounts: (y) => `From year ${number(y)} on, the amounts are larger than the program's single-precision numbers can hold: the schedule shows them as nan or inf, and the chart's line stops there.`,
    saved: (x) => ['Equal principal saves ', x, ' of interest'],
    lower: (n) => ['From month ', n, ' on, equal principal pays less each month'],
    neverLower: 'Equal principal never pays less in a month',
    most: (x, n) => ['Until then it costs more: at most ', x, ` more in all, by month ${n}`],
    neverMore: 'Equal principal never costs more',
    noComparison: (e) => `No comparison: ${e}`,
    why: { amount: 'the reports hold amounts that are not numbers (nan or inf)', large: 'the amounts are too large to compare to the cent' },
    working: 'Computing…',
    done: (s) => `Done in ${s} s.`,
    failed: (n) => `The program reported a failure (exit status ${n}): see its message above.`,
    stopped: (e) => `The program stopped without a result: ${e}. You can compute again.`,
    unreadable: (name) => `The browser cannot read "${name}": it is a folder, or a file that was moved or may not be read.`,
    paymentAxis: 'Monthly payment (yuan)',
    interestAxis: 'Interest paid so far (yuan)',
    yearAxis: 'Year',
    monthAxis: 'Month',
    crossover: (n) => [`from month ${n}`, 'equal principal pays less'],
    readout: (n, byYear, x, j) => `${byYear ? `Year ${number(Math.ceil(n / 12))}, month ${(n - 1) % 12 + 1} (period ${number(n)})` : `Month ${number(n)}`}: ` +
      `equal installments: payment ${x[0]}, interest so far ${x[1]}; equal principal: payment ${j[0]}, interest so far ${j[1]}`,
    alt: (f) => `Equal installments: ${f.x}. Equal principal: ${f.j}. ${f.d}`,
    altPlan: (first, last, interest) => `monthly payment ${first}${first === last ? '' : ` falling to ${last}`}, total interest ${interest}`,
  },
};

// The form's words and the findings of the program's check (findings.js):
// each finding's sentence from its code, as [text, the value the program
// uses (in bold), text]; `v` holds what the program printed (findingValues()).
Object.assign(TEXTS.zh, {
  units: [['wan', '万元'], ['yuan', '元']],
  unitLabel: '本金的单位',
  'form-writes': '表单写入 cfg.txt 的内容：',
  formNote: {
    wan: (typed, read) => `“${typed}”读作 ${read} 元`,
    comma: (typed, read) => `“${typed}”中的逗号读作小数点：${read} %`,
    percent: (typed, read) => `“${typed}”读作 ${read} %`,
  },
  field: { sum: '本金', year: '期限', rate: '年利率' },
  value: { sum: (v) => `${v.principal}\u00a0元`, year: (v) => `${v.years} 年，即 ${v.periods} 期`, rate: (v) => `${v.percent} %` },
  useFix: { sum: (x, unit) => `改用 ${x} ${unit}`, year: (x) => `改用 ${x} 年`, rate: (x) => `改用 ${x} %` },
  finding: {
    bom: (v) => ['cfg.txt 以字节顺序标记开头（存成了“UTF-8 带 BOM”）：程序读不出本金，读作 ', v.value, ''],
    utf16: (v) => ['cfg.txt 存成了 UTF-16（“Unicode”）：程序读不出其中的数，本金读作 ', `${v.principal}\u00a0元`, '，期限和年利率读作 0；请存为 ANSI 或 UTF-8'],
    'few-fields': (v) => ['cfg.txt 只有 ', `${v.param} 个值`, '，应有本金、期限、年利率三行：缺少的值读作 0'],
    'one-line': (v) => [`第 ${v.line} 行写了不止一个值：程序只读第一个，本金读作 `, v.value, '；请把本金、期限、年利率各写一行'],
    empty: (v) => [`${v.name}这一行是空的：程序读作 `, v.value, ''],
    'not-number': (v) => [`${v.name}“${v.text}”不是数：程序读作 `, v.value, ''],
    'text-after-number': (v) => [`${v.name}“${v.text}”不是单纯的数：程序只读到数字结束之处，读作 `, v.value, ''],
    'principal-saturated': (v) => [`本金“${v.text}”超出程序能读的范围：程序按 `, v.value, ' 计算'],
    'principal-negative': (v) => [`本金“${v.text}”为负：报表标题照印 `, v.value, '，金额却按 2^32 加上这个负数计算'],
    'term-zero': (v) => ['期限读作 ', v.value, '：报表没有还款行'],
    'term-wraps': (v) => [`${v.years} 年的月数超出程序的 32 位计数，回绕为 `, `${v.periods} 期`, '：程序按此计算，等额本金的每月本金仍按全部月数分摊'],
    'too-many-periods': (v) => ['期限读作 ', v.value, `，超过 ${number(Number(v.param))} 期：程序拒绝计算，不写任何报表`],
    'rate-percent': (v) => [`年利率“${v.text}”读作 `, v.value, '：cfg.txt 中的年利率是小数，4.9 % 写作 0.049'],
    'rate-comma': (v) => [`年利率“${v.text}”用了小数逗号：程序只读到逗号之前，读作 `, v.value, ''],
    'rate-not-number': (v) => [`年利率“${v.text}”不是数：程序读作 `, v.value, ''],
    cut: (v) => (v.value ? [`程序只读 cfg.txt 的前 ${v.param} 字节：${v.name}在此被截断，读作 `, v.value, '']
      : ['程序只读 cfg.txt 的前 ', `${v.param} 字节`, '，其余内容不读']),
    stopped: (v) => (v.value ? [`cfg.txt 中的 ${v.param} 字节使程序停止读取：${v.name}在此被截断，读作 `, v.value, '']
      : ['cfg.txt 中的 ', `${v.param} 字节`, '使程序停止读取，其余内容不读']),
  },
});
Object.assign(TEXTS.en, {
  units: [['yuan', 'yuan'], ['wan', '10,000 yuan']],
  unitLabel: 'Unit of the principal',
  'form-writes': 'The form writes this cfg.txt:',
  formNote: {
    wan: (typed, read) => `"${typed}" is read as ${read} yuan`,
    comma: (typed, read) => `The comma in "${typed}" is read as a decimal point: ${read} %`,
    percent: (typed, read) => `"${typed}" is read as ${read} %`,
  },
  field: { sum: 'principal', year: 'term', rate: 'rate' },
  value: { sum: (v) => `¥${v.principal}`, year: (v) => `${v.years} years, ${v.periods} periods`, rate: (v) => `${v.percent} %` },
  useFix: { sum: (x, unit) => `Use ${x} ${unit}`, year: (x) => `Use ${x} years`, rate: (x) => `Use ${x} %` },
  finding: {
    bom: (v) => ['cfg.txt starts with a byte-order mark (saved as "UTF-8 with BOM"): the program cannot read the principal and reads it as ', v.value, ''],
    utf16: (v) => ['cfg.txt is saved as UTF-16 ("Unicode"): the program reads no number from it, the principal as ', `¥${v.principal}`, ' and the term and the rate as 0; save it as ANSI or UTF-8'],
    'few-fields': (v) => ['cfg.txt holds only ', `${v.param} of the three values`, ' (principal, term, rate, a line each): the program reads what is missing as 0'],
    'one-line': (v) => [`Line ${v.line} holds more than one value: the program reads only the first, the principal, as `, v.value, '; write the principal, the term and the rate a line each'],
    empty: (v) => [`The ${v.name}'s line is empty: the program reads it as `, v.value, ''],
    'not-number': (v) => [`The ${v.name} "${v.text}" is not a number: the program reads it as `, v.value, ''],
    'text-after-number': (v) => [`The ${v.name} "${v.text}" is not a plain number: the program reads it only as far as its digits go, as `, v.value, ''],
    'principal-saturated': (v) => [`The principal "${v.text}" is beyond what the program can read: it computes with `, v.value, ''],
    'principal-negative': (v) => [`The principal "${v.text}" is negative: the titles print `, v.value, ', but the amounts are computed from 2^32 plus it'],
    'term-zero': (v) => ['The term reads as ', v.value, ': reports without rows'],
    'term-wraps': (v) => [`${v.years} years have more months than the program's 32-bit count holds; it wraps to `, `${v.periods} periods`,
      ' and computes those, and equal principal still spreads the principal over all the months'],
    'too-many-periods': (v) => ['The term reads as ', v.value, `, more than ${number(Number(v.param))}: the program refuses to compute it and writes no report`],
    'rate-percent': (v) => [`The rate "${v.text}" reads as `, v.value, ' a year: cfg.txt takes the rate as a fraction, 0.049 for 4.9 %'],
    'rate-comma': (v) => [`The rate "${v.text}" has a decimal comma: the program reads it only up to the comma, as `, v.value, ''],
    'rate-not-number': (v) => [`The rate "${v.text}" is not a number: the program reads it as `, v.value, ''],
    cut: (v) => (v.value ? [`The program reads only the first ${v.param} bytes of cfg.txt: the ${v.name} is cut there and read as `, v.value, '']
      : ['The program reads only the first ', `${v.param} bytes`, ' of cfg.txt, not the rest']),
    stopped: (v) => (v.value ? [`A ${v.param} byte in cfg.txt ends what the program reads: the ${v.name} is cut there and read as `, v.value, '']
      : ['A ', `${v.param} byte`, ' in cfg.txt ends what the program reads, not the rest']),
  },
});

let T = TEXTS.zh;

// The language kept from an earlier visit, else the browser's first choice
// of Chinese or English.
function chosenLanguage() {
  let kept = null;
  try { kept = localStorage.getItem('loan-language'); } catch (e) { /* storage refused */ }
  if (kept === 'zh' || kept === 'en') return kept;
  const first = (navigator.languages || [navigator.language]).find((l) => /^(zh|en)/i.test(l)) || 'zh';
  return /^zh/i.test(first) ? 'zh' : 'en';
}

// Puts the page's own words in `language`; `remember` keeps the choice.
function setLanguage(language, remember) {
  T = TEXTS[language];
  document.documentElement.lang = T.lang;
  document.title = T.title;
  document.querySelectorAll('[data-t]').forEach((e) => { e.textContent = T[e.dataset.t]; });
  document.querySelectorAll('[data-example]').forEach((e) => { e.placeholder = T.example(e.dataset.example); });
  const toggle = $('#language');
  toggle.textContent = T.other;
  toggle.lang = T.otherLang;
  toggle.dataset.language = language === 'zh' ? 'en' : 'zh';
  if (remember) {
    try { localStorage.setItem('loan-language', language); } catch (e) { /* storage refused */ }
  }
}

export { $, T, number, grouped, money, chosenLanguage, setLanguage };
