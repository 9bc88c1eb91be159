// The chart: both plans' monthly payment and, below it, the interest paid so
// far, over months or years, with round ticks, light gridlines, the month from
// which equal principal pays less, and a readout of the month under the
// pointer or finger. Drawn at the screen's own pixel density; every label is
// measured and placed inside the canvas, clear of the others.
import { $, T, number, money } from './texts.js';

const COLORS = { debx: '#2b5fad', debj: '#b5400f' };
let chartPointer = null; // the period under the pointer, or null

// About `count` round ticks (1, 2 or 5 times a power of ten) from min to
// max; with `cover` from the first at min or below to the first at max or above.
function ticks(min, max, count, cover) {
  const raw = (max - min) / Math.max(count, 1) || 1;
  const power = 10 ** Math.floor(Math.log10(raw));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => s >= raw * (1 - 1e-9));
  const list = [];
  const first = cover ? Math.floor(min / step + 1e-9) : Math.ceil(min / step - 1e-9);
  const last = cover ? Math.ceil(max / step - 1e-9) : Math.floor(max / step + 1e-9);
  for (let n = first; n <= last; n++) list.push(n * step + 0); // + 0: never "-0"
  return list;
}

// A tick's number, short in the page's language ("120万", "1.2M").
function compact(value) {
  return new Intl.NumberFormat(T.lang, { notation: 'compact', maximumSignificantDigits: 4 }).format(value);
}

// Draws the chart of `data` ({series: {debx, debj}, lower}) and keeps its
// layout on the canvas (scales and label boxes) for the pointer's readout.
function drawChart(data) {
  const g = canvasOf($('#chart'));
  layOut(g, data);
  drawLegend(g);
  drawPanels(g);
  drawXAxis(g);
  drawCrossover(g, data);
  drawLines(g, data);
  g.canvas.layout = { labels: g.labels, left: g.left, right: g.right, periods: g.periods, byYear: g.byYear, width: g.width, height: g.height };
  if (chartPointer !== null && chartPointer > g.periods) chartPointer = null;
  if (chartPointer !== null) drawPointer(g, data);
  else $('#readout').textContent = T['readout-hint'];
}

// The canvas at the page's width and the screen's pixel density, with the
// drawing state the parts share: its 2D context, its size, the font and the
// labels drawn so far, each measured and kept inside the canvas.
function canvasOf(canvas) {
  const width = canvas.parentElement.clientWidth - 2; // inside its border
  const narrow = width < 600;
  const height = narrow ? 400 : 470;
  const ratio = window.devicePixelRatio || 1;
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  const c = canvas.getContext('2d');
  c.setTransform(ratio, 0, 0, ratio, 0, 0);
  const fontSize = narrow ? 12 : 13;
  c.font = `${fontSize}px sans-serif`;
  c.textBaseline = 'top';
  const g = { canvas, c, width, height, narrow, fontSize, line: fontSize + 6, labels: [] };
  g.label = (text, x, y, color = '#4a5568', align = 'left') => {
    const w = c.measureText(text).width;
    const left = Math.min(Math.max(align === 'right' ? x - w : align === 'center' ? x - w / 2 : x, 1), width - w - 1);
    c.fillStyle = color;
    c.textAlign = 'left';
    c.fillText(text, left, y);
    g.labels.push({ text, x: left, y, w, h: fontSize });
  };
  return g;
}

// The scales: the plans drawn, the periods, both panels' value ticks, the
// plot's edges and x(period).
function layOut(g, data) {
  const c = g.c;
  g.plans = ['debx', 'debj'].filter((n) => data.series[n] && data.series[n].period.length > 0);
  const all = (key) => g.plans.flatMap((n) => Array.from(data.series[n][key]).filter(Number.isFinite).map((v) => v / 100));
  g.periods = g.plans.length ? Math.max(...g.plans.map((n) => data.series[n].period.at(-1))) : 0;
  g.byYear = g.periods > 36;
  g.panels = [['payment', T.paymentAxis], ['interest', T.interestAxis]].map(([key, title]) => {
    const values = all(key);
    const max = Math.max(0, ...values);
    const min = Math.min(0, ...values);
    const ys = ticks(min, max === min ? min + 1 : max, g.narrow ? 4 : 5, true);
    return { key, title, ys, min: Math.min(min, ys[0]), max: Math.max(max, ys.at(-1)) };
  });
  g.left = 8 + Math.max(...g.panels.flatMap((p) => p.ys.map((v) => c.measureText(compact(v)).width)));
  g.right = g.width - 12;
  // The legend on one line, or on one a plan where it does not fit.
  g.legendLines = g.left + g.plans.reduce((w, n) => w + 36 + c.measureText(T[n]).width, -18) > g.width ? g.plans.length : 1;
  g.plotHeight = (g.height - 4 - g.line * (4 + g.legendLines) - 16) / 2;
  g.x = (period) => g.left + (period - 1) / Math.max(g.periods - 1, 1) * (g.right - g.left);
}

