// pnpplot's HTML report: the read-out under the pointer, markers that sit on the traces, a
// delta marker, zoom, hiding traces from the legend, integrating a band dragged across the
// plot and saving the chart as a PNG. Plain JavaScript, no library; everything it needs is in
// the page, and it asks nothing of the network.

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
  var chartBox = document.getElementById('chart');
  var svg = chartBox.querySelector('svg');
  var area = data.area;
  var svgNamespace = 'http://www.w3.org/2000/svg';
  var offsetText = numbers.offsetText, fixed = numbers.fixed;
  // Levels in the unit the chart shows: dBc/Hz, another density's, or dB against a trace.
  function levelText(level) { return fixed(level, 2) + ' ' + data.unit; }
  var status = document.getElementById('status');

  function element(name, attributes, text) {
    var node = document.createElement(name);
    for (var key in attributes) node.setAttribute(key, attributes[key]);
    if (text !== undefined) node.textContent = text;
    return node;
  }
  function svgElement(name, attributes, text) {
    var node = document.createElementNS(svgNamespace, name);
    for (var key in attributes) node.setAttribute(key, attributes[key]);
    if (text !== undefined) node.textContent = text;
    return node;
  }
  function say(text) { status.textContent = text; }

  // The view: the offsets (as decades) and levels the plot spans, the whole chart's at first.
  // Zooming narrows it; the chart's own drawing is moved to it.
  var whole = { x0: data.decades[0], x1: data.decades[1], y0: data.levels[0], y1: data.levels[1] };
  var view = whole, earlierViews = [];
  function xOfOffset(offset) {
    return area.left + (Math.log10(offset) - view.x0) / (view.x1 - view.x0) * area.width;
  }
  function offsetAtX(x) {
    return Math.pow(10, view.x0 + (x - area.left) / area.width * (view.x1 - view.x0));
  }
  function yOfLevel(level) {
    level = Math.max(-1000, Math.min(1000, level));  // as the chart draws levels beyond its bounds
    return area.top + (view.y1 - level) / (view.y1 - view.y0) * area.height;
  }
  function levelAtY(y) {
    return view.y1 - (y - area.top) / area.height * (view.y1 - view.y0);
  }
  function inView(offset) {
    var x = xOfOffset(offset);
    return x >= area.left - 1e-6 && x <= area.left + area.width + 1e-6;
  }

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

  // Which traces are shown.
  var hidden = {};
  var traceOf = {};
  data.traces.forEach(function (trace) { traceOf[trace.line] = trace; });
  function visibleTraces() {
    return data.traces.filter(function (trace) { return !hidden[trace.line]; });
  }

  // The figures table, a row a trace, each over the band asked for (its whole range without
  // one). For the band of the command line the page shows what pnpplot printed; a band dragged
  // or set between the markers is integrated here.
  var band = data.band;
  var programBand = true;
  var bandNote = '';
  function bandText() {
    if (!band) return 'each trace\'s whole range';
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
    var body = document.querySelector('#figures tbody');
    body.textContent = '';
    var snapped = [];
    visibleTraces().forEach(function (trace) {
      var points = trace.thinned ? trace.drawn : trace.figure;
      var from = band ? band[0] : points[0][0], to = band ? band[1] : points[points.length - 1][0];
      var row = element('tr', { 'data-trace': trace.line });
      row.appendChild(element('th', {}, trace.caption));
      var cells = [];
      if (programBand) {
        if (trace.figures) {
          cells = trace.figures.slice(0, 4);
          row.title = trace.figures[4];
        }
      } else {
        var integral = trace.thinned ? integrateRunning(trace, from, to) : integrate(points, from, to);
        if (integral) addTones(integral, trace.tones);
        if (trace.thinned) snapped.push(trace.caption);
        if (integral) {
          var figures = figuresOf(integral, trace.carrier);
          cells = [numbers.phaseNoiseText(figures.phaseNoise), numbers.rmsPhaseText(figures.rms, figures.degrees),
                   numbers.jitterText(figures.jitter), numbers.residualFmText(figures.fm)];
          row.title = offsetText(integral.from) + ' to ' + offsetText(integral.to);
        }
      }
      if (cells.length) cells.forEach(function (text) { row.appendChild(element('td', {}, text)); });
      else row.appendChild(element('td', { colspan: 4 }, 'nothing: the band does not overlap the trace'));
      trace.facts.forEach(function (fact) { row.appendChild(element('td', fact[1] ? { 'class': 'fail' } : {}, fact[0])); });
      body.appendChild(row);
    });
    document.getElementById('band-range').textContent = bandText();
    var notes = bandNote ? [bandNote] : [];
    if (snapped.length) {
      notes.push('The chart thinned ' + snapped.join(', ') + ': for ' + (snapped.length > 1 ? 'these' : 'it') +
                 ' the band\'s ends snap to the drawn points, and the figures are those of the whole trace between them.');
    }
    document.getElementById('band-note').textContent = notes.join(' ');
    drawSelection(band);
  }
  function setBand(range, note) {
    band = range;
    programBand = false;
    bandNote = note || '';
    showBand();
  }

  // What the script draws over the chart: the band, the rectangle of a zoom, the read-out's
  // line and the markers.
  var overlay = svgElement('g', { id: 'overlay', 'pointer-events': 'none' });
  svg.appendChild(overlay);
  var selection = svgElement('rect', { id: 'selection', y: area.top, height: area.height, width: 0, fill: '#3070c0',
                                       'fill-opacity': '0.15' });
  var zoomFrame = svgElement('rect', { id: 'zoom-frame', fill: 'none', stroke: data.theme.text, 'stroke-dasharray': '4 3',
                                       visibility: 'hidden' });
  var cursor = svgElement('line', { id: 'cursor', y1: area.top, y2: area.top + area.height, stroke: '#808080',
                                    'stroke-dasharray': '2 2', visibility: 'hidden' });
  var markerLayer = svgElement('g', { id: 'markers-drawn' });
  [selection, zoomFrame, cursor, markerLayer].forEach(function (node) { overlay.appendChild(node); });
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

  // Markers 1 and 2 (the delta marker), each on a trace of its own, at an offset read on the
  // trace's drawn points. One of them may follow the pointer; the controls and the keys move
  // the active one.
  var firstNoise = data.traces.filter(function (trace) { return !trace.floor; })[0] || data.traces[0];
  var markers = [{ on: true, line: firstNoise.line, offset: null }, { on: false, line: firstNoise.line, offset: null }];
  var active = 0, following = 0;
  var markerReadout = document.getElementById('markers');
  var measure = document.getElementById('measure');
  var traceChoice = document.getElementById('marker-trace');
  data.traces.forEach(function (trace) { traceChoice.appendChild(element('option', { value: trace.line }, trace.caption)); });

  function clampedOffset(trace, offset) {
    var points = trace.drawn;
    return Math.max(points[0][0], Math.min(points[points.length - 1][0], offset));
  }
  function markerLevel(marker) {
    return levelAt(traceOf[marker.line].drawn, marker.offset);
  }
  function drawMarkers() {
    markerLayer.textContent = '';
    markers.forEach(function (marker, index) {
      if (!marker.on || marker.offset === null || hidden[marker.line] || !inView(marker.offset)) return;
      var x = xOfOffset(marker.offset), y = yOfLevel(markerLevel(marker));
      if (y < area.top - 1 || y > area.top + area.height + 1) return;
      var group = svgElement('g', { 'class': 'marker', 'data-marker': index + 1 });
      group.appendChild(svgElement('circle', { cx: x.toFixed(2), cy: y.toFixed(2), r: 5, fill: data.theme.background,
                                              'fill-opacity': '0.6', stroke: data.theme.text,
                                              'stroke-width': index === active ? 2.5 : 1.5,
                                              'stroke-dasharray': following === index ? '2 2' : 'none' }));
      group.appendChild(svgElement('text', { x: (x + 7).toFixed(2), y: (y - 7).toFixed(2), 'font-size': 12, 'font-weight': 'bold',
                                            fill: data.theme.text }, String(index + 1)));
      markerLayer.appendChild(group);
    });
  }
  function showMarkers() {
    markerReadout.textContent = '';
    markers.forEach(function (marker, index) {
      if (!marker.on) return;
      var trace = traceOf[marker.line];
      var text = (index ? '2 (delta) ' : '1 ') + trace.caption + ': ';
      var attributes = { 'data-marker': index + 1 };
      if (marker.offset === null) {
        text += 'follows the pointer';
      } else {
        var level = markerLevel(marker);
        text += offsetText(marker.offset) + ', ' + levelText(level) + (following === index ? ' (follows the pointer)' : '');
        attributes['data-offset'] = String(marker.offset);
        attributes['data-level'] = String(level);
      }
      markerReadout.appendChild(element('span', attributes, text));
    });
    var first = markers[0], second = markers[1];
    if (first.on && second.on && first.offset !== null && second.offset !== null) {
      var difference = markerLevel(second) - markerLevel(first);
      var decades = logRatio(first.offset, second.offset) / Math.LN10;
      measure.textContent = 'delta 2 \u2212 1: ' + numbers.withPrefix(second.offset - first.offset, 'Hz', 5) + ', ' +
          numbers.decibelText(difference) + ', ' +
          (decades !== 0 ? fixed(difference / decades, 2) + ' dB/decade' : 'no slope at one offset');
    } else {
      measure.textContent = '';
    }
    traceChoice.value = String(markers[active].line);
    var radio = document.querySelector('input[name="active-marker"][value="' + active + '"]');
    if (radio) radio.checked = true;
    drawMarkers();
  }
  // Puts the active marker down at an offset of its trace.
  function placeMarker(index, offset) {
    var marker = markers[index];
    marker.on = true;
    marker.offset = clampedOffset(traceOf[marker.line], offset);
    if (following === index) following = -1;
    showMarkers();
  }
  function activate(index) {
    if (index === 1 && !markers[1].on) {
      if (markers[0].offset === null) return say('Put marker 1 down first: the delta marker starts where it stands.');
      markers[1] = { on: true, line: markers[0].line, offset: markers[0].offset };
    }
    active = index;
    showMarkers();
  }
  function clearMarkers() {
    markers[0].offset = null;
    markers[1].on = false;
    markers[1].offset = null;
    active = 0;
    following = 0;
    showMarkers();
  }
  // The pointer's offset on a trace: on a point when the pointer is within 3 pixels of it.
  function offsetOnTrace(trace, x) {
    var offset = clampedOffset(trace, offsetAtX(x));
    var points = trace.drawn, at = nearestIndex(points, offset);
    if (Math.abs(xOfOffset(points[at][0]) - x) <= 3) offset = points[at][0];
    return offset;
  }
  function follow(point) {
    if (following < 0) return;
    var marker = markers[following];
    marker.offset = offsetOnTrace(traceOf[marker.line], point.x);
    showMarkers();
  }
  // A click puts the following marker down; after marker 1 the delta marker follows the
  // pointer until the next click, and the click after that starts again.
  function clickAt(point) {
    if (following === 1) {
      markers[1].offset = offsetOnTrace(traceOf[markers[1].line], point.x);
      following = -1;
    } else {
      markers[0].on = true;
      markers[0].offset = offsetOnTrace(traceOf[markers[0].line], point.x);
      markers[1] = { on: true, line: markers[0].line, offset: markers[0].offset };
      following = 1;
      active = 1;
    }
    showMarkers();
  }
  function withMarker(what) {
    var marker = markers[active];
    what(marker, traceOf[marker.line]);
  }
  // The active marker to the highest point of its trace in view.
  function peak() {
    withMarker(function (marker, trace) {
      var best = -1;
      trace.drawn.forEach(function (point, index) {
        if (inView(point[0]) && (best < 0 || point[1] > trace.drawn[best][1])) best = index;
      });
      if (best < 0) return say(trace.caption + ' has no point in view.');
      say('');
      placeMarker(active, trace.drawn[best][0]);
    });
  }
  // The active marker to the next spur of its trace, after the last round to the first.
  function nextSpur() {
    withMarker(function (marker, trace) {
      if (!trace.spurs.length) return say(trace.caption + ' has no spur.');
      var spur = trace.spurs.filter(function (spur) { return marker.offset === null || spur[0] > marker.offset; })[0] ||
                 trace.spurs[0];
      say('');
      placeMarker(active, spur[0]);
    });
  }
  // The active marker some points along its trace, or to its first or last.
  function step(count, toEnd) {
    withMarker(function (marker, trace) {
      var points = trace.drawn, at;
      if (toEnd) {
        at = count < 0 ? 0 : points.length - 1;
      } else if (marker.offset === null) {
        at = count < 0 ? points.length - 1 : 0;
      } else {
        var here = lowerBound(points, marker.offset);
        var onPoint = here < points.length && points[here][0] === marker.offset;
        at = count > 0 ? (onPoint ? here + count : here + count - 1) : here + count;
      }
      placeMarker(active, points[Math.max(0, Math.min(points.length - 1, at))][0]);
    });
  }
  // The active marker to the trace above or below in the legend, at the same offset.
  function changeTrace(direction) {
    var shown = visibleTraces();
    var at = shown.findIndex(function (trace) { return trace.line === markers[active].line; });
    var next = shown[Math.max(0, Math.min(shown.length - 1, at + direction))];
    if (next) setTrace(next.line);
  }
  function setTrace(line) {
    var marker = markers[active];
    marker.line = line;
    if (marker.offset !== null) marker.offset = clampedOffset(traceOf[line], marker.offset);
    showMarkers();
  }
  function bandBetweenMarkers() {
    var first = markers[0], second = markers[1];
    if (!(first.on && second.on && first.offset !== null && second.offset !== null && first.offset !== second.offset)) {
      return say('Put the two markers down at different offsets first.');
    }
    say('');
    setBand([Math.min(first.offset, second.offset), Math.max(first.offset, second.offset)], 'The band between the markers.');
  }
  function typedOffset(text) {
    var offset = numbers.parseSi(text.trim());
    if (offset === null) {
      return say('\u201c' + text + '\u201d is not an offset: give it in Hz with an SI suffix as -r takes it (10, 1k, 1.5M).');
    }
    withMarker(function (marker, trace) {
      var points = trace.drawn;
      if (offset < points[0][0] || offset > points[points.length - 1][0]) {
        return say(offsetText(offset) + ' lies beyond ' + trace.caption + ', ' + offsetText(points[0][0]) + ' to ' +
                   offsetText(points[points.length - 1][0]) + '.');
      }
      say(inView(offset) ? '' : offsetText(offset) + ' is outside the zoomed view: Whole chart shows it.');
      placeMarker(active, offset);
    });
  }

  // Zoom: over a narrower view the plot is drawn again from the page's data, at the offsets
  // and levels the chart stands for, in the chart's own styles (a copy of each of its
  // elements) and clipped to the plot; the chart's own drawing stands aside until the view is
  // whole again. The grid is drawn anew for the view.
  var gridGroup = svg.querySelector('g.grid');
  var zoomGrid = svgElement('g', { 'class': 'zoom-grid' });
  function clip() {
    return svgElement('svg', { x: area.left, y: area.top, width: area.width, height: area.height,
                               viewBox: [area.left, area.top, area.width, area.height].join(' '), overflow: 'hidden' });
  }
  var underClip = clip(), overClip = clip();
  if (gridGroup) {
    gridGroup.parentNode.insertBefore(underClip, gridGroup);
    gridGroup.parentNode.insertBefore(zoomGrid, gridGroup);
  }
  svg.insertBefore(overClip, overlay);
  var chartBands = Array.prototype.slice.call(svg.querySelectorAll('rect.band'));
  var chartLabels = Array.prototype.slice.call(svg.querySelectorAll('text.band-label'));
  var chartMask = svg.querySelector('g.mask'), chartZero = svg.querySelector('g.zero-line');
  var chartShades = Array.prototype.slice.call(svg.querySelectorAll('rect.shade'));
  var chartTraces = Array.prototype.slice.call(svg.querySelectorAll('g.trace'));
  var chartFits = Array.prototype.slice.call(svg.querySelectorAll('g.fit'));
  var fitOf = {};
  (data.fits || []).forEach(function (fit) { fitOf[fit.line] = fit; });
  function coordinate(value) { return Math.max(-1e6, Math.min(1e6, value)).toFixed(2); }
  function copyOf(node) {
    var copy = node.cloneNode(true);
    copy.removeAttribute('visibility');
    return copy;
  }
  function pointsText(points) {
    return points.map(function (point) { return coordinate(xOfOffset(point[0])) + ',' + coordinate(yOfLevel(point[1])); }).join(' ');
  }
  // The marks' shapes, as the chart draws them around a point.
  function cross(x, y) {
    return 'M' + (x - 4) + ',' + (y - 4) + 'L' + (x + 4) + ',' + (y + 4) + 'M' + (x - 4) + ',' + (y + 4) + 'L' + (x + 4) + ',' + (y - 4);
  }
  function triangle(x, y) {
    return 'M' + (x - 4) + ',' + (y - 3) + 'L' + (x + 4) + ',' + (y - 3) + 'L' + x + ',' + (y + 4) + 'Z';
  }
  function place(nodes, points, how) {
    Array.prototype.forEach.call(nodes, function (node, i) {
      if (points[i]) how(node, Number(coordinate(xOfOffset(points[i][0]))), Number(coordinate(yOfLevel(points[i][1]))));
    });
  }
  function shade(node, from, to, least) {
    var left = xOfOffset(from), right = Math.max(xOfOffset(to), left + least);
    node.setAttribute('x', coordinate(left));
    node.setAttribute('width', coordinate(right - left));
  }
  function drawPlot() {
    var zoomed = view !== whole;
    underClip.textContent = '';
    overClip.textContent = '';
    [chartMask, chartZero].concat(chartBands, chartLabels, chartShades, chartTraces, chartFits).forEach(function (node) {
      if (!node) return;
      if (zoomed) node.setAttribute('visibility', 'hidden');
      else node.removeAttribute('visibility');
    });
    if (!zoomed) return;
    // The bands shaded, each with its label, in the order the chart drew them.
    chartBands.forEach(function (node, i) {
      var range = data.shaded[i];
      if (!range) return;
      var band = copyOf(node);
      shade(band, range[0], range[1], 0);
      underClip.appendChild(band);
      if (!chartLabels[i]) return;
      var label = copyOf(chartLabels[i]);
      var ends = range.map(function (offset) { return Math.max(area.left, Math.min(area.left + area.width, xOfOffset(offset))); });
      label.setAttribute('x', coordinate((ends[0] + ends[1]) / 2));
      overClip.appendChild(label);
    });
    data.traces.forEach(function (trace) {
      chartShades.filter(function (node) { return Number(node.getAttribute('data-trace')) === trace.line; }).forEach(function (node, i) {
        if (!trace.shades[i]) return;
        var copy = copyOf(node);
        shade(copy, trace.shades[i][0], trace.shades[i][1], 2);  // a range of one point still shows
        underClip.appendChild(copy);
      });
    });
    chartTraces.forEach(function (node) {
      var trace = traceOf[node.getAttribute('data-trace')], copy = copyOf(node);
      var polyline = copy.querySelector('polyline');
      if (polyline) polyline.setAttribute('points', pointsText(trace.drawn));
      place(copy.querySelectorAll('circle[r="3"]'), trace.drawn, function (dot, x, y) {
        dot.setAttribute('cx', x);
        dot.setAttribute('cy', y);
      });
      place(copy.querySelectorAll('circle[r="6"]'), trace.spurs, function (ring, x, y) {
        ring.setAttribute('cx', x);
        ring.setAttribute('cy', y);
      });
      var paths = Array.prototype.slice.call(copy.querySelectorAll('path'));
      var isTriangle = function (path) { return /Z$/.test(path.getAttribute('d')); };
      place(paths.filter(isTriangle), trace.limits, function (path, x, y) { path.setAttribute('d', triangle(x, y)); });
      place(paths.filter(function (path) { return !isTriangle(path); }), trace.fails,
            function (path, x, y) { path.setAttribute('d', cross(x, y)); });
      overClip.appendChild(copy);
    });
    // The fitted lines and their corners, with their labels above them.
    chartFits.forEach(function (node) {
      var fit = fitOf[node.getAttribute('data-trace')], copy = copyOf(node);
      if (!fit) return;
      Array.prototype.forEach.call(copy.querySelectorAll('polyline'), function (polyline, i) {
        if (fit.lines[i]) polyline.setAttribute('points', pointsText(fit.lines[i]));
      });
      place(copy.querySelectorAll('circle'), fit.corners, function (dot, x, y) {
        dot.setAttribute('cx', x);
        dot.setAttribute('cy', y);
      });
      place(copy.querySelectorAll('text'), fit.corners, function (label, x, y) {
        label.setAttribute('x', x);
        label.setAttribute('y', y - 7);
      });
      overClip.appendChild(copy);
    });
    [[chartZero, data.zero], [chartMask, data.mask]].forEach(function (line) {
      if (!line[0] || !line[1]) return;
      var copy = copyOf(line[0]), polyline = copy.querySelector('polyline');
      if (polyline) polyline.setAttribute('points', pointsText(line[1]));
      overClip.appendChild(copy);
    });
  }
  // Steps of 1, 2 or 5 times a power of ten, at least the given size.
  function niceStep(size) {
    var decade = Math.pow(10, Math.floor(Math.log10(size)));
    var steps = [1, 2, 5, 10];
    for (var i = 0; i < steps.length; ++i) if (steps[i] * decade >= size * (1 - 1e-9)) return steps[i] * decade;
    return 10 * decade;
  }
  // The offset lines of the view: decades over a wide view, 1 to 9 times a decade over a
  // narrower one, round steps of Hz over less than half a decade; labels where they fit.
  function offsetGrid() {
    var lines = [], span = view.x1 - view.x0;
    if (span > 2) {
      var every = Math.max(1, Math.floor(span / 12));
      for (var d = Math.floor(view.x0); d <= Math.ceil(view.x1); ++d) {
        var label = d >= -3 && d <= 12 ? numbers.withPrefix(Math.pow(10, d), 'Hz', 1) : '1e' + d + ' Hz';
        lines.push({ decade: d, minor: false, label: (d - Math.floor(view.x0)) % every === 0 ? label : '', rank: 0 });
        if (span <= 12) for (var m = 2; m <= 9; ++m) lines.push({ decade: d + Math.log10(m), minor: true, label: '' });
      }
    } else if (span > 0.5) {
      for (var e = Math.floor(view.x0); e <= Math.ceil(view.x1); ++e) {
        for (var k = 1; k <= 9; ++k) {
          var value = k * Math.pow(10, e);
          lines.push({ decade: Math.log10(value), minor: k !== 1, label: numbers.withPrefix(value, 'Hz', 1),
                       rank: k === 1 ? 0 : k === 2 || k === 5 ? 1 : 2 });
        }
      }
    } else {
      var low = Math.pow(10, view.x0), high = Math.pow(10, view.x1);
      var size = niceStep((high - low) / 6);
      var digits = Math.max(1, Math.min(15, Math.floor(Math.log10(high)) - Math.floor(Math.log10(size) + 1e-9) + 1));
      for (var n = Math.ceil(low / size); n * size <= high; ++n) {
        lines.push({ decade: Math.log10(n * size), minor: false, label: numbers.withPrefix(n * size, 'Hz', digits), rank: 0 });
      }
    }
    lines = lines.filter(function (line) { return line.decade >= view.x0 - 1e-9 && line.decade <= view.x1 + 1e-9; });
    // Labels where they do not overprint (characters are at most 7 pixels wide), the round
    // ones first.
    var placed = [];
    [0, 1, 2].forEach(function (rank) {
      lines.forEach(function (line) {
        if (!line.label || line.rank !== rank) return;
        var x = area.left + (line.decade - view.x0) / span * area.width, half = line.label.length * 3.5 + 4;
        if (placed.every(function (other) { return Math.abs(other.x - x) >= other.half + half; })) {
          placed.push({ x: x, half: half });
        } else {
          line.label = '';
        }
      });
    });
    return lines;
  }
  function levelGrid() {
    var span = view.y1 - view.y0, size = niceStep(span / 8), lines = [];
    var every = [1, 2, 5, 10].filter(function (k) { return k * size / span * area.height >= 14; })[0] || 10;
    var decimals = Math.max(0, -Math.floor(Math.log10(size) + 1e-9));
    for (var n = Math.ceil(view.y0 / size - 1e-9); n * size <= view.y1 + 1e-9 * size; ++n) {
      lines.push({ level: n * size, label: n % every === 0 ? fixed(n * size, decimals) : '' });
    }
    return lines;
  }
  function drawZoomGrid() {
    zoomGrid.textContent = '';
    var zoomed = view !== whole;
    if (gridGroup) gridGroup.style.display = zoomed ? 'none' : '';
    if (!zoomed) return;
    var bottom = area.top + area.height;
    offsetGrid().forEach(function (line) {
      var x = (area.left + (line.decade - view.x0) / (view.x1 - view.x0) * area.width).toFixed(1);
      zoomGrid.appendChild(svgElement('line', { x1: x, y1: area.top, x2: x, y2: bottom,
                                                stroke: line.minor ? data.theme.gridMinor : data.theme.gridMajor }));
      if (line.label) zoomGrid.appendChild(svgElement('text', { x: x, y: bottom + 18, 'text-anchor': 'middle' }, line.label));
    });
    levelGrid().forEach(function (line) {
      var y = yOfLevel(line.level).toFixed(1);
      zoomGrid.appendChild(svgElement('line', { x1: area.left, y1: y, x2: area.left + area.width, y2: y,
                                                stroke: data.theme.gridMajor }));
      if (line.label) {
        zoomGrid.appendChild(svgElement('text', { x: area.left - 8, y: y, 'text-anchor': 'end', 'dominant-baseline': 'middle' },
                                        line.label));
      }
    });
  }
  function redraw() {
    drawPlot();
    drawZoomGrid();
    drawSelection(band);
    cursor.setAttribute('visibility', 'hidden');
    document.getElementById('zoom-back').disabled = view === whole;
    document.getElementById('zoom-whole').disabled = view === whole;
    drawMarkers();
  }
  // The narrowest view: a ten-thousandth of a decade, a twentieth of a dB.
  var narrowestDecades = 1e-4, narrowestLevels = 0.05;
  function zoomTo(next) {
    function within(low, high, first, last, least) {
      var size = Math.min(Math.max(high - low, least), last - first);
      var middle = (low + high) / 2;
      low = Math.max(first, Math.min(last - size, middle - size / 2));
      return [low, low + size];
    }
    var x = within(next.x0, next.x1, whole.x0, whole.x1, narrowestDecades);
    var y = within(next.y0, next.y1, whole.y0, whole.y1, narrowestLevels);
    earlierViews.push(view);
    view = { x0: x[0], x1: x[1], y0: y[0], y1: y[1] };
    redraw();
  }
  function zoomBack(toWhole) {
    if (view === whole) return;
    view = toWhole ? whole : earlierViews.pop() || whole;
    if (toWhole) earlierViews = [];
    redraw();
  }
  function zoomIn() {
    var marker = markers[active], x = (view.x0 + view.x1) / 2, y = (view.y0 + view.y1) / 2;
    if (marker.on && marker.offset !== null) {
      x = Math.log10(marker.offset);
      y = markerLevel(marker);
    }
    var dx = (view.x1 - view.x0) / 4, dy = (view.y1 - view.y0) / 4;
    zoomTo({ x0: x - dx, x1: x + dx, y0: y - dy, y1: y + dy });
  }

  // The mouse: a click puts a marker down, a drag selects a band, a shift-drag (or any drag
  // with "drag zooms" ticked) zooms into the rectangle.
  var dragZooms = document.getElementById('drag-zooms');
  var pressed = null;
  function clampedPoint(point) {
    return { x: Math.max(area.left, Math.min(area.left + area.width, point.x)),
             y: Math.max(area.top, Math.min(area.top + area.height, point.y)) };
  }
  svg.addEventListener('mousedown', function (event) {
    if (event.button !== 0) return;
    var point = pointerAt(event);
    if (!insidePlot(point)) return;
    event.preventDefault();
    chartBox.focus({ preventScroll: true });
    pressed = { x: point.x, y: point.y, zoom: event.shiftKey || dragZooms.checked };
  });
  svg.addEventListener('mousemove', function (event) {
    var point = pointerAt(event);
    if (insidePlot(point)) {
      showReadout(point);
      follow(point);
    }
    if (!pressed) return;
    var to = clampedPoint(point);
    if (pressed.zoom) {
      zoomFrame.setAttribute('x', Math.min(pressed.x, to.x));
      zoomFrame.setAttribute('y', Math.min(pressed.y, to.y));
      zoomFrame.setAttribute('width', Math.abs(to.x - pressed.x));
      zoomFrame.setAttribute('height', Math.abs(to.y - pressed.y));
      zoomFrame.setAttribute('visibility', 'visible');
    } else {
      drawSelection([offsetAtX(Math.min(pressed.x, to.x)), offsetAtX(Math.max(pressed.x, to.x))]);
    }
  });
  // A band narrower than the plot can show: widened to the points of the active marker's trace
  // around it, which the page says; nothing when the trace has no two points there.
  function narrowBand(from, to, why) {
    var trace = traceOf[markers[active].line], points = trace.drawn;
    var below = lowerBound(points, from);  // the last point at or below the band, the first at or above it
    var low = Math.max(0, below < points.length && points[below][0] === from ? below : below - 1);
    var high = Math.min(points.length - 1, lowerBound(points, to));
    if (low === high) {
      low = Math.max(0, low - 1);
      high = Math.min(points.length - 1, high + 1);
    }
    if (!(low < high)) {
      say(why + ', and ' + trace.caption + ' has no two points around it: nothing to integrate.');
      drawSelection(band);
      return;
    }
    say('');
    setBand([points[low][0], points[high][0]], why + ': the band takes the points of ' + trace.caption +
            ' around it, ' + offsetText(points[low][0]) + ' to ' + offsetText(points[high][0]) + '.');
  }
  window.addEventListener('mouseup', function (event) {
    if (!pressed) return;
    var start = pressed;
    pressed = null;
    var point = pointerAt(event), to = clampedPoint(point);
    var width = Math.abs(to.x - start.x), height = Math.abs(to.y - start.y);
    if (start.zoom) {
      zoomFrame.setAttribute('visibility', 'hidden');
      if (width < 4 && height < 4) return say('Drag a wider rectangle to zoom.');
      say('');
      zoomTo({ x0: width < 4 ? view.x0 : Math.log10(offsetAtX(Math.min(start.x, to.x))),
               x1: width < 4 ? view.x1 : Math.log10(offsetAtX(Math.max(start.x, to.x))),
               y0: height < 4 ? view.y0 : levelAtY(Math.max(start.y, to.y)),
               y1: height < 4 ? view.y1 : levelAtY(Math.min(start.y, to.y)) });
      return;
    }
    var from = offsetAtX(Math.min(start.x, to.x)), upTo = offsetAtX(Math.max(start.x, to.x));
    if (width < 2) {
      drawSelection(band);
      if (insidePlot(point)) clickAt(point);
      return;
    }
    if (width < 4) return narrowBand(from, upTo, 'The drag was narrower than 4 pixels');
    // The band's ends are rounded as the summary prints them.
    var low = Number(from.toPrecision(5)), high = Number(upTo.toPrecision(5));
    if (!(low < high)) return narrowBand(from, upTo, 'The band is narrower than 5 digits of its offsets tell apart');
    say('');
    setBand([low, high]);
  });
  svg.addEventListener('dblclick', function () {
    band = data.band;
    programBand = true;
    bandNote = '';
    clearMarkers();
    showBand();
  });
  svg.addEventListener('mouseleave', function () { cursor.setAttribute('visibility', 'hidden'); });

  // A legend entry hides or shows its trace, with its marks and shading; from the keyboard
  // too.
  function toggle(entry) {
    var line = entry.getAttribute('data-trace');
    hidden[line] = !hidden[line];
    entry.classList.toggle('hidden', hidden[line]);
    entry.setAttribute('aria-pressed', hidden[line] ? 'false' : 'true');
    Array.prototype.forEach.call(svg.querySelectorAll('.trace[data-trace="' + line + '"],.shade[data-trace="' + line + '"],' +
                                                      '.fit[data-trace="' + line + '"]'),
                                 function (node) { node.style.display = hidden[line] ? 'none' : ''; });
    showBand();
    drawMarkers();
  }
  Array.prototype.forEach.call(svg.querySelectorAll('.legend-entry[data-trace]'), function (entry) {
    entry.setAttribute('tabindex', '0');
    entry.setAttribute('role', 'button');
    entry.setAttribute('aria-pressed', 'true');
    entry.addEventListener('click', function (event) {
      event.stopPropagation();
      toggle(entry);
    });
  });

  // The keys, while the chart has the focus.
  chartBox.addEventListener('keydown', function (event) {
    var target = event.target;
    if ((event.key === 'Enter' || event.key === ' ') && target.classList && target.classList.contains('legend-entry')) {
      event.preventDefault();
      return toggle(target);
    }
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    var steps = event.shiftKey ? 10 : 1;
    var actions = {
      ArrowLeft: function () { step(-steps); },
      ArrowRight: function () { step(steps); },
      Home: function () { step(-1, true); },
      End: function () { step(1, true); },
      ArrowUp: function () { changeTrace(-1); },
      ArrowDown: function () { changeTrace(1); },
      '1': function () { activate(0); },
      '2': function () { activate(1); },
      p: peak, P: peak, n: nextSpur, N: nextSpur, b: bandBetweenMarkers, B: bandBetweenMarkers,
      '+': zoomIn, '=': zoomIn, '-': function () { zoomBack(false); }, Backspace: function () { zoomBack(false); },
      '0': function () { zoomBack(true); },
      Escape: clearMarkers,
    };
    if (!actions[event.key]) return;
    event.preventDefault();
    actions[event.key]();
  });

  // The controls beside the chart.
  Array.prototype.forEach.call(document.querySelectorAll('input[name="active-marker"]'), function (radio) {
    radio.addEventListener('change', function () { activate(Number(radio.value)); });
  });
  traceChoice.addEventListener('change', function () { setTrace(Number(traceChoice.value)); });
  document.getElementById('marker-form').addEventListener('submit', function (event) {
    event.preventDefault();
    typedOffset(document.getElementById('marker-offset').value);
  });
  document.getElementById('peak').addEventListener('click', peak);
  document.getElementById('next-spur').addEventListener('click', nextSpur);
  document.getElementById('band-between').addEventListener('click', bandBetweenMarkers);
  document.getElementById('clear-markers').addEventListener('click', clearMarkers);
  document.getElementById('zoom-back').addEventListener('click', function () { zoomBack(false); });
  document.getElementById('zoom-whole').addEventListener('click', function () { zoomBack(true); });

  // Save as PNG: the chart as it stands, markers and all, drawn on a canvas at its size or
  // twice it and handed to the browser as a download. Nothing leaves the page.
  function savePng(scale) {
    var width = Number(svg.getAttribute('width')), height = Number(svg.getAttribute('height'));
    var copy = svg.cloneNode(true);
    ['#cursor', '#zoom-frame'].forEach(function (selector) {
      var node = copy.querySelector(selector);
      if (node) node.parentNode.removeChild(node);
    });
    Array.prototype.forEach.call(copy.querySelectorAll('.legend-entry.hidden'), function (entry) {
      entry.setAttribute('opacity', '0.35');
    });
    copy.setAttribute('width', width * scale);
    copy.setAttribute('height', height * scale);
    var text = new XMLSerializer().serializeToString(copy);
    var image = new Image();
    image.onload = function () {
      var canvas = document.createElement('canvas');
      canvas.width = width * scale;
      canvas.height = height * scale;
      canvas.getContext('2d').drawImage(image, 0, 0, canvas.width, canvas.height);
      canvas.toBlob(function (png) {
        if (!png) return say('The browser could not make the PNG.');
        var name = (document.title || 'chart').replace(/[^A-Za-z0-9._-]+/g, '_').slice(0, 80) +
                   (scale > 1 ? '@' + scale + 'x' : '') + '.png';
        var link = element('a', { id: 'png-link', download: name });
        link.href = URL.createObjectURL(png);
        link.textContent = name;
        status.textContent = 'Saved ';
        status.appendChild(link);
        status.appendChild(document.createTextNode(', ' + canvas.width + ' \u00d7 ' + canvas.height + ' pixels.'));
        link.click();
      }, 'image/png');
    };
    image.onerror = function () { say('The browser could not draw the chart into an image.'); };
    image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(text);
  }
  document.getElementById('save-png').addEventListener('click', function () { savePng(1); });
  document.getElementById('save-png-2x').addEventListener('click', function () { savePng(2); });

  showBand();
  showMarkers();
  document.body.setAttribute('data-ready', 'true');
})(pnpplotNumbers);
