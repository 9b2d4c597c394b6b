// The report's script: the page's data, the chart and the view of it: the offsets (as decades)
// and levels the plot spans, where a point of them stands on the chart, which traces are shown,
// and what the script draws over the chart.

var data = JSON.parse(document.getElementById('pnpplot-data').textContent);
var chartBox = document.getElementById('chart');
var svg = chartBox.querySelector('svg');
var area = data.area;
var svgNamespace = 'http://www.w3.org/2000/svg';
var status = document.getElementById('status');

// Levels in the unit the chart shows: dBc/Hz, another density's, or dB against a trace.
function levelText(level) { return fixed(level, 2) + ' ' + data.unit; }

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

// The whole chart's view at first; zooming narrows it.
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

// Which traces are shown.
var hidden = {};
var traceOf = {};
data.traces.forEach(function (trace) { traceOf[trace.line] = trace; });
function visibleTraces() {
  return data.traces.filter(function (trace) { return !hidden[trace.line]; });
}

// What the script draws over the chart: the band and its label, the rectangle of a zoom, the
// read-out's line, the markers and their table.
var overlay = svgElement('g', { id: 'overlay', 'pointer-events': 'none' });
svg.appendChild(overlay);
var selection = svgElement('rect', { id: 'selection', y: area.top, height: area.height, width: 0, fill: '#3070c0',
                                     'fill-opacity': '0.15' });
var selectionLabel = svgElement('text', { id: 'selection-label', y: area.top + 14, 'text-anchor': 'middle',
                                          'font-size': 11, fill: data.theme.muted, visibility: 'hidden' });
var zoomFrame = svgElement('rect', { id: 'zoom-frame', fill: 'none', stroke: data.theme.text, 'stroke-dasharray': '4 3',
                                     visibility: 'hidden' });
var cursor = svgElement('line', { id: 'cursor', y1: area.top, y2: area.top + area.height, stroke: '#808080',
                                  'stroke-dasharray': '2 2', visibility: 'hidden' });
var markerLayer = svgElement('g', { id: 'markers-drawn' });
var markerTable = svgElement('g', { id: 'marker-table', 'font-size': 11 });
[selection, selectionLabel, zoomFrame, cursor, markerLayer, markerTable].forEach(function (node) {
  overlay.appendChild(node);
});
