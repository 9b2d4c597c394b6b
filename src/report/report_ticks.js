// The report's script: the offset axis's labels as the chart writes them (src/chart/text_width.cpp,
// decade_grid.cpp, svg_parts.cpp), for the grid drawn over a zoomed view. The page test holds
// them, label for label, to the chart's over the same span.

var tickFontSize = 12, superscriptFontSize = 9, tickGap = 8;

// The width of the text in the chart's sans-serif font at the size in pixels: an estimate that
// errs wide (DejaVu Sans's widest of each kind of character, the micro sign as a digit, any
// other non-ASCII character at most an em), as the chart measures its labels.
var narrowCharacters = ' .,:;\'!|ijlftrI()[]', wideCharacters = 'mwMW%';
function textWidth(text, fontSize) {
  var ems = 0;
  Array.from(text).forEach(function (character) {
    var code = character.codePointAt(0);
    if (code === 0xb5) ems += 0.65;
    else if (code >= 0x80) ems += 1;
    else if (code !== 0 && narrowCharacters.indexOf(character) >= 0) ems += 0.42;
    else if (code !== 0 && wideCharacters.indexOf(character) >= 0) ems += 1;
    else ems += character >= 'A' && character <= 'Z' ? 0.8 : 0.65;
  });
  return ems * fontSize;
}
// 10^decade, as the chart works it out.
function powerOfTen(decade) {
  var power = 1;
  for (var i = 0; i < Math.abs(decade); ++i) power *= 10;
  return decade < 0 ? 1 / power : power;
}
// An offset's label, to the digits given (none: as short as it reads back): with a prefix
// from f to T ("100 µHz"), beyond them with the power of ten raised ("10⁻¹⁸ Hz", "2×10¹⁵ Hz"):
// { text, superscript, after }.
function offsetLabel(offset, digits) {
  var text = numbers.drawnWithPrefix(offset, 'Hz', digits), mark = text.indexOf('e');
  if (mark < 0) return { text: text, superscript: '', after: '' };
  var mantissa = text.slice(0, mark), exponent = parseInt(text.slice(mark + 1), 10);
  return { text: (mantissa === '1' ? '' : mantissa + '\u00d7') + '10',
           superscript: (exponent < 0 ? '\u2212' : '') + Math.abs(exponent), after: ' Hz' };
}
function tickWidth(label) {
  return textWidth(label.text + label.after, tickFontSize) + textWidth(label.superscript, superscriptFontSize);
}
// The label as the chart draws it, its exponent raised.
function tickNode(label, attributes) {
  var node = svgElement('text', attributes, label.superscript ? label.text : label.text + label.after);
  if (!label.superscript) return node;
  node.appendChild(svgElement('tspan', { dy: '-5', 'font-size': superscriptFontSize }, label.superscript));
  if (label.after) node.appendChild(svgElement('tspan', { dy: '5' }, label.after));
  return node;
}
// The decades first to last, `length` pixels each, labelled where their decade is a multiple
// of the least k that keeps neighbouring labels tickGap apart: true for those labelled.
function labelledDecades(first, last, length) {
  var widths = [];
  for (var d = first; d <= last; ++d) widths.push(tickWidth(offsetLabel(powerOfTen(d), 0)));
  var multiple = function (d, k) { return ((d % k) + k) % k === 0; };
  var stride = 1;
  for (; stride < last - first; ++stride) {
    var apart = true, previous = -1;
    for (var i = 0; i <= last - first && apart; ++i) {
      if (!multiple(first + i, stride)) continue;
      if (previous >= 0) apart = (widths[previous] + widths[i]) / 2 + tickGap <= (i - previous) * length;
      previous = i;
    }
    if (apart) break;
  }
  return widths.map(function (width, i) { return multiple(first + i, stride); });
}