// The legend: a plan's colour and name, on one line or one a plan.
function drawLegend(g) {
  g.at = 4;
  let legendX = g.left;
  for (const n of g.plans) {
    g.c.fillStyle = COLORS[n];
    g.c.fillRect(legendX, g.at + 2, 14, g.fontSize - 4);
    g.label(T[n], legendX + 18, g.at, '#1d2430');
    legendX += 36 + g.c.measureText(T[n]).width;
    if (g.legendLines > 1) [legendX, g.at] = [g.left, g.at + g.line];
  }
  if (g.legendLines === 1) g.at += g.line;
}

// Each panel under its title, with its value gridlines and their labels.
function drawPanels(g) {
  const c = g.c;
  for (const p of g.panels) {
    g.label(p.title, g.left, g.at, '#1d2430');
    g.at += g.line;
    p.top = g.at;
    p.y = (v) => p.top + g.plotHeight - (v - p.min) / (p.max - p.min || 1) * g.plotHeight;
    c.strokeStyle = '#e3e6ee';
    c.lineWidth = 1;
    for (const v of p.ys) {
      c.beginPath();
      c.moveTo(g.left, Math.round(p.y(v)) + 0.5);
      c.lineTo(g.right, Math.round(p.y(v)) + 0.5);
      c.stroke();
      const y = Math.min(Math.max(p.y(v) - g.fontSize / 2, p.top - g.fontSize / 2), p.top + g.plotHeight - g.fontSize / 2);
      g.label(compact(v), g.left - 6, y, '#4a5568', 'right');
    }
    g.at += g.plotHeight + 8;
  }
}

// The x-axis: years (months for three years or less), labels spaced apart.
function drawXAxis(g) {
  const unit = g.byYear ? 12 : 1;
  let xs = [];
  for (let count = g.narrow ? 5 : 8; count >= 1; count--) {
    xs = ticks(g.byYear ? 0 : 1, g.periods / unit, count, false).filter((v) => v * unit >= 1 || g.byYear);
    const widths = xs.map((v) => g.c.measureText(compact(v)).width + 12);
    if (xs.every((v, i) => i === 0 || g.x(v * unit) - g.x(xs[i - 1] * unit) > (widths[i] + widths[i - 1]) / 2)) break;
  }
  for (const v of xs) {
    const px = Math.round(g.x(Math.max(v * unit, 1))) + 0.5;
    g.c.strokeStyle = '#e3e6ee';
    for (const p of g.panels) verticalLine(g.c, px, p.top, g.plotHeight);
    g.label(compact(v), px, g.at, '#4a5568', 'center');
  }
  g.label(g.byYear ? T.yearAxis : T.monthAxis, (g.left + g.right) / 2, g.at + g.line, '#1d2430', 'center');
}

// The month from which equal principal pays less: a dashed line, labelled
// beside it on the side with room, at the top of the payment panel or at its
// foot where only that keeps the label off the payment lines.
function drawCrossover(g, data) {
  if (data.lower === null || data.lower === undefined || g.periods === 0) return;
  const c = g.c;
  const top = g.panels[0].top;
  const px = Math.round(g.x(data.lower)) + 0.5;
  c.strokeStyle = '#1d2430';
  c.setLineDash([4, 3]);
  verticalLine(c, px, top, g.plotHeight);
  c.setLineDash([]);
  // On one line, on two, or just the month.
  const words = T.crossover(number(data.lower));
  const lines = [[words.join(' ')], words, [number(data.lower)]].find((l) => l.length === 1 && l[0].length < 8 ||
    Math.max(...l.map((t) => c.measureText(t).width)) + 4 <= Math.max(g.right - px, px - g.left));
  const wide = Math.max(...lines.map((t) => c.measureText(t).width));
  const onRight = px + 4 + wide <= g.right;
  const tall = lines.length * (g.fontSize + 3);
  const [x0, x1] = onRight ? [px + 4, px + 4 + wide] : [px - 4 - wide, px - 4];
  const clear = (y) => g.plans.every((n) => {
    const [high, low] = lineSpan(data.series[n], g.x, g.panels[0].y, x0, x1);
    return low < y - 2 || high > y + tall + 2;
  });
  const foot = top + g.plotHeight - tall - 2;
  const y = clear(top + 4) || !clear(foot) ? top + 4 : foot;
  lines.forEach((t, i) => g.label(t, onRight ? px + 4 : px - 4, y + i * (g.fontSize + 3), '#1d2430', onRight ? 'left' : 'right'));
}

