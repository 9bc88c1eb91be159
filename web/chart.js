// The chart: both plans' monthly payment and, below it, the interest paid so
// far, over months or years, with round ticks, light gridlines, the month from
// which equal principal pays less, and a readout of the month under the
// pointer or finger. Drawn at the screen's own pixel density; every label is
// measured and placed inside the canvas, clear of the others.

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
  const canvas = $('#chart');
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
  const labels = [];
  const label = (text, x, y, color = '#4a5568', align = 'left') => {
    const w = c.measureText(text).width;
    const left = Math.min(Math.max(align === 'right' ? x - w : align === 'center' ? x - w / 2 : x, 1), width - w - 1);
    c.fillStyle = color;
    c.textAlign = 'left';
    c.fillText(text, left, y);
    labels.push({ text, x: left, y, w, h: fontSize });
  };
  const plans = ['debx', 'debj'].filter((n) => data.series[n] && data.series[n].period.length > 0);
  const all = (key) => plans.flatMap((n) => Array.from(data.series[n][key]).filter(Number.isFinite).map((v) => v / 100));
  const periods = plans.length ? Math.max(...plans.map((n) => data.series[n].period.at(-1))) : 0;
  const byYear = periods > 36;
  const line = fontSize + 6;
  const panels = [['payment', T.paymentAxis], ['interest', T.interestAxis]].map(([key, title]) => {
    const values = all(key);
    const max = Math.max(0, ...values);
    const min = Math.min(0, ...values);
    const ys = ticks(min, max === min ? min + 1 : max, narrow ? 4 : 5, true);
    return { key, title, ys, min: Math.min(min, ys[0]), max: Math.max(max, ys.at(-1)) };
  });
  const left = 8 + Math.max(...panels.flatMap((p) => p.ys.map((v) => c.measureText(compact(v)).width)));
  const right = width - 12;
  // The legend on one line, or on one a plan where it does not fit.
  const legendLines = left + plans.reduce((w, n) => w + 36 + c.measureText(T[n]).width, -18) > width ? plans.length : 1;
  const plotHeight = (height - 4 - line * (4 + legendLines) - 16) / 2;
  const x = (period) => left + (period - 1) / Math.max(periods - 1, 1) * (right - left);
  // The legend, then each panel under its title.
  let at = 4;
  let legendX = left;
  for (const n of plans) {
    c.fillStyle = COLORS[n];
    c.fillRect(legendX, at + 2, 14, fontSize - 4);
    label(T[n], legendX + 18, at, '#1d2430');
    legendX += 36 + c.measureText(T[n]).width;
    if (legendLines > 1) [legendX, at] = [left, at + line];
  }
  if (legendLines === 1) at += line;
  for (const p of panels) {
    label(p.title, left, at, '#1d2430');
    at += line;
    p.top = at;
    p.y = (v) => p.top + plotHeight - (v - p.min) / (p.max - p.min || 1) * plotHeight;
    c.strokeStyle = '#e3e6ee';
    c.lineWidth = 1;
    for (const v of p.ys) {
      c.beginPath();
      c.moveTo(left, Math.round(p.y(v)) + 0.5);
      c.lineTo(right, Math.round(p.y(v)) + 0.5);
      c.stroke();
      label(compact(v), left - 6, Math.min(Math.max(p.y(v) - fontSize / 2, p.top - fontSize / 2), p.top + plotHeight - fontSize / 2), '#4a5568', 'right');
    }
    at += plotHeight + 8;
  }
  // The x-axis: years (months for three years or less), labels spaced apart.
  const unit = byYear ? 12 : 1;
  let xs = [];
  for (let count = narrow ? 5 : 8; count >= 1; count--) {
    xs = ticks(byYear ? 0 : 1, periods / unit, count, false).filter((v) => v * unit >= 1 || byYear);
    const widths = xs.map((v) => c.measureText(compact(v)).width + 12);
    if (xs.every((v, i) => i === 0 || x(v * unit) - x(xs[i - 1] * unit) > (widths[i] + widths[i - 1]) / 2)) break;
  }
  for (const v of xs) {
    const px = Math.round(x(Math.max(v * unit, 1))) + 0.5;
    c.strokeStyle = '#e3e6ee';
    for (const p of panels) verticalLine(c, px, p.top, plotHeight);
    label(compact(v), px, at, '#4a5568', 'center');
  }
  label(byYear ? T.yearAxis : T.monthAxis, (left + right) / 2, at + line, '#1d2430', 'center');
  // The month from which equal principal pays less.
  if (data.lower !== null && data.lower !== undefined && periods > 0) {
    const px = Math.round(x(data.lower)) + 0.5;
    c.strokeStyle = '#1d2430';
    c.setLineDash([4, 3]);
    verticalLine(c, px, panels[0].top, plotHeight);
    c.setLineDash([]);
    // Beside the line, on the side with room: on one line, on two, or just the month.
    const words = T.crossover(number(data.lower));
    const lines = [[words.join(' ')], words, [number(data.lower)]].find((l) => l.length === 1 && l[0].length < 8 ||
      Math.max(...l.map((t) => c.measureText(t).width)) + 4 <= Math.max(right - px, px - left));
    const wide = Math.max(...lines.map((t) => c.measureText(t).width));
    const onRight = px + 4 + wide <= right;
    // At the top of the panel, or at its foot where only that keeps it off the payment lines.
    const tall = lines.length * (fontSize + 3);
    const [x0, x1] = onRight ? [px + 4, px + 4 + wide] : [px - 4 - wide, px - 4];
    const clear = (top) => plans.every((n) => {
      const [high, low] = lineSpan(data.series[n], x, panels[0].y, x0, x1);
      return low < top - 2 || high > top + tall + 2;
    });
    const top = panels[0].top + 4;
    const foot = panels[0].top + plotHeight - tall - 2;
    const y = clear(top) || !clear(foot) ? top : foot;
    lines.forEach((t, i) => label(t, onRight ? px + 4 : px - 4, y + i * (fontSize + 3), '#1d2430', onRight ? 'left' : 'right'));
  }
  for (const p of panels) {
    for (const n of plans) {
      const s = data.series[n];
      c.strokeStyle = COLORS[n];
      c.lineWidth = 2;
      c.beginPath();
      let drawing = false;
      for (let i = 0; i < s.period.length; i++) {
        const v = s[p.key][i];
        if (!Number.isFinite(v)) { drawing = false; continue; }
        c[drawing ? 'lineTo' : 'moveTo'](x(s.period[i]), p.y(v / 100));
        drawing = true;
      }
      c.stroke();
    }
  }
  canvas.layout = { labels, left, right, periods, width, height };
  if (chartPointer !== null) drawPointer(c, data, panels, x, plotHeight, plans);
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
function drawPointer(c, data, panels, x, plotHeight, plans) {
  const at = plans.map((n) => nearest(data.series[n], chartPointer));
  const period = data.series[plans[0]].period[at[0]];
  const px = Math.round(x(period)) + 0.5;
  c.strokeStyle = '#8a94a6';
  for (const p of panels) {
    verticalLine(c, px, p.top, plotHeight);
    plans.forEach((n, i) => {
      const v = data.series[n][p.key][at[i]];
      if (!Number.isFinite(v)) return;
      c.fillStyle = COLORS[n];
      c.beginPath();
      c.arc(px, p.y(v / 100), 3.5, 0, 2 * Math.PI);
      c.fill();
    });
  }
  const figures = (n) => {
    const i = at[plans.indexOf(n)];
    return i === undefined ? ['—', '—'] : [money(data.series[n].payment[i]), money(data.series[n].interest[i])];
  };
  $('#readout').textContent = T.readout(period, figures('debx'), figures('debj'));
}

// The keys on the chart move the month to read: the arrows by a pixel's
// worth (up and down, and the page keys, by ten), Home and End to the ends.
function chartKey(event, redraw) {
  const layout = $('#chart').layout;
  const pixels = { ArrowRight: 1, ArrowLeft: -1, ArrowUp: 10, ArrowDown: -10, PageUp: 10, PageDown: -10, Home: -Infinity, End: Infinity };
  if (!layout || layout.periods === 0 || !(event.key in pixels)) return;
  event.preventDefault();
  const step = Math.max(1, Math.round((layout.periods - 1) / (layout.right - layout.left)));
  chartPointer = Math.min(Math.max((chartPointer || 0) + pixels[event.key] * step, 1), layout.periods);
  redraw();
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
