// The page test's checks of the band and its figures (src/report/report_band.js and
// report_integrals.js): a band dragged across the plot, narrower than the plot shows, between
// the markers, with the spurs as tones; each band's figures are pnpplot's for it with -r.
'use strict';

const { spawnSync } = require('child_process');
const path = require('path');
const { summaryOf } = require('./number_table');
const { check, printedFigures } = require('./page_helpers');

// A drag from 100 Hz to 10 kHz over the sample: the figures pnpplot -r gives for the band the
// page shows, beside the chart; the band is labelled on the chart in place of the command
// line's.
async function draggedBand(page, helpers, run) {
  const { at, drag, text } = helpers;
  const from = await at(100, -120), to = await at(10000, -120);
  await drag(from, to, false, 8);
  const band = await text('#band-range');
  const ends = band.split(' to ').map((words) => {
    const [number, unit] = words.split(' ');
    return Number(number) * ({ Hz: 1, kHz: 1e3, MHz: 1e6 })[unit];
  });
  check(Math.abs(ends[0] / 100 - 1) < 0.02 && Math.abs(ends[1] / 1e4 - 1) < 0.02, 'the dragged band: ' + band);
  const expected = summaryOf(run(['-r', ends[0] + ':' + ends[1], '-o', 'band.svg', 'osc1.csv']));
  for (const [caption, ...figures] of await helpers.bandFigures()) {
    const wanted = printedFigures(expected[caption]);
    check(JSON.stringify(figures) === JSON.stringify(wanted),
          caption + ' over the band: ' + figures.join('; ') + (JSON.stringify(figures) === JSON.stringify(wanted) ? '' : ' against ' + wanted.join('; ')));
  }
  const labels = await page.evaluate(() => ({
    own: [...document.querySelectorAll('#chart text.band-label')].map((node) => getComputedStyle(node).display),
    page: document.getElementById('selection-label').textContent,
    shown: document.getElementById('selection-label').getAttribute('visibility'),
  }));
  check(labels.own.every((display) => display === 'none') && labels.shown === 'visible' && labels.page === 'integrated ' + band,
        'the chart labels the dragged band, "' + labels.page + '", in place of the command line\'s');
  return band;
}

// A double-click returns to the band of the command line, its label and pnpplot's figures.
async function commandLineBand(page, helpers, printed) {
  const reading = await helpers.at(1000, -150);
  await page.mouse.click(reading.x, reading.y, { count: 2 });
  const figures = await helpers.bandFigures();
  check(await helpers.text('#band-range') === '10 Hz to 100 kHz' &&
        figures.every(([caption, ...values]) => JSON.stringify(values) === JSON.stringify(printedFigures(printed[caption]))) &&
        await page.$eval('#chart text.band-label', (node) => getComputedStyle(node).display) !== 'none' &&
        await page.$eval('#selection-label', (node) => node.getAttribute('visibility')) === 'hidden',
        'a double-click returns to the band of the command line, its label and pnpplot\'s figures');
}

// A drag of 3 pixels over the spur at 50 Hz: narrower than the plot shows, the band takes the
// points around it, and its figures are pnpplot's over those offsets; so does the band between
// two markers put on them.
async function narrowBands(page, helpers, rows, run) {
  const { x, y, onPage, type, key, text } = helpers;
  const aroundSpur = [rows[16][0], rows[18][0]];
  const expected = summaryOf(run(['-r', aroundSpur.join(':'), '-o', 'narrow.svg', 'spurs.csv']));
  const figures = async () => (await helpers.bandFigures())
    .map(([caption, ...values]) => values.join('; ') === printedFigures(expected[caption]).join('; '));
  const left = await onPage(x(50.1187) - 1.5, y(-150)), right = await onPage(x(50.1187) + 1.5, y(-150));
  await helpers.drag(left, right, false, 2);
  const wanted = '39.811 Hz to 63.096 Hz';
  check(await text('#band-range') === wanted && (await text('#band-note')).includes('narrower than 4 pixels') &&
        (await figures()).every(Boolean), 'a 3-pixel drag over the spur: ' + await text('#band-range') + '; ' + await text('#band-note'));
  await type(aroundSpur[0]);
  await key('2');
  await type(aroundSpur[1]);
  await key('b');
  check(await text('#band-range') === wanted && (await figures()).every(Boolean) && (await text('#band-note')).includes('between the markers'),
        'B integrates between the markers: ' + await text('#band-range'));
}

// With --spurs power the page takes a band's spurs as tones as pnpplot does: the band between
// two markers typed at 5 kHz and 20 kHz, over the spur at 10 kHz, has pnpplot's figures for
// -r 5k:20k.
async function powerReport(openReport, work, pnpplot, run) {
  const drawing = spawnSync(pnpplot, ['--spurs', 'power', '-o', 'power.html', 'spurs.csv'], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 0, 'pnpplot --spurs power -o power.html spurs.csv: status ' + drawing.status);
  const expected = summaryOf(run(['--spurs', 'power', '-r', '5k:20k', '-o', 'power.svg', 'spurs.csv']))['spurs.csv phase noise'];
  const page = await openReport(path.join(work, 'power.html'), 1400, 900);
  const { reportHelpers } = require('./page_helpers');
  const helpers = await reportHelpers(page);
  await helpers.type('5k');
  await helpers.key('2');
  await helpers.type('20k');
  await helpers.key('b');
  const row = (await helpers.bandFigures())[0];
  const wanted = ['spurs.csv phase noise'].concat(printedFigures(expected));
  check(JSON.stringify(row) === JSON.stringify(wanted),
        'a band over a spur with --spurs power: ' + row.join('; ') + ' is pnpplot -r 5k:20k\'s ' + wanted.join('; '));
  await page.close();
}

module.exports = { draggedBand, commandLineBand, narrowBands, powerReport };
