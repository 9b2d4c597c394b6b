// The page test's checks of zoom (src/report/report_zoom.js): the plot drawn again for a
// narrower view, each mark where the new grid puts its offset and level, and back.
'use strict';

const { spawnSync } = require('child_process');
const path = require('path');
const { check, reportHelpers } = require('./page_helpers');

// The zoomed grid's labels, and where a label's offset or level stands.
async function zoomLabels(page) {
  const labels = await page.$$eval('g.zoom-grid text', (list) => list.map((node) =>
    [node.textContent, Number(node.getAttribute('x')), Number(node.getAttribute('y'))]));
  return { names: labels.map((item) => item[0]).join(' '),
           label: (name) => labels.find((item) => item[0] === name) || [name, NaN, NaN] };
}

// Shift-drag a rectangle round the first spur of the spurs export: its ring stands where the
// new grid's labels put 50.119 Hz and -114.96 dBc/Hz; Peak finds it in the view; minus goes
// back, plus zooms in around the active marker, Whole chart.
async function spursZoom(page, helpers, listed) {
  const { area, at, drag, marker, drawn, key } = helpers;
  const polyline = await page.$eval('g.trace[data-trace="0"] polyline', (node) => node.getAttribute('points'));
  await drag(await at(20, -105), await at(200, -150), true);
  const ring = await page.$eval('svg[overflow="hidden"] g.trace[data-trace="0"] circle',
                                (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  // The spur is above the mask: its cross stands on the ring too.
  const cross = await page.$eval('svg[overflow="hidden"] g.trace[data-trace="0"] path',
                                 (node) => node.getAttribute('d').match(/-?[0-9.]+/g).map(Number)).catch(() => [NaN, NaN]);
  const { names, label } = await zoomLabels(page);
  const [, x50] = label('50 Hz'), [, x100] = label('100 Hz'), [, , y110] = label('-110'), [, , y120] = label('-120');
  const ringX = x50 + (Math.log10(50.1187) - Math.log10(50)) / Math.log10(2) * (x100 - x50);
  const ringY = y110 + (-114.96 + 110) / -10 * (y120 - y110);
  check(ring && Math.abs(ring[0] - ringX) < 0.1 && Math.abs(ring[1] - ringY) < 0.1 &&
        Math.abs(cross[0] + 4 - ring[0]) < 0.01 && Math.abs(cross[1] + 4 - ring[1]) < 0.01 &&
        await page.$eval('g.grid', (node) => node.style.display) === 'none',
        'shift-drag zooms: the ring at ' + ring + ', where the new grid (' + names + ') puts the spur, ' +
        ringX.toFixed(2) + ',' + ringY.toFixed(2));
  await page.click('#peak');
  const peak = await drawn(1);
  check((await marker(1)).text === '1 spurs.csv phase noise: ' + listed[0] && peak &&
        Math.abs(peak[0] - ring[0]) < 0.6 && Math.abs(peak[1] - ring[1]) < 0.6,
        'Peak in the zoomed view: the spur, the marker on its ring, ' + (await marker(1)).text);
  await key('-');
  check(await page.$eval('g.trace[data-trace="0"] polyline', (node) => node.getAttribute('points')) === polyline &&
        await page.$eval('g.grid', (node) => node.style.display) === '' && await page.$eval('#zoom-back', (node) => node.disabled),
        'minus goes back: the chart as pnpplot drew it');
  await key('+');
  const centred = await drawn(1);
  check(centred && Math.abs(centred[0] - (area.left + area.width / 2)) < 0.6 && Math.abs(centred[1] - (area.top + area.height / 2)) < 0.6,
        'plus zooms in around the active marker: ' + centred);
  await page.click('#zoom-whole');
  check(await page.$eval('g.trace[data-trace="0"] polyline', (node) => node.getAttribute('points')) === polyline, 'Whole chart');
}

// The sample fitted, with its deviations: the stability chart under the tables, the fitted
// lines hidden with their trace, and drawn again over a zoomed view with each corner on the
// offset it names.
async function fitZoom(openReport, work, pnpplot, sample) {
  const drawing = spawnSync(pnpplot, ['--fit', '--adev', '--mdev', '-o', 'fit.html', sample], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 0, 'pnpplot --fit --adev --mdev -o fit.html: status ' + drawing.status);
  const page = await openReport(path.join(work, 'fit.html'), 1400, 900);
  const { data, at, drag } = await reportHelpers(page);
  const series = await page.$$eval('#stability svg g.deviation', (list) => list.length).catch(() => 0);
  check(series === 2, 'the stability chart shows ADEV and MDEV of the phase noise: ' + series + ' series');
  const fitLines = await page.$$eval('#chart g.fit[data-trace="0"] polyline', (list) => list.length);
  check(fitLines === 3 && data.fits.length === 1, 'three fitted terms drawn on the chart: ' + fitLines);
  await page.click('.legend-entry[data-trace="0"]');
  check(await page.$eval('#chart g.fit', (node) => getComputedStyle(node).display) === 'none',
        'hiding the phase noise hides its fitted lines');
  await page.click('.legend-entry[data-trace="0"]');
  const [cornerOffset, cornerLevel] = data.fits[0].corners[0];
  await drag(await at(20, -130), await at(200, -150), true);
  const corner = await page.$eval('svg[overflow="hidden"] g.fit circle',
                                  (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  const { names, label } = await zoomLabels(page);
  const [, x50] = label('50 Hz'), [, x60] = label('60 Hz'), [, , y140] = label('-140'), [, , y145] = label('-145');
  const wantX = x50 + (Math.log10(cornerOffset) - Math.log10(50)) / Math.log10(60 / 50) * (x60 - x50);
  const wantY = y140 + (cornerLevel + 140) / -5 * (y145 - y140);
  check(corner && Math.abs(corner[0] - wantX) < 0.2 && Math.abs(corner[1] - wantY) < 0.2,
        'zoomed, the corner at ' + cornerOffset.toFixed(3) + ' Hz stands where the new grid (' + names + ') puts it: ' +
        corner + ' against ' + wantX.toFixed(2) + ',' + wantY.toFixed(2));
  await page.close();
}

module.exports = { spursZoom, fitZoom };
