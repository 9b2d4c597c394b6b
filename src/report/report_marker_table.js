// The report's script: the markers' table drawn in a corner of the plot, as an analyzer shows
// it: marker, trace, offset and level, then the delta between the two. It stands in the
// chart's SVG, so a screenshot, a print and the saved PNG carry it.

var tablePadding = 5, tableRow = 15, tableGap = 12;
var cornerCache = { key: '', index: 0 };

function tableText(x, y, text, anchor, bold) {
  var attributes = { x: x.toFixed(1), y: y.toFixed(1), fill: data.theme.text, 'text-anchor': anchor };
  if (bold) attributes['font-weight'] = 'bold';
  return svgElement('text', attributes, text);
}
// The rows as text: a heading, a row a marker, the delta.
function markerTableCells(rows, delta) {
  var cells = [['Mkr', 'Trace', 'Offset', 'Level']];
  rows.forEach(function (row) {
    if (row.offset === null) return;
    cells.push([row.index ? '2 \u0394' : '1', row.trace.caption, offsetText(row.offset), levelText(row.level)]);
  });
  if (delta) cells.push(['\u0394 2\u22121', delta.slope, delta.offset, delta.level]);
  return cells;
}
// How much a box at a corner of the plot would hide: the shown traces' points under it, and
// the band labels, which count for many points.
function hiddenUnder(box) {
  function inside(x, y) { return x >= box.x && x <= box.x + box.width && y >= box.y && y <= box.y + box.height; }
  var count = 0;
  visibleTraces().forEach(function (trace) {
    trace.drawn.forEach(function (point) {
      if (inside(xOfOffset(point[0]), yOfLevel(point[1]))) ++count;
    });
  });
  Array.prototype.forEach.call(svg.querySelectorAll('text.band-label, #selection-label'), function (label) {
    if (label.style.display === 'none' || label.getAttribute('visibility') === 'hidden' || !label.textContent) return;
    var b = label.getBBox();
    if (b.x < box.x + box.width && b.x + b.width > box.x && b.y < box.y + box.height && b.y + b.height > box.y) count += 50;
  });
  return count;
}
// The corner that hides least, the top right first when they tie (at the top, or under the
// band labels); kept while the view, the traces shown, the band and the table's size stay.
function tableCorner(width, height) {
  var left = area.left + 6, right = area.left + area.width - 6 - width;
  var top = area.top + 6, bottom = area.top + area.height - 6 - height, underLabels = area.top + 34;
  var corners = [[right, top], [right, underLabels], [left, bottom], [left, top], [left, underLabels], [right, bottom]];
  var key = [view.x0, view.x1, view.y0, view.y1, Object.keys(hidden).filter(function (line) { return hidden[line]; }),
             programBand ? '' : band, Math.round(width / 20), Math.round(height / 20)].join();
  if (cornerCache.key !== key) {
    var best = null;
    corners.forEach(function (corner, index) {
      var cost = hiddenUnder({ x: corner[0], y: corner[1], width: width, height: height });
      if (!best || cost < best.cost) best = { index: index, cost: cost };
    });
    cornerCache = { key: key, index: best.index };
  }
  return { x: corners[cornerCache.index][0], y: corners[cornerCache.index][1] };
}
function drawMarkerTable(rows, delta) {
  markerTable.textContent = '';
  var cells = markerTableCells(rows, delta);
  if (cells.length < 2) return;
  // Each text once where it is measured, then moved into its column.
  var texts = cells.map(function (row, r) {
    return row.map(function (text) {
      var node = tableText(0, 0, text, 'start', r === 0);
      markerTable.appendChild(node);
      return node;
    });
  });
  var widths = [0, 0, 0, 0];
  texts.forEach(function (row) {
    row.forEach(function (node, c) { widths[c] = Math.max(widths[c], node.getComputedTextLength()); });
  });
  var width = widths.reduce(function (sum, w) { return sum + w; }, 0) + 3 * tableGap + 2 * tablePadding;
  var height = cells.length * tableRow + 2 * tablePadding - 2;
  var corner = tableCorner(width, height);
  markerTable.insertBefore(svgElement('rect', { x: corner.x.toFixed(1), y: corner.y.toFixed(1), width: width.toFixed(1),
                                                height: height.toFixed(1), fill: data.theme.background,
                                                'fill-opacity': '0.9', stroke: data.theme.muted, 'stroke-width': 0.75 }),
                           markerTable.firstChild);
  // Texts start at the left of the trace column and end at the right of the numbers' columns.
  var columnsAt = [], x = corner.x + tablePadding;
  widths.forEach(function (w) {
    columnsAt.push(x);
    x += w + tableGap;
  });
  texts.forEach(function (row, r) {
    var y = corner.y + tablePadding + (r + 1) * tableRow - 4;
    row.forEach(function (node, c) {
      var number = c >= 2;
      node.setAttribute('x', (number ? columnsAt[c] + widths[c] : columnsAt[c]).toFixed(1));
      node.setAttribute('y', y.toFixed(1));
      node.setAttribute('text-anchor', number ? 'end' : 'start');
    });
  });
}
