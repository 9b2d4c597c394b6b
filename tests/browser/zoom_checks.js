// The page test's checks of zoom (src/report/report_zoom.js): the plot drawn again for a
// narrower view, each mark where the new grid puts its offset and level, and back; zoomed to
// the whole chart, the plot and offset axis as pnpplot drew them.
'use strict';

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { check, reportHelpers } = require('./page_helpers');

// The zoomed grid's labels, and where a label's offset or level stands.
async function zoomLabels(page) {
  const labels = await page.$$eval('g.zoom-grid text', (list) => list.map((node) =>
    [node.textContent, Number(node.getAttribute('x')), Number(node.getAttribute('y'))]));
  return { names: labels.map((item) => item[0]).join(' '),
           label: (name) => labels.find((item) => item[0] === name) || [name, NaN, NaN] };
}

// What the page draws over a view and what the chart drew, in the page: of each of the
// chart's drawings (bands, band labels, shaded ranges, traces, fits, zero line, mask) and its
// copy over the view, the markup with every coordinate taken out (those apart); and the
// offset axis's lines (x and colour) and labels (x and markup) of the chart's grid, or of the
// chart in svgText, and of the page's.
function drawings(page, svgText) {
  return page.evaluate((svgText) => {
    const svg = document.querySelector('#chart svg');
    const geometry = ['x', 'y', 'width', 'cx', 'cy', 'x1', 'x2', 'y1', 'y2', 'points', 'd'];
    const flat = (node, out) => {
      if (node.nodeType === Node.TEXT_NODE) return void (out.markup += node.textContent);
      out.markup += '<' + node.nodeName;
      for (const { name, value } of [...node.attributes].sort((a, b) => (a.name < b.name ? -1 : 1))) {
        if (name === 'visibility' || name === 'style') continue;
        out.markup += ' ' + name + '=' + (geometry.includes(name) ? value.replace(/-?[0-9.]+/g, (number) => {
          out.at.push(Number(number));
          return '#';
        }) : JSON.stringify(value));
      }
      out.markup += '>';
      node.childNodes.forEach((child) => flat(child, out));
      out.markup += '</' + node.nodeName + '>';
      return out;
    };
    const kinds = ['rect.band', 'text.band-label', 'rect.shade', 'g.trace', 'g.fit', 'g.zero-line', 'g.mask'];
    const plot = kinds.map((kind) => [kind, ...['', 'svg[overflow="hidden"] > '].map((within) =>
      [...svg.querySelectorAll(':scope > ' + within + kind)].map((node) => flat(node, { markup: '', at: [] })))]);
    const axis = (grid) => ({
      lines: [...grid.querySelectorAll('line')].filter((line) => line.getAttribute('x1') === line.getAttribute('x2'))
        .map((line) => [Number(line.getAttribute('x1')), line.getAttribute('stroke')]).sort((a, b) => a[0] - b[0]),
      labels: [...grid.querySelectorAll('text[text-anchor="middle"]')].map((text) => text.getAttribute('x') + ' ' + text.innerHTML),
    });
    const other = document.createElement('div');
    other.innerHTML = svgText || '';
    return { plot, chart: axis((svgText ? other : svg).querySelector('g.grid')), page: axis(svg.querySelector('g.zoom-grid')) };
  }, svgText);
}
// The first difference of two axes, or ''.
function axisDifference(chart, page) {
  const labels = chart.labels.findIndex((label, i) => label !== page.labels[i]);
  if (labels >= 0 || chart.labels.length !== page.labels.length) {
    return 'label ' + labels + ': ' + chart.labels[labels] + ' against ' + page.labels[labels];
  }
  const lines = chart.lines.findIndex((line, i) => !page.lines[i] || Math.abs(line[0] - page.lines[i][0]) > 0.051 ||
                                                   line[1] !== page.lines[i][1]);
  return lines >= 0 || chart.lines.length !== page.lines.length ? 'line ' + lines + ' of ' + chart.lines.length : '';
}
// Zoomed to the whole chart, the page draws the plot and the offset axis as pnpplot drew them:
// every coordinate within 0.08 pixels (the chart's to 0.1, the page's to 0.01).
async function chartAgain(page, helpers, what) {
  const { data } = helpers;
  await page.evaluate((v) => window.pnpplotZoomTo(v[0], v[1], v[2], v[3]), data.decades.concat(data.levels));
  const { plot, chart, page: redrawn } = await drawings(page);
  const differences = [], counts = [];
  for (const [kind, originals, copies] of plot) {
    if (originals.length) counts.push(originals.length + ' ' + kind);
    originals.forEach((original, i) => {
      const copy = copies[i] || { markup: 'none', at: [] };
      if (copy.markup !== original.markup || copy.at.length !== original.at.length ||
          original.at.some((at, j) => Math.abs(at - copy.at[j]) > 0.08)) differences.push(kind + ' ' + i);
    });
    if (copies.length !== originals.length) differences.push(copies.length + ' copies of ' + kind);
  }
  const axis = axisDifference(chart, redrawn);
  check(!differences.length && !axis && chart.labels.length > 1,
        what + ': zoomed to the whole chart, the page draws ' + counts.join(', ') + ' and the ' + chart.labels.length +
        ' offset labels as pnpplot drew them' + (differences.length ? '; not ' + differences.join(', ') : '') +
        (axis ? '; the axis differs at ' + axis : ''));
  await page.click('#zoom-whole');
}

