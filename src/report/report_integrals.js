// The report's script: levels and integrals as pnpplot works them out. Plain functions of
// the points they are given.

// Between two points the level is straight in log f and dB, a power law integrated in closed
// form.
function logRatio(a, b) {
  return b >= a / 2 && b <= 2 * a ? Math.log1p((b - a) / a) : Math.log(b / a);
}
function powerRatio(level) { return Math.pow(10, level / 10); }
function powerLawIntegral(s1, f1, f2, e) {
  var r = logRatio(f1, f2);
  var x = (e + 1) * r;
  var growth = x === 0 ? 1 : Math.expm1(x) / x;
  return s1 * f1 * r * growth;
}
function guarded(integral, width, highest) {
  return isFinite(integral) ? integral : width * highest;
}
function segmentAreas(a, b, low, high) {
  var e = (b[1] - a[1]) * Math.LN10 / (10 * logRatio(a[0], b[0]));
  var s = powerRatio(a[1]) * Math.exp(e * logRatio(a[0], low));
  var highest = Math.max(powerRatio(a[1]), powerRatio(b[1]));
  return [guarded(powerLawIntegral(s, low, high, e), high - low, highest),
          guarded(powerLawIntegral(s * low * low, low, high, e + 2), high - low, highest * high * high)];
}
// The first index whose offset is not below the given one.
function lowerBound(points, offset) {
  var low = 0, high = points.length;
  while (low < high) {
    var middle = (low + high) >> 1;
    if (points[middle][0] < offset) low = middle + 1; else high = middle;
  }
  return low;
}
function levelAt(points, offset) {
  if (!points.length || !(offset >= points[0][0])) return null;
  var at = lowerBound(points, offset);
  if (at === points.length) return null;
  if (points[at][0] === offset) return points[at][1];
  var low = points[at - 1], high = points[at];
  return low[1] + (high[1] - low[1]) * logRatio(low[0], offset) / logRatio(low[0], high[0]);
}
function integrate(points, from, to) {
  if (!points.length) return null;
  from = Math.max(from, points[0][0]);
  to = Math.min(to, points[points.length - 1][0]);
  if (!(from < to)) return null;
  var phase = 0, frequency = 0;
  var i = lowerBound(points, from);
  i = i === 0 ? 0 : i - 1;
  for (; i + 1 < points.length && points[i][0] < to; ++i) {
    var low = Math.max(points[i][0], from), high = Math.min(points[i + 1][0], to);
    if (!(low < high)) continue;
    var areas = segmentAreas(points[i], points[i + 1], low, high);
    phase += areas[0];
    frequency += areas[1];
  }
  return { from: from, to: to, phase: phase, frequency: frequency };
}
// The index of the point nearest the offset on the log axis.
function nearestIndex(points, offset) {
  var at = Math.min(lowerBound(points, offset), points.length - 1);
  if (at > 0 && Math.abs(logRatio(points[at - 1][0], offset)) < Math.abs(logRatio(offset, points[at][0]))) --at;
  return at;
}
// A thinned trace: the band's ends snap to the nearest drawn points, and its figures are the
// differences of the whole trace's running integrals there.
function integrateRunning(trace, from, to) {
  var points = trace.drawn;
  var first = nearestIndex(points, Math.max(from, points[0][0]));
  var last = nearestIndex(points, Math.min(to, points[points.length - 1][0]));
  if (!(first < last)) return null;
  return { from: points[first][0], to: points[last][0],
           phase: trace.running[last][0] - trace.running[first][0],
           frequency: trace.running[last][1] - trace.running[first][1] };
}
// With --spurs power each spur in the band is a tone of its power P at its offset f: P adds to
// the phase area, P f^2 to the frequency area, as pnpplot adds them.
function addTones(integral, tones) {
  tones.forEach(function (tone) {
    if (tone[0] < integral.from || tone[0] > integral.to) return;
    integral.phase += tone[1];
    integral.frequency += tone[1] * tone[0] * tone[0];
  });
}
function figuresOf(integral, carrier) {
  var rms = Math.sqrt(2 * integral.phase);
  return { phaseNoise: 10 * Math.log10(integral.phase), rms: rms, degrees: rms * 180 / Math.PI,
           jitter: carrier === null ? null : rms / (2 * Math.PI * carrier), fm: Math.sqrt(2 * integral.frequency) };
}
