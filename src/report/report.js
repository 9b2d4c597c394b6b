// pnpplot's HTML report: the read-out under the pointer, hiding traces from the legend,
// measuring between two clicks and integrating a band dragged across the plot. Plain
// JavaScript, no library; everything it needs is in the page.

// Numbers as pnpplot prints them (src/units/si_units.cpp), digit for digit: a double is
// rounded from its exact binary value, halves to even, as std::to_chars rounds. The page test
// holds these to pnpplot's printed text over a table of values.
var pnpplotNumbers = (function () {
  'use strict';

  var one = BigInt(1), two = BigInt(2), ten = BigInt(10);

  // The value as an exact mantissa times a power of two.
  function binary(value) {
    var view = new DataView(new ArrayBuffer(8));
    view.setFloat64(0, value);
    var high = view.getUint32(0), low = view.getUint32(4);
    var biased = (high >>> 20) & 0x7ff;
    var mantissa = BigInt(high & 0xfffff) * BigInt(4294967296) + BigInt(low);
    if (biased === 0) return { mantissa: mantissa, exponent: -1074 };
    return { mantissa: mantissa + BigInt(4503599627370496), exponent: biased - 1075 };
  }
  // A finite magnitude times 10^shift, rounded to a whole number, halves to even.
  function roundedScaled(magnitude, shift) {
    var parts = binary(magnitude);
    var numerator = parts.mantissa, denominator = one;
    if (parts.exponent >= 0) numerator = numerator << BigInt(parts.exponent);
    else denominator = denominator << BigInt(-parts.exponent);
    if (shift >= 0) numerator = numerator * ten ** BigInt(shift);
    else denominator = denominator * ten ** BigInt(-shift);
    var quotient = numerator / denominator, twice = (numerator % denominator) * two;
    if (twice > denominator || (twice === denominator && quotient % two === one)) quotient = quotient + one;
    return quotient;
  }
  function sign(value) { return value < 0 || Object.is(value, -0) ? '-' : ''; }
  function nonFinite(value) { return value !== value ? 'nan' : value > 0 ? 'inf' : '-inf'; }

  // The value with a fixed number of decimals ("-119.86").
  function fixed(value, decimals) {
    if (!isFinite(value)) return nonFinite(value);
    var digits = roundedScaled(Math.abs(value), decimals).toString();
    while (digits.length <= decimals) digits = '0' + digits;
    var point = digits.length - decimals;
    return sign(value) + digits.slice(0, point) + (decimals > 0 ? '.' + digits.slice(point) : '');
  }
  // The significant digits of a finite magnitude and the decimal exponent of the first.
  function decimalParts(magnitude, digits) {
    if (magnitude === 0) return { digits: '0'.repeat(digits), exponent: 0 };
    var places = digits - 1, lowest = ten ** BigInt(places), beyond = lowest * ten;
    var exponent = Math.floor(Math.log10(magnitude));
    for (;;) {
      var rounded = roundedScaled(magnitude, places - exponent);
      if (rounded >= beyond) ++exponent;
      else if (rounded < lowest) --exponent;
      else return { digits: rounded.toString(), exponent: exponent };
    }
  }
  function exponentText(exponent) {
    var size = Math.abs(exponent);
    return 'e' + (exponent < 0 ? '-' : '+') + (size < 10 ? '0' : '') + size;
  }
  // Scientific notation with the given significant digits ("2.5823e+28").
  function scientific(value, digits) {
    if (!isFinite(value)) return nonFinite(value);
    var parts = decimalParts(Math.abs(value), digits);
    return sign(value) + parts.digits[0] + (digits > 1 ? '.' + parts.digits.slice(1) : '') + exponentText(parts.exponent);
  }
  // The significant digits, trailing zeros kept; far from 1 in scientific notation.
  function significant(value, digits) {
    if (!isFinite(value) || value === 0) return fixed(value, digits - 1);
    var exponent = decimalParts(Math.abs(value), digits).exponent;
    if (exponent < -6 || exponent >= 9) return scientific(value, digits);
    return fixed(value, Math.max(0, digits - 1 - exponent));
  }
  // As short as it reads back exactly, fixed or scientific, whichever is shorter.
  function shortest(value) {
    if (!isFinite(value)) return nonFinite(value);
    if (value === 0) return sign(value) + '0';
    var text = Math.abs(value).toExponential(), mark = text.indexOf('e');
    var digits = text.slice(0, mark).replace('.', ''), exponent = parseInt(text.slice(mark + 1), 10);
    var inScientific = digits[0] + (digits.length > 1 ? '.' + digits.slice(1) : '') + exponentText(exponent);
    var plain = exponent >= digits.length - 1 ? digits + '0'.repeat(exponent - digits.length + 1)
              : exponent >= 0 ? digits.slice(0, exponent + 1) + '.' + digits.slice(exponent + 1)
              : '0.' + '0'.repeat(-exponent - 1) + digits;
    return sign(value) + (plain.length <= inScientific.length ? plain : inScientific);
  }
  function withoutTrailingZeros(number) {
    var mark = number.indexOf('e');
    var exponent = mark < 0 ? '' : number.slice(mark);
    var mantissa = mark < 0 ? number : number.slice(0, mark);
    if (mantissa.indexOf('.') >= 0) mantissa = mantissa.replace(/0+$/, '').replace(/\.$/, '');
    return mantissa + exponent;
  }
  var prefixes = { '-5': 'f', '-4': 'p', '-3': 'n', '-2': 'u', '-1': 'm', '0': '', '1': 'k', '2': 'M', '3': 'G', '4': 'T' };
  // The power of 1000 whose prefix shows the value; null beyond the prefixes.
  function prefixPower(value, digits) {
    if (!isFinite(value) || value === 0) return 0;
    var exponent = decimalParts(Math.abs(value), digits > 0 ? digits : 15).exponent;
    var power = exponent >= 0 ? Math.floor(exponent / 3) : -Math.floor((2 - exponent) / 3);
    return power < -5 || power > 4 ? null : power;
  }
  // value * 1000^power, the whole power of 1000 on the side that keeps it exact.
  function scaled(value, power) {
    var scale = 1;
    for (var i = 0; i < Math.abs(power); ++i) scale *= 1000;
    return power < 0 ? value / scale : value * scale;
  }
  // A label: "12.589 kHz", trailing zeros left off; with no digits as short as it reads back.
  function withPrefix(value, unit, digits) {
    digits = digits || 0;
    var power = prefixPower(value, digits);
    if (power === null) return withoutTrailingZeros(digits > 0 ? scientific(value, digits) : shortest(value)) + ' ' + unit;
    var inUnits = scaled(value, -power);
    return (digits > 0 ? withoutTrailingZeros(significant(inUnits, digits)) : shortest(inUnits)) + ' ' + prefixes[power] + unit;
  }
  // A figure, its trailing zeros kept: "971.00 ps".
  function figureWithPrefix(value, unit, digits) {
    var power = prefixPower(value, digits);
    if (power === null) return scientific(value, digits) + ' ' + unit;
    var inUnits = scaled(value, -power);
    var exponent = inUnits === 0 || !isFinite(inUnits) ? 0 : decimalParts(Math.abs(inUnits), digits).exponent;
    return fixed(inUnits, Math.max(0, digits - 1 - exponent)) + ' ' + prefixes[power] + unit;
  }
  // "10", "1k", "1K", "1.5M", "100m", optionally followed by "Hz", as -r reads it: a positive
  // finite value, or null.
  function parseSi(text) {
    var match = /^(-?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][-+]?[0-9]+)?)([fpnumkKMGT]?)(Hz)?$/.exec(text);
    if (!match) return null;
    var value = Number(match[1]);
    var symbol = match[2] === 'K' ? 'k' : match[2];
    if (symbol) {
      for (var power in prefixes) if (prefixes[power] === symbol) value = scaled(value, Number(power));
    }
    return value > 0 && isFinite(value) ? value : null;
  }

  // The figures and levels as the summary words them.
  var overflows = 'overflows: the levels are beyond what a double holds';
  return {
    fixed: fixed, scientific: scientific, significant: significant, shortest: shortest,
    withPrefix: withPrefix, figureWithPrefix: figureWithPrefix, parseSi: parseSi,
    offsetText: function (hertz) { return withPrefix(hertz, 'Hz', 5); },
    decibelText: function (decibels) { return fixed(decibels, 2) + ' dB'; },
    phaseNoiseText: function (dbc) { return isFinite(dbc) ? fixed(dbc, 3) + ' dBc' : overflows; },
    rmsPhaseText: function (radians, degrees) {
      return isFinite(radians) ? significant(radians * 1000, 5) + ' mrad, ' + significant(degrees, 5) + ' deg' : overflows;
    },
    jitterText: function (seconds) {
      if (seconds === null) return 'none: the carrier is 0 Hz';
      return isFinite(seconds) ? figureWithPrefix(seconds, 's', 5) : overflows;
    },
    residualFmText: function (hertz) { return isFinite(hertz) ? significant(hertz, 6) + ' Hz' : overflows; },
  };
})();

