// The page test's checks of the tables (src/report/report_tables.cpp writes them, and
// report_tables.js makes a spur's row put marker 1 on it): the figures table and the details
// hold what pnpplot prints, the spur tables its spurs, and no cell breaks inside a number.
'use strict';

const { check, levelOf, figureNames } = require('./page_helpers');

// A cell's text with its column's unit, as the summary writes it.
const withUnit = (cell, unit) => (unit && cell && /^-?[0-9]/.test(cell) ? cell + ' ' + unit : cell);
// Offsets in the summary's column of labels: as wide as the widest and two spaces, at least 10.
const labelled = (labels) => {
  const column = Math.max(10, ...labels.map((label) => label.length + 2));
  return labels.map((label) => label.padEnd(column));
};
const numbersIn = (text) => text.match(/-?[0-9]+(?:\.[0-9]+)?(?:e[-+][0-9]+)?/g) || [];

// The figures table's first band, each trace's figures as the summary words them; the details,
// closed at first, hold every number the summary prints, the spot noise a row an offset.
async function sampleTables(page, printed, json) {
  const rows = await page.$$eval('#figures', (tables) => {
    const table = tables[0];
    const units = [...table.tHead.rows[1].cells].map((cell) => (cell.textContent.match(/\(([^)]*)\)$/) || [])[1] || '');
    const first = [...table.tHead.rows[0].cells].findIndex((cell) => cell.classList.contains('band'));
    return [...table.tBodies[0].rows].map((row) => ({
      caption: row.cells[0].textContent,
      band: [...row.cells].slice(first, first + 5).map((cell, i) => [cell.textContent, units[i]]),
    }));
  });
  check(rows.length === 2, 'the figures table has a row for each of the two traces');
  for (const row of rows) {
    const [phase, mrad, deg, jitter, fm] = row.band.map(([cell, unit]) => withUnit(cell, unit));
    const shown = [phase, mrad + ', ' + deg, jitter, fm];
    const wanted = figureNames.map((name) => printed[row.caption][name][0]);
    check(JSON.stringify(shown) === JSON.stringify(wanted), row.caption + ': the figures table holds the summary\'s ' +
          wanted.join('; ') + (JSON.stringify(shown) === JSON.stringify(wanted) ? '' : ', not ' + shown.join('; ')));
    const figures = json.traces.find((trace) => trace.caption === row.caption).integration;
    check(phase === figures.phase_noise_dbc.toFixed(3) + ' dBc', row.caption + ': phase noise ' + phase + ' is the JSON\'s ' +
          figures.phase_noise_dbc);
  }
  const closed = await page.$eval('#details', (node) => !node.open && !node.querySelector('table.spot').checkVisibility());
  await page.click('#details > summary');
  const details = await page.$$eval('.trace-details', (sections) => sections.map((section) => ({
    caption: section.querySelector('h3').textContent,
    spots: [...section.querySelectorAll('table.spot tbody tr')].map((row) => [...row.cells].map((cell) => cell.textContent)),
    unit: (section.querySelector('table.spot thead').textContent.match(/\(([^)]*)\)/) || [])[1],
  })));
  const text = await page.evaluate(() => [...document.querySelectorAll('#figures-section, #verdicts, #spurs, #details')]
    .map((node) => {
      const walker = document.createTreeWalker(node, NodeFilter.SHOW_TEXT), pieces = [];
      for (let text = walker.nextNode(); text; text = walker.nextNode()) pieces.push(text.textContent);
      return pieces.join(' ');
    }).join(' '));
  const inPage = new Set(numbersIn(text));
  check(closed && details.length === 2, 'the details are closed at first; one control opens both traces\'');
  for (const detail of details) {
    const summary = printed[detail.caption];
    const offsets = labelled(detail.spots.map((row) => row[0]));
    const spots = detail.spots.map(([, level], i) => offsets[i] + withUnit(level, detail.unit));
    check(JSON.stringify(spots) === JSON.stringify(summary['spot noise']),
          detail.caption + ': the spot noise table holds the summary\'s ' + summary['spot noise'].length + ' lines');
    const missing = numbersIn(Object.values(summary).flat().join(' ')).filter((number) => !inPage.has(number));
    check(missing.length === 0, detail.caption + ': every number of the summary is in the page\'s tables' +
          (missing.length ? ', not ' + missing.join(' ') : ''));
  }
  await page.click('#details > summary');
}

// The spur table of the spurs export: a row a spur pnpplot lists; a click on one puts marker 1
// on it.
async function spurTable(page, helpers, noise) {
  const rows = await page.$$eval('table.spurs', (tables) => {
    const units = [...tables[0].tHead.rows[0].cells].map((cell) => (cell.textContent.match(/\(([^)]*)\)$/) || [])[1] || '');
    return [...tables[0].tBodies[0].rows].map((row) => [...row.cells].map((cell, i) => [cell.textContent, units[i]]));
  });
  const offsets = labelled(rows.map((row) => withUnit(...row[0])));
  const shown = rows.map((row, i) => {
    const [, level, power, jitter] = row.map(([cell, unit]) => withUnit(cell, unit));
    return offsets[i] + level + ', ' + power + ', ' + jitter;
  });
  check(JSON.stringify(shown) === JSON.stringify(noise.spurs.slice(1)), 'the spur table holds pnpplot\'s spurs: ' + shown.join('; '));
  await page.click('table.spurs tbody tr:nth-child(2)');
  const marker = await helpers.marker(1);
  check(marker && marker.text === '1 spurs.csv phase noise: 10 kHz, ' + levelOf(noise.spurs, '10 kHz') + ' dBc/Hz',
        'a click on the spur\'s row puts marker 1 on it: ' + (marker && marker.text));
}

// No number of a table or of the figures beside the chart is broken over two lines, at the
// page's width now.
async function numbersWhole(page, width) {
  const broken = await page.evaluate(() => {
    const found = [];
    for (const cell of document.querySelectorAll('td, th, #band-figures .value, #markers div, #measure')) {
      if (!cell.getClientRects().length) continue;
      const walker = document.createTreeWalker(cell, NodeFilter.SHOW_TEXT);
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        for (const match of node.textContent.matchAll(/-?[0-9]+(?:\.[0-9]+)?(?:e[-+][0-9]+)?/g)) {
          const range = document.createRange();
          range.setStart(node, match.index);
          range.setEnd(node, match.index + match[0].length);
          const tops = new Set([...range.getClientRects()].map((rect) => Math.round(rect.top)));
          if (tops.size > 1) found.push(match[0] + ' in ' + cell.textContent.slice(0, 40));
        }
      }
    }
    return found;
  });
  check(broken.length === 0, width + ' px wide: no number breaks over two lines' + (broken.length ? ': ' + broken.slice(0, 5).join('; ') : ''));
}

module.exports = { sampleTables, spurTable, numbersWhole };
