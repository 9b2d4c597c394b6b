// The report's script: the mouse, the keys and the controls, each to its job's function.

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
    drawBand();
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
  clearMarkers();
  commandLineBand();
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

// The controls in the bar above the chart.
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
