// The page test's checks of the markers (src/report/report_markers.js and
// report_marker_table.js): marker 1 following the pointer along its trace, typed offsets,
// Peak, Next spur, the delta marker, the keys, and the markers' table drawn on the chart.
'use strict';

const { check, pause, levelOf, difference } = require('./page_helpers');

// Two clicks on the sample measure between them, on the trace: the levels there are the spot
// noise pnpplot gives at 100 Hz and 1 kHz, a decade apart, whatever the height of the clicks.
async function twoClicks(page, helpers, printed) {
  const { at, text } = helpers;
  await page.$eval('#measure', (node) => { node.textContent = ''; });
  const a = await at(100, -120), b = await at(1000, -140);
  await page.mouse.click(a.x, a.y);
  await pause(400);  // two clicks, not a double-click
  await page.mouse.click(b.x, b.y);
  const spots = printed['osc1.csv phase noise']['spot noise'];
  const step = difference(levelOf(spots, '100 Hz'), levelOf(spots, '1 kHz'));
  check(await text('#measure') === 'delta 2 \u2212 1: 900 Hz, ' + step + ' dB, ' + step + ' dB/decade',
        'two clicks measure the difference and the slope between the trace\'s levels: ' + await text('#measure'));
  // The chart's marker table says the same, a row a marker and the delta.
  const table = await helpers.markerTable();
  const level = (label) => levelOf(spots, label) + ' dBc/Hz';
  const wanted = [['Mkr', 'Trace', 'Offset', 'Level'], ['1', 'osc1.csv phase noise', '100 Hz', level('100 Hz')],
                  ['2 \u0394', 'osc1.csv phase noise', '1 kHz', level('1 kHz')],
                  ['\u0394 2\u22121', step + ' dB/decade', '900 Hz', step + ' dB']];
  check(JSON.stringify(table) === JSON.stringify(wanted), 'the marker table on the chart: ' + JSON.stringify(table));
  // It stands inside the plot, in the corner where it hides least of the traces: here the
  // noise falls from the top left, so the top right.
  const box = await page.$eval('#marker-table rect', (node) => [node.x.baseVal.value, node.y.baseVal.value,
                                                                 node.width.baseVal.value, node.height.baseVal.value]);
  const { area } = helpers;
  check(box[0] + box[2] <= area.left + area.width && box[0] + box[2] > area.left + area.width - 8 &&
        box[1] >= area.top && box[1] + box[3] < area.top + area.height / 2,
        'in the top right corner of the plot: ' + box.map((v) => v.toFixed(1)).join(', ') + ' in ' + JSON.stringify(area));
}

