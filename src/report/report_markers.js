// The report's script: the read-out under the pointer and the markers, 1 and the delta
// marker 2, each on a trace of its own: where they stand, how they move, what they read.

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
  drawMarkerTable(markerRows(), markerDelta());
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
// What the read-out and the chart's marker table say of each marker that is on, and of the
// delta between them.
function markerRows() {
  var rows = [];
  markers.forEach(function (marker, index) {
    if (!marker.on) return;
    var row = { index: index, trace: traceOf[marker.line], following: following === index, offset: null };
    if (marker.offset !== null) {
      row.offset = marker.offset;
      row.level = markerLevel(marker);
    }
    rows.push(row);
  });
  return rows;
}
function markerDelta() {
  var first = markers[0], second = markers[1];
  if (!(first.on && second.on && first.offset !== null && second.offset !== null)) return null;
  var difference = markerLevel(second) - markerLevel(first);
  var decades = logRatio(first.offset, second.offset) / Math.LN10;
  return { offset: numbers.withPrefix(second.offset - first.offset, 'Hz', 5), level: numbers.decibelText(difference),
           slope: decades !== 0 ? fixed(difference / decades, 2) + ' dB/decade' : 'no slope at one offset' };
}
function showMarkers() {
  markerReadout.textContent = '';
  var rows = markerRows(), delta = markerDelta();
  rows.forEach(function (row) {
    var text = (row.index ? '2 (delta) ' : '1 ') + row.trace.caption + ': ';
    var attributes = { 'data-marker': row.index + 1 };
    if (row.offset === null) {
      text += 'follows the pointer';
    } else {
      text += offsetText(row.offset) + ', ' + levelText(row.level) + (row.following ? ' (follows the pointer)' : '');
      attributes['data-offset'] = String(row.offset);
      attributes['data-level'] = String(row.level);
    }
    markerReadout.appendChild(element('div', attributes, text));
  });
  measure.textContent = delta ? 'delta 2 \u2212 1: ' + delta.offset + ', ' + delta.level + ', ' + delta.slope : '';
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