// Shift-drag a rectangle round the first spur of the spurs export: its ring stands where the
// new grid's labels put 50.119 Hz and -114.96 dBc/Hz; Peak finds it in the view; minus goes
// back, plus zooms in around the active marker, Whole chart.
async function spursZoom(page, helpers, listed) {
  const { area, at, drag, marker, drawn, key } = helpers;
  await chartAgain(page, helpers, 'pnpplot -m mask.txt');
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
  const helpers = await reportHelpers(page);
  const { data, at, drag } = helpers;
  await chartAgain(page, helpers, 'pnpplot --fit');
  const series = await page.$$eval('#stability svg g.deviation', (list) => list.length).catch(() => 0);
  check(series === 2, 'the stability chart shows ADEV and MDEV of the phase noise: ' + series + ' series');
  const fitLines = await page.$$eval('#chart g.fit[data-trace="0"] polyline', (list) => list.length);
  check(fitLines === 3 && data.fits.length === 1, 'three fitted terms drawn on the chart: ' + fitLines);
  await page.click('.legend-entry[data-trace="0"]');
  check(await page.$eval('#chart g.fit', (node) => getComputedStyle(node).display) === 'none',
        'hiding the phase noise hides its fitted lines');
  await page.click('.legend-entry[data-trace="0"]');
  const [cornerOffset, cornerLevel] = data.fits[0].corners[0];
  // Without -r: nothing shaded, zoomed or not, and the legend's note of the whole ranges stays.
  const notes = () => page.$$eval('#chart text.legend-note', (list) => list.map((node) => node.textContent).join('; '));
  const chartNotes = await notes();
  await drag(await at(20, -130), await at(200, -150), true);
  check(await page.$$eval('#chart rect.band, #chart text.band-label', (list) => list.length) === 0 && chartNotes &&
        await page.$eval('#selection', (node) => node.getAttribute('width')) === '0' && await notes() === chartNotes,
        'without -r nothing is shaded, zoomed or not, and the legend still says: ' + chartNotes);
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

// With --subtract-floor over offsets from 10^-18 to 10^16 Hz and two bands: the chart drawn
// again whole; the offset axis over views of whole decades as pnpplot draws an axis of that
// span (prefixes from f to T, the micro sign, 10 with its exponent raised beyond, a label every
// k-th decade); zoomed in, the trace as measured on the export's levels and the trace on those
// less the floor's power, and only the band in view labelled, within the plot.
async function measuredZoom(openReport, work, run) {
  const args = ['--subtract-floor', '--x-range', '1e-18:1e16', '-r', '25:1k', '-r', '10k:100k'];
  run([...args, '-o', 'measured.html', 'spurs.csv']);
  const page = await openReport(path.join(work, 'measured.html'), 1400, 900);
  const helpers = await reportHelpers(page);
  const { data, area } = helpers;
  await chartAgain(page, helpers, 'pnpplot ' + args.join(' '));
  const zoomTo = (view) => page.evaluate((v) => window.pnpplotZoomTo(v[0], v[1], v[2], v[3]), view);
  for (const [from, to] of [[-18, -9], [-7, 0], [0, 14], [11, 16]]) {
    run(['--x-range', '1e' + from + ':1e' + to, '-o', 'view.svg', 'spurs.csv']);
    await zoomTo([from, to].concat(data.levels));
    const { chart, page: redrawn } = await drawings(page, fs.readFileSync(path.join(work, 'view.svg'), 'utf8'));
    const difference = axisDifference(chart, redrawn);
    check(!difference, 'zoomed to 1e' + from + ' to 1e' + to + ' Hz, the offset axis is pnpplot\'s over that span (' +
          chart.labels.map((label) => label.replace(/^\S+ |<[^>]*>/g, '')).join(', ') + ')' + (difference ? ': ' + difference : ''));
  }
  const rows = fs.readFileSync(path.join(work, 'spurs.csv'), 'utf8').trim().split('\n').map((line) => line.split(',').map(Number));
  const view = [1, 1.5, -136, -118];
  await zoomTo(view);
  const levels = (selector) => page.$eval('svg[overflow="hidden"] ' + selector + ' polyline', (node) => node.getAttribute('points'))
    .then((points) => points.split(' ').map((point) => point.split(',').map(Number))
      .filter(([x]) => x >= area.left && x <= area.left + area.width)
      .map(([x, y]) => [view[0] + (x - area.left) / area.width * (view[1] - view[0]),
                        view[3] - (y - area.top) / area.height * (view[3] - view[2])]))
    .then((points) => points.map(([decade, level]) => {
      const row = rows.find((r) => Math.abs(Math.log10(r[0]) - decade) < 1e-4);
      return row ? [level, row[1], row[1] + 10 * Math.log10(1 - Math.pow(10, (row[2] - row[1]) / 10))] : [NaN];
    }));
  const measured = await levels('g.trace.measured[data-trace="0"]'), corrected = await levels('g.trace:not(.measured)[data-trace="0"]');
  check(measured.length >= 4 && measured.every(([level, asMeasured]) => Math.abs(level - asMeasured) < 0.002) &&
        corrected.length === measured.length && corrected.every(([level, , less]) => Math.abs(level - less) < 0.002),
        'zoomed to 10 to 31.6 Hz, the trace as measured stands on the export\'s levels and the trace on them less the ' +
        'floor\'s power: ' + measured.map((m, i) => m[0].toFixed(3) + '/' + corrected[i][0].toFixed(3)).join(' '));
  const labels = await page.$$eval('text.band-label', (list) => list.map((node) =>
    [node.closest('svg[overflow="hidden"]') ? 'copy' : 'chart', Number(node.getAttribute('x')), node.innerHTML,
     node.getComputedTextLength()]));
  const copies = labels.filter((label) => label[0] === 'copy');
  const [, x, markup, length] = copies[0] || [];
  const middle = area.left + area.width * (1 + (Math.log10(25) - view[0]) / (view[1] - view[0])) / 2;
  check(copies.length === 1 && markup === labels[0][2] && x < middle && x + length / 2 <= area.left + area.width,
        'and only the band in view, from 25 Hz on, keeps its label in its tint, moved in from over its middle (' +
        middle.toFixed(1) + ') to stay within the plot: ' + x + ' ' + markup);
  await page.close();
}

module.exports = { chartAgain, spursZoom, fitZoom, measuredZoom };
