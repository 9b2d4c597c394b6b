// The report's script: the band in view and its figures beside the chart. For the band of the
// command line the page shows what pnpplot printed; a band dragged or set between the markers
// is integrated here, shaded on the chart and labelled there in place of the command line's.

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
// A figure's text in pieces that never break inside: "7.5432 mrad," "0.43219 deg".
function valueNode(text) {
  var node = element('span', { 'class': 'value' });
  text.split(', ').forEach(function (piece, i, all) {
    if (i) node.appendChild(document.createTextNode(' '));
    node.appendChild(element('span', { 'class': 'n' }, piece + (i + 1 < all.length ? ',' : '')));
  });
  return node;
}
// The figures of a trace over the band: what pnpplot printed, or integrated here.
function bandFigures(trace) {
  if (programBand) return trace.figures ? { cells: trace.figures.slice(0, 4), range: trace.figures[4] } : null;
  var points = trace.thinned ? trace.drawn : trace.figure;
  var integral = trace.thinned ? integrateRunning(trace, band[0], band[1]) : integrate(points, band[0], band[1]);
  if (!integral) return null;
  addTones(integral, trace.tones);
  var figures = figuresOf(integral, trace.carrier);
  return { cells: [numbers.phaseNoiseText(figures.phaseNoise), numbers.rmsPhaseText(figures.rms, figures.degrees),
                   numbers.jitterText(figures.jitter), numbers.residualFmText(figures.fm)],
           range: offsetText(integral.from) + ' to ' + offsetText(integral.to) };
}
var figureNames = ['phase noise', 'RMS phase', 'RMS jitter', 'residual FM'];
function showBand() {
  var list = document.getElementById('band-figures');
  list.textContent = '';
  var snapped = [];
  visibleTraces().forEach(function (trace) {
    var block = element('div', { 'class': 'band-trace', 'data-trace': trace.line });
    var caption = element('div', { 'class': 'caption' });
    caption.appendChild(element('span', { 'class': 'swatch', style: 'background:' + trace.colour }));
    caption.appendChild(document.createTextNode(trace.caption));
    block.appendChild(caption);
    if (trace.thinned && !programBand) snapped.push(trace.caption);
    var figures = bandFigures(trace);
    if (!figures) {
      block.appendChild(element('div', { 'class': 'figure' }, 'nothing: the band does not overlap the trace'));
    } else {
      block.title = figures.range;
      figures.cells.forEach(function (text, i) {
        var line = element('div', { 'class': 'figure' });
        line.appendChild(element('span', { 'class': 'name' }, figureNames[i]));
        line.appendChild(document.createTextNode(' '));
        line.appendChild(valueNode(text));
        block.appendChild(line);
      });
    }
    list.appendChild(block);
  });
  document.getElementById('band-range').textContent = bandText();
  var notes = bandNote ? [bandNote] : [];
  if (snapped.length) {
    notes.push('The chart thinned ' + snapped.join(', ') + ': for ' + (snapped.length > 1 ? 'these' : 'it') +
               ' the band\'s ends snap to the drawn points, and the figures are those of the whole trace between them.');
  }
  document.getElementById('band-note').textContent = notes.join(' ');
  document.body.classList.toggle('page-band', !programBand);
  drawBand();
}
function setBand(range, note) {
  band = range;
  programBand = false;
  bandNote = note || '';
  showBand();
}
function commandLineBand() {
  band = data.band;
  programBand = true;
  bandNote = '';
  showBand();
}
function drawBand() { drawSelection(programBand ? null : band); }
// The band shaded and labelled; the chart's own bands (and their copies over a zoomed view)
// stand aside while a band of the page's is shown or dragged.
function drawSelection(range) {
  Array.prototype.forEach.call(svg.querySelectorAll('rect.band, text.band-label'), function (node) {
    node.style.display = range ? 'none' : '';
  });
  var left = range ? Math.max(area.left, Math.min(area.left + area.width, xOfOffset(range[0]))) : 0;
  var right = range ? Math.max(area.left, Math.min(area.left + area.width, xOfOffset(range[1]))) : 0;
  selection.setAttribute('x', left);
  selection.setAttribute('width', Math.max(0, right - left));
  selectionLabel.setAttribute('visibility', right > left ? 'visible' : 'hidden');
  if (!range) return;
  selectionLabel.setAttribute('x', ((left + right) / 2).toFixed(1));
  selectionLabel.textContent = 'integrated ' + offsetText(range[0]) + ' to ' + offsetText(range[1]);
}

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
    drawBand();
    return;
  }
  say('');
  setBand([points[low][0], points[high][0]], why + ': the band takes the points of ' + trace.caption +
          ' around it, ' + offsetText(points[low][0]) + ' to ' + offsetText(points[high][0]) + '.');
}
function bandBetweenMarkers() {
  var first = markers[0], second = markers[1];
  if (!(first.on && second.on && first.offset !== null && second.offset !== null && first.offset !== second.offset)) {
    return say('Put the two markers down at different offsets first.');
  }
  say('');
  setBand([Math.min(first.offset, second.offset), Math.max(first.offset, second.offset)], 'The band between the markers.');
}
