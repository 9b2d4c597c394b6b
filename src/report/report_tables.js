// The report's script: the tables under the chart. pnpplot writes them whole; a row of a spur
// table puts marker 1 on its spur, by a click or Enter.

function markerToSpur(row) {
  var line = Number(row.getAttribute('data-trace')), offset = Number(row.getAttribute('data-offset'));
  if (!traceOf[line]) return;
  if (hidden[line]) toggle(svg.querySelector('.legend-entry[data-trace="' + line + '"]'));
  markers[0].line = line;
  active = 0;
  placeMarker(0, offset);
  say(inView(offset) ? '' : offsetText(offset) + ' is outside the zoomed view: Whole chart shows it.');
  Array.prototype.forEach.call(document.querySelectorAll('table.spurs tr.chosen'), function (other) {
    other.classList.remove('chosen');
  });
  row.classList.add('chosen');
  chartBox.scrollIntoView({ block: 'nearest' });
}
Array.prototype.forEach.call(document.querySelectorAll('table.spurs tr[data-offset]'), function (row) {
  row.title = 'Put marker 1 on this spur';
  row.addEventListener('click', function () { markerToSpur(row); });
  row.addEventListener('keydown', function (event) {
    if (event.key !== 'Enter' && event.key !== ' ') return;
    event.preventDefault();
    markerToSpur(row);
  });
});