// Each plan's line in each panel, broken where an amount is not a number.
function drawLines(g, data) {
  const c = g.c;
  for (const p of g.panels) {
    for (const n of g.plans) {
      const s = data.series[n];
      c.strokeStyle = COLORS[n];
      c.lineWidth = 2;
      c.beginPath();
      let drawing = false;
      for (let i = 0; i < s.period.length; i++) {
        const v = s[p.key][i];
        if (!Number.isFinite(v)) { drawing = false; continue; }
        c[drawing ? 'lineTo' : 'moveTo'](g.x(s.period[i]), p.y(v / 100));
        drawing = true;
      }
      c.stroke();
    }
  }
}

// The highest and the lowest point on the canvas (least and greatest y) of a
// plan's payment line between x0 and x1, from the segments that reach
// into that span.
function lineSpan(s, x, y, x0, x1) {
  let [high, low] = [Infinity, -Infinity];
  for (let i = 0; i < s.period.length; i++) {
    const next = Math.min(i + 1, s.period.length - 1);
    if (x(s.period[next]) < x0 || x(s.period[i]) > x1) continue;
    for (const v of [s.payment[i], s.payment[next]].filter(Number.isFinite)) {
      high = Math.min(high, y(v / 100));
      low = Math.max(low, y(v / 100));
    }
  }
  return [high, low];
}

// The nearest point of a plan's series to `period`.
function nearest(s, period) {
  let lo = 0;
  let hi = s.period.length - 1;
  while (lo < hi) {
    const mid = (lo + hi) >> 1;
    if (s.period[mid] < period) lo = mid + 1; else hi = mid;
  }
  return lo > 0 && period - s.period[lo - 1] < s.period[lo] - period ? lo - 1 : lo;
}

// A line down from `top`, `height` long, at x = `px`, in the current stroke.
function verticalLine(c, px, top, height) {
  c.beginPath();
  c.moveTo(px, top);
  c.lineTo(px, top + height);
  c.stroke();
}

// The line at the pointer's month, a dot on each curve, and the readout.
function drawPointer(g, data) {
  const c = g.c;
  const at = g.plans.map((n) => nearest(data.series[n], chartPointer));
  const period = data.series[g.plans[0]].period[at[0]];
  const px = Math.round(g.x(period)) + 0.5;
  c.strokeStyle = '#8a94a6';
  for (const p of g.panels) {
    verticalLine(c, px, p.top, g.plotHeight);
    g.plans.forEach((n, i) => {
      const v = data.series[n][p.key][at[i]];
      if (!Number.isFinite(v)) return;
      c.fillStyle = COLORS[n];
      c.beginPath();
      c.arc(px, p.y(v / 100), 3.5, 0, 2 * Math.PI);
      c.fill();
    });
  }
  const yuan = (cents) => (Number.isFinite(cents) ? T.yuanAmount(money(cents)) : '—');
  const figures = (n) => {
    const i = at[g.plans.indexOf(n)];
    return i === undefined ? ['—', '—'] : [yuan(data.series[n].payment[i]), yuan(data.series[n].interest[i])];
  };
  $('#readout').textContent = T.readout(period, g.byYear, figures('debx'), figures('debj'));
}

// The keys on the chart move the month to read: the arrows by a pixel's
// worth (up and down by ten), the page keys by a year (or ten pixels' worth
// where that is more), Home and End to the ends.
function chartKey(event, redraw) {
  const layout = $('#chart').layout;
  if (!layout || layout.periods === 0) return;
  const step = Math.max(1, Math.round((layout.periods - 1) / (layout.right - layout.left)));
  const page = Math.max(12, 10 * step);
  const moves = { ArrowRight: step, ArrowLeft: -step, ArrowUp: 10 * step, ArrowDown: -10 * step, PageUp: page, PageDown: -page,
    Home: -Infinity, End: Infinity };
  if (!(event.key in moves)) return;
  event.preventDefault();
  chartPointer = Math.min(Math.max((chartPointer || 0) + moves[event.key], 1), layout.periods);
  redraw();
}

// The readout back to its hint: a new loan's chart starts with none.
function resetPointer() {
  chartPointer = null;
  $('#readout').textContent = T['readout-hint'];
}

// The pointer or a finger on the chart picks the month to read.
function followPointer(event, redraw) {
  const layout = $('#chart').layout;
  if (!layout || layout.periods === 0) return;
  const bounds = $('#chart').getBoundingClientRect();
  const share = (event.clientX - bounds.left - layout.left) / (layout.right - layout.left);
  chartPointer = Math.round(1 + Math.min(Math.max(share, 0), 1) * (layout.periods - 1));
  redraw();
}

export { drawChart, chartKey, followPointer, resetPointer };
