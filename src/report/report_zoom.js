// The report's script: zoom. Over a narrower view the plot is drawn again from the page's
// data, at the offsets and levels the chart stands for, in the chart's own styles (a copy of
// each of its elements) and clipped to the plot; the chart's own drawing stands aside until
// the view is whole again. The grid is drawn anew for the view, its offset axis by the
// chart's rules (report_ticks.js): zoomed to the whole chart, the page draws what pnpplot drew.

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
// Where the chart put each corner's label, from its corner: kept over a zoomed view, so that
// labels the chart stacked stay stacked.
var cornerLabelShifts = chartFits.map(function (node) {
  var dots = node.querySelectorAll('circle');
  return Array.prototype.map.call(node.querySelectorAll('text'), function (label, i) {
    return [Number(label.getAttribute('x')) - Number(dots[i].getAttribute('cx')),
            Number(label.getAttribute('y')) - Number(dots[i].getAttribute('cy'))];
  });
});
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
  // The bands shaded in their tints, each in view with its label in its row over the band's
  // middle, moved in where it would reach past the plot, in the order the chart drew them.
  chartBands.forEach(function (node, i) {
    var range = data.shaded[i];
    if (!range) return;
    var band = copyOf(node);
    shade(band, range[0], range[1], 0);
    underClip.appendChild(band);
    var ends = range.map(function (offset) { return Math.max(area.left, Math.min(area.left + area.width, xOfOffset(offset))); });
    if (!chartLabels[i] || !(ends[0] < ends[1])) return;
    var label = copyOf(chartLabels[i]), half = textWidth(label.textContent, 11) / 2;
    var low = area.left + half + 4, high = area.left + area.width - half - 4;
    var middle = low > high ? area.left + area.width / 2 : Math.max(low, Math.min(high, (ends[0] + ends[1]) / 2));
    label.setAttribute('x', coordinate(middle));
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
  // Each trace, and a trace as measured before the floor's subtraction at its own levels.
  chartTraces.forEach(function (node) {
    var trace = traceOf[node.getAttribute('data-trace')], copy = copyOf(node);
    var points = node.classList.contains('measured') ? trace.measured : trace.drawn;
    if (!points) return;
    var polyline = copy.querySelector('polyline');
    if (polyline) polyline.setAttribute('points', pointsText(points));
    place(copy.querySelectorAll('circle[r="3"]'), points, function (dot, x, y) {
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
  // The fitted lines and their corners, each label where the chart put it from its corner.
  chartFits.forEach(function (node, f) {
    var fit = fitOf[node.getAttribute('data-trace')], copy = copyOf(node);
    if (!fit) return;
    Array.prototype.forEach.call(copy.querySelectorAll('polyline'), function (polyline, i) {
      if (fit.lines[i]) polyline.setAttribute('points', pointsText(fit.lines[i]));
    });
    place(copy.querySelectorAll('circle'), fit.corners, function (dot, x, y) {
      dot.setAttribute('cx', x);
      dot.setAttribute('cy', y);
    });
    Array.prototype.forEach.call(copy.querySelectorAll('text'), function (label, i) {
      if (!fit.corners[i]) return;
      label.setAttribute('x', coordinate(xOfOffset(fit.corners[i][0]) + cornerLabelShifts[f][i][0]));
      label.setAttribute('y', coordinate(yOfLevel(fit.corners[i][1]) + cornerLabelShifts[f][i][1]));
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
// The offset lines of the view. Over two decades' lines or more, as the chart draws them: a
// line at each decade, lighter ones at 2 to 9 times it over at most 12 decades, labels at the
// decades the chart's rule keeps apart. Over less, lines at 1 to 9 times a decade, or round
// steps of Hz over less than half a decade, labelled where they keep as far apart, the
// round ones first.
function offsetGrid() {
  var lines = [], span = view.x1 - view.x0, perDecade = area.width / span;
  var first = Math.ceil(view.x0 - 1e-9), last = Math.floor(view.x1 + 1e-9);
  if (last > first) {
    var labelled = labelledDecades(first, last, perDecade);
    for (var d = first; d <= last; ++d) {
      lines.push({ decade: d, minor: false, label: labelled[d - first] ? offsetLabel(powerOfTen(d), 0) : null });
    }
    if (span <= 12 + 1e-9) {
      for (var e = Math.floor(view.x0); e < Math.ceil(view.x1); ++e) {
        for (var m = 2; m <= 9; ++m) lines.push({ decade: e + Math.log10(m), minor: true, label: null });
      }
    }
    return lines.filter(function (line) { return line.decade >= view.x0 - 1e-9 && line.decade <= view.x1 + 1e-9; });
  }
  if (span > 0.5) {
    for (var f = Math.floor(view.x0); f <= Math.ceil(view.x1); ++f) {
      for (var k = 1; k <= 9; ++k) {
        lines.push({ decade: f + Math.log10(k), minor: k !== 1, label: offsetLabel(k * powerOfTen(f), 1),
                     rank: k === 1 ? 0 : k === 2 || k === 5 ? 1 : 2 });
      }
    }
  } else {
    var low = Math.pow(10, view.x0), high = Math.pow(10, view.x1);
    var size = niceStep((high - low) / 6);
    var digits = Math.max(1, Math.min(15, Math.floor(Math.log10(high)) - Math.floor(Math.log10(size) + 1e-9) + 1));
    for (var n = Math.ceil(low / size); n * size <= high; ++n) {
      lines.push({ decade: Math.log10(n * size), minor: false, label: offsetLabel(n * size, digits), rank: 0 });
    }
  }
  lines = lines.filter(function (line) { return line.decade >= view.x0 - 1e-9 && line.decade <= view.x1 + 1e-9; });
  var placed = [];
  [0, 1, 2].forEach(function (rank) {
    lines.forEach(function (line) {
      if (line.rank !== rank) return;
      var x = area.left + (line.decade - view.x0) * perDecade, width = tickWidth(line.label);
      if (placed.every(function (other) { return Math.abs(other.x - x) >= (other.width + width) / 2 + tickGap; })) {
        placed.push({ x: x, width: width });
      } else {
        line.label = null;
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
    if (line.label) zoomGrid.appendChild(tickNode(line.label, { x: x, y: bottom + 18, 'text-anchor': 'middle' }));
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
  drawBand();
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
// The page test zooms through this to views of whole decades, to hold the grid to the chart's.
window.pnpplotZoomTo = function (x0, x1, y0, y1) { zoomTo({ x0: x0, x1: x1, y0: y0, y1: y1 }); };
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