(function (numbers) {
  'use strict';

  var data = JSON.parse(document.getElementById('pnpplot-data').textContent);
  var svg = document.querySelector('#chart svg');
  var area = data.area;
  var decades = data.decades[1] - data.decades[0];

  // The chart's scales.
  function xOfOffset(offset) {
    return area.left + (Math.log10(offset) - data.decades[0]) / decades * area.width;
  }
  function offsetAtX(x) {
    return Math.pow(10, data.decades[0] + (x - area.left) / area.width * decades);
  }
  function levelAtY(y) {
    return data.levels[1] - (y - area.top) / area.height * (data.levels[1] - data.levels[0]);
  }

  // Numbers as pnpplot prints them.
  var fixed = numbers.fixed, offsetText = numbers.offsetText;
  var phaseNoiseText = numbers.phaseNoiseText, rmsPhaseText = numbers.rmsPhaseText, jitterText = numbers.jitterText;
  var residualFmText = numbers.residualFmText;
  // Levels in the unit the chart shows: dBc/Hz, another density's, or dB against a trace.
  function levelText(level) { return fixed(level, 2) + ' ' + data.unit; }

  // Levels and integrals as pnpplot works them out: between two points the level is straight
  // in log f and dB, a power law integrated in closed form.
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
  // A thinned trace: the band's ends snap to the nearest drawn points, and its figures are the
  // differences of the whole trace's running integrals there.
  function nearestIndex(points, offset) {
    var at = Math.min(lowerBound(points, offset), points.length - 1);
    if (at > 0 && Math.abs(logRatio(points[at - 1][0], offset)) < Math.abs(logRatio(offset, points[at][0]))) --at;
    return at;
  }
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

  // Which traces are shown.
  var hidden = {};
  function visibleTraces() {
    return data.traces.filter(function (trace) { return !hidden[trace.line]; });
  }
  function element(name, attributes, text) {
    var node = document.createElement(name);
    for (var key in attributes) node.setAttribute(key, attributes[key]);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // The band's figures, each trace over the band asked for (its whole range without one).
  // For the band of the command line the page shows what pnpplot printed; a dragged band's
  // figures are worked out here.
  var band = data.band;
  var programBand = true;
  function bandText() {
    if (!band) return '(each trace\'s whole range)';
    var lowest = Infinity, highest = -Infinity;
    data.traces.forEach(function (trace) {
      lowest = Math.min(lowest, trace.drawn[0][0]);
      highest = Math.max(highest, trace.drawn[trace.drawn.length - 1][0]);
    });
    var from = Math.max(band[0], lowest), to = Math.min(band[1], highest);
    var asked = offsetText(band[0]) + ' to ' + offsetText(band[1]);
    if (from === band[0] && to === band[1]) return asked;
    return offsetText(from) + ' to ' + offsetText(to) + ' (asked ' + asked + ', clipped to the traces)';
  }
  function showBand() {
    var body = document.querySelector('#band-figures tbody');
    body.textContent = '';
    var snapped = [];
    visibleTraces().forEach(function (trace) {
      var points = trace.thinned ? trace.drawn : trace.figure;
      var from = band ? band[0] : points[0][0], to = band ? band[1] : points[points.length - 1][0];
      var row = element('tr', { 'data-trace': trace.line });
      row.appendChild(element('th', {}, trace.caption));
      if (programBand) {
        if (trace.figures) {
          trace.figures.slice(0, 4).forEach(function (text) { row.appendChild(element('td', {}, text)); });
          row.title = trace.figures[4];
        } else {
          row.appendChild(element('td', { colspan: 4 }, 'nothing: the band does not overlap the trace'));
        }
        body.appendChild(row);
        return;
      }
      var integral = trace.thinned ? integrateRunning(trace, from, to) : integrate(points, from, to);
      if (integral) addTones(integral, trace.tones);
      if (trace.thinned) snapped.push(trace.caption);
      if (!integral) {
        row.appendChild(element('td', { colspan: 4 }, 'nothing: the band does not overlap the trace'));
      } else {
        var figures = figuresOf(integral, trace.carrier);
        [phaseNoiseText(figures.phaseNoise), rmsPhaseText(figures.rms, figures.degrees), jitterText(figures.jitter),
         residualFmText(figures.fm)].forEach(function (text) { row.appendChild(element('td', {}, text)); });
        row.title = offsetText(integral.from) + ' to ' + offsetText(integral.to);
      }
      body.appendChild(row);
    });
    document.getElementById('band-range').textContent = bandText();
    document.getElementById('band-note').textContent = snapped.length
        ? 'The chart thinned ' + snapped.join(', ') + ': for ' + (snapped.length > 1 ? 'these' : 'it') +
          ' the band\'s ends snap to the drawn points, and the figures are those of the whole trace between them.'
        : '';
    drawSelection(band);
  }

  var selection = document.createElementNS('http://www.w3.org/2000/svg', 'rect');
  selection.setAttribute('id', 'selection');
  selection.setAttribute('y', area.top);
  selection.setAttribute('height', area.height);
  selection.setAttribute('fill', '#3070c0');
  selection.setAttribute('fill-opacity', '0.15');
  selection.setAttribute('pointer-events', 'none');
  svg.appendChild(selection);
  function drawSelection(range) {
    if (!range) {
      selection.setAttribute('width', 0);
      return;
    }
    var left = Math.max(area.left, Math.min(area.left + area.width, xOfOffset(range[0])));
    var right = Math.max(area.left, Math.min(area.left + area.width, xOfOffset(range[1])));
    selection.setAttribute('x', left);
    selection.setAttribute('width', Math.max(0, right - left));
  }

  function pointerAt(event) {
    var point = svg.createSVGPoint();
    point.x = event.clientX;
    point.y = event.clientY;
    return point.matrixTransform(svg.getScreenCTM().inverse());
  }
  function insidePlot(point) {
    return point.x >= area.left && point.x <= area.left + area.width && point.y >= area.top &&
           point.y <= area.top + area.height;
  }

  // The read-out: the offset under the pointer and each visible trace's level there, with a
  // line across the plot where it reads.
  var readout = document.getElementById('readout');
  var cursor = document.createElementNS('http://www.w3.org/2000/svg', 'line');
  cursor.setAttribute('y1', area.top);
  cursor.setAttribute('y2', area.top + area.height);
  cursor.setAttribute('stroke', '#808080');
  cursor.setAttribute('stroke-dasharray', '2 2');
  cursor.setAttribute('pointer-events', 'none');
  cursor.setAttribute('visibility', 'hidden');
  svg.appendChild(cursor);
  function showReadout(point) {
    var offset = offsetAtX(point.x);
    cursor.setAttribute('x1', point.x);
    cursor.setAttribute('x2', point.x);
    cursor.setAttribute('visibility', 'visible');
    readout.textContent = '';
    readout.appendChild(element('span', { 'class': 'offset' }, offsetText(offset)));
    visibleTraces().forEach(function (trace) {
      var level = levelAt(trace.drawn, offset);
      if (level !== null) readout.appendChild(element('span', { 'data-trace': trace.line }, trace.caption + ' ' + levelText(level)));
    });
  }

  // Two clicks measure between them.
  var measure = document.getElementById('measure');
  var marked = null;
  function mark(point) {
    var here = [offsetAtX(point.x), levelAtY(point.y)];
    var text = offsetText(here[0]) + ', ' + levelText(here[1]);
    if (!marked) {
      marked = here;
      measure.textContent = 'from ' + text + ': click again to measure';
      return;
    }
    var difference = here[1] - marked[1];
    var slope = difference / Math.log10(here[0] / marked[0]);
    measure.textContent = 'from ' + offsetText(marked[0]) + ', ' + levelText(marked[1]) + ' to ' + text + ': ' +
        fixed(difference, 2) + ' dB, ' + (isFinite(slope) ? fixed(slope, 2) + ' dB/decade' : 'no slope at one offset');
    marked = null;
  }

  // Dragging across the plot selects a band; its ends are rounded as the summary prints them.
  var dragFrom = null;
  svg.addEventListener('mousedown', function (event) {
    var point = pointerAt(event);
    if (insidePlot(point)) dragFrom = point.x;
  });
  svg.addEventListener('mousemove', function (event) {
    var point = pointerAt(event);
    if (insidePlot(point)) showReadout(point);
    if (dragFrom !== null) {
      var x = Math.max(area.left, Math.min(area.left + area.width, point.x));
      drawSelection([offsetAtX(Math.min(dragFrom, x)), offsetAtX(Math.max(dragFrom, x))]);
    }
  });
  window.addEventListener('mouseup', function (event) {
    if (dragFrom === null) return;
    var point = pointerAt(event);
    var x = Math.max(area.left, Math.min(area.left + area.width, point.x));
    var from = dragFrom;
    dragFrom = null;
    if (Math.abs(x - from) < 4) {
      drawSelection(band);
      if (insidePlot(point)) mark(point);
      return;
    }
    var low = Number(offsetAtX(Math.min(from, x)).toPrecision(5));
    var high = Number(offsetAtX(Math.max(from, x)).toPrecision(5));
    if (low < high) {
      band = [low, high];
      programBand = false;
    }
    showBand();
  });
  svg.addEventListener('dblclick', function () {
    band = data.band;
    programBand = true;
    marked = null;
    measure.textContent = '';
    showBand();
  });

  // A legend entry hides or shows its trace, with its marks and shading.
  Array.prototype.forEach.call(svg.querySelectorAll('.legend-entry[data-trace]'), function (entry) {
    entry.addEventListener('click', function (event) {
      event.stopPropagation();
      var line = entry.getAttribute('data-trace');
      hidden[line] = !hidden[line];
      entry.classList.toggle('hidden', hidden[line]);
      Array.prototype.forEach.call(svg.querySelectorAll('.trace[data-trace="' + line + '"],.shade[data-trace="' + line + '"]'),
                                   function (node) { node.style.display = hidden[line] ? 'none' : ''; });
      showBand();
    });
  });

  showBand();
  document.body.setAttribute('data-ready', 'true');
})(pnpplotNumbers);