// The export with two spurs and a floor: the markers along the traces.
async function spurMarkers(page, helpers, noise, floor, rows) {
  const { x, y, at, type, key, text, marker, drawn } = helpers;
  const spot = (label) => levelOf(noise['spot noise'], label);
  const spur = (label) => levelOf(noise.spurs, label);
  const first = 'spurs.csv phase noise: ';

  // Marker 1 follows the pointer along the phase noise: near a point it sits on it, and reads
  // the spot noise pnpplot gives there.
  await page.mouse.move((await at(1000, -100)).x, (await at(1000, -100)).y);
  let shown = await marker(1);
  check(shown && shown.text === '1 ' + first + '1 kHz, ' + spot('1 kHz') + ' dBc/Hz (follows the pointer)',
        'marker 1 follows the pointer to the point at 1 kHz and reads pnpplot\'s spot noise: ' + (shown && shown.text));
  // Between two points it reads the trace, straight in log f and dB between them, and sits on
  // it, whatever the pointer's height.
  const between = await at(1400, -100);
  await page.mouse.move(between.x, between.y);
  shown = await marker(1);
  const below = rows.filter((row) => Number(row[0]) <= shown.offset).pop();
  const above = rows.find((row) => Number(row[0]) > shown.offset);
  const level = Number(below[1]) + (Number(above[1]) - Number(below[1])) *
                Math.log(shown.offset / Number(below[0])) / Math.log(Number(above[0]) / Number(below[0]));
  const circle = await drawn(1);
  check(shown.offset > Number(below[0]) && shown.text.endsWith(', ' + level.toFixed(2) + ' dBc/Hz (follows the pointer)') &&
        Math.abs(level * 100 - Math.round(level * 100)) < 0.49,
        'between the points at ' + below[0] + ' and ' + above[0] + ' Hz it reads the trace: ' + shown.text);
  check(circle && Math.abs(circle[0] - x(shown.offset)) < 0.6 && Math.abs(circle[1] - y(level)) < 0.6,
        'and is drawn on the trace, not at the pointer: ' + circle);

  // A typed offset puts it down there, as -r reads it or with a space before its unit; the
  // pointer leaves it be.
  await type('1 kHz');
  const away = await at(20000, -150);
  await page.mouse.move(away.x, away.y);
  shown = await marker(1);
  check(shown.text === '1 ' + first + '1 kHz, ' + spot('1 kHz') + ' dBc/Hz', 'a typed "1 kHz" puts marker 1 down: ' + shown.text);
  await type('10k');
  check((await marker(1)).text === '1 ' + first + '10 kHz, ' + spur('10 kHz') + ' dBc/Hz',
        'at 10k it reads the trace, the spur pnpplot lists there: ' + (await marker(1)).text);
  await type('1.5 MHz');
  check((await text('#status')).startsWith('1.5 MHz lies beyond spurs.csv phase noise, 1 Hz to 1 MHz') &&
        (await marker(1)).offset === 10000, 'an offset beyond the trace is refused: ' + await text('#status'));
  await type('12x');
  check((await text('#status')).includes('is not an offset'), 'and one that is not an offset: ' + await text('#status'));

  // The highest point, then the spurs one after the other, round to the first again.
  await page.click('#peak');
  check((await marker(1)).text === '1 ' + first + '1 Hz, ' + spot('1 Hz') + ' dBc/Hz',
        'Peak: the trace\'s highest point, ' + (await marker(1)).text);
  const spurs = [];
  for (let i = 0; i < 3; ++i) {
    await page.click('#next-spur');
    spurs.push((await marker(1)).text.slice(('1 ' + first).length));
  }
  const listed = ['50.119 Hz', '10 kHz'].map((label) => label + ', ' + spur(label) + ' dBc/Hz');
  check(JSON.stringify(spurs) === JSON.stringify([listed[0], listed[1], listed[0]]),
        'Next spur: the spurs pnpplot lists, then the first again: ' + spurs.join('; '));

  // The delta marker: offset, level difference and slope between the two, on one trace and on
  // two.
  await type('10');
  await key('2');
  await type('100');
  const decade = difference(spot('10 Hz'), spot('100 Hz'));
  check(await text('#measure') === 'delta 2 \u2212 1: 90 Hz, ' + decade + ' dB, ' + decade + ' dB/decade',
        'the delta marker: ' + await text('#measure'));
  await key('ArrowDown');
  const across = difference(spot('10 Hz'), levelOf(floor['spot noise'], '100 Hz'));
  check((await marker(2)).text === '2 (delta) spurs.csv floor: 100 Hz, ' + levelOf(floor['spot noise'], '100 Hz') + ' dBc/Hz' &&
        await text('#measure') === 'delta 2 \u2212 1: 90 Hz, ' + across + ' dB, ' + across + ' dB/decade',
        'down moves it to the floor: ' + await text('#measure'));
  const table = await helpers.markerTable();
  check(table.length === 4 && table[2][1] === 'spurs.csv floor' && table[3][3] === across + ' dB',
        'and the marker table on the chart follows: ' + JSON.stringify(table.slice(2)));

  // The keys move marker 1 along the trace's points: each a row of the export.
  await key('1');
  await key('ArrowRight');
  check((await marker(1)).text === '1 ' + first + '12.589 Hz, ' + rows[11][1] + ' dBc/Hz', 'right: the next point, ' + (await marker(1)).text);
  await key('ArrowLeft');
  check((await marker(1)).offset === 10, 'left: back to 10 Hz');
  await key('ArrowRight', true);
  check((await marker(1)).text === '1 ' + first + '100 Hz, ' + spot('100 Hz') + ' dBc/Hz', 'shift-right: ten points on, ' + (await marker(1)).text);
  await key('End');
  check((await marker(1)).text === '1 ' + first + '1 MHz, ' + spot('1 MHz') + ' dBc/Hz', 'End: the last point, ' + (await marker(1)).text);
  await key('Home');
  check((await marker(1)).offset === 1, 'Home: the first');
  await key('n');
  check((await marker(1)).text.endsWith(listed[0]), 'N: the next spur');
  await key('Escape');
  check(await marker(2) === null && (await marker(1)).text.endsWith('follows the pointer') &&
        (await helpers.markerTable()).length === 0, 'Esc clears the markers and their table');
  return listed;
}

module.exports = { twoClicks, spurMarkers };
