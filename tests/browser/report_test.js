// Drives pnpplot's HTML report in headless Chromium as a user would: opens the file from disk,
// reads a level under the pointer, hides a trace from the legend, drags a band, double-clicks
// back, measures between two clicks; on the export with spurs beside the sample, moves markers
// along the traces with the pointer, typed offsets, the peak and spur buttons and the keys,
// reads the delta marker, zooms and goes back, integrates a band narrower than a pixel column
// can show, saves the chart as PNG, and reads the page from 600 pixels wide to 4K. Compares
// what the page shows with what pnpplot prints, and the page's number formatting with
// pnpplot's over a table of values. Leaves screenshots in the output folder and checks that
// doc/report.png is current.
// Usage: node report_test.js PNPPLOT SAMPLE_EXPORT OUTPUT_DIR DOCUMENTED_SCREENSHOT
// (examples/spurs.csv is taken from beside SAMPLE_EXPORT)
// Exits 77 (skipped) when there is no Chromium or puppeteer-core is not installed at all; a
// puppeteer-core that is there but does not load (one made for a newer node) is a failure.
'use strict';

const { execFileSync, spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const [pnpplot, sample, outputDir, documented] = process.argv.slice(2);

function skip(why) {
  console.log('skipped: ' + why);
  process.exit(77);
}

let puppeteer;
try {
  let where;
  try {
    where = require.resolve('puppeteer-core');
  } catch (error) {
    if (error.code !== 'MODULE_NOT_FOUND' || !error.message.startsWith("Cannot find module 'puppeteer-core'")) throw error;
    skip('puppeteer-core is not installed (npm ci in tests/browser)');
  }
  puppeteer = require(where);
} catch (error) {
  console.log('FAILED puppeteer-core is installed but does not load with node ' + process.version +
              ' (npm ci in tests/browser installs the version it pins): ' + (error && error.stack || error));
  process.exit(1);
}

// Debian's chromium; Ubuntu's comes as a snap.
const chromium = process.env.CHROMIUM ||
                 ['/usr/bin/chromium', '/snap/bin/chromium'].find((candidate) => fs.existsSync(candidate));
if (!chromium || !fs.existsSync(chromium)) {
  skip('no Chromium at ' + (process.env.CHROMIUM || '/usr/bin/chromium') + ' (apt-get install chromium)');
}

let failures = 0;
function check(condition, what) {
  console.log((condition ? 'ok     ' : 'FAILED ') + what);
  if (!condition) ++failures;
}

const { makeExports, checksOf, summaryOf } = require('./number_table');

const pause = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

// A level of a "spot noise" or spur line of the summary, as printed: "-155.86".
function levelOf(lines, label) {
  const line = lines.find((text) => text.startsWith(label + ' '));
  return line && line.slice(label.length).trim().split(' dBc/Hz')[0];
}
// The difference of two levels printed with two decimals, worked out in hundredths.
function difference(from, to) {
  const cents = Math.round(Number(to) * 100) - Math.round(Number(from) * 100);
  return (cents < 0 ? '-' : '') + Math.floor(Math.abs(cents) / 100) + '.' + String(Math.abs(cents) % 100).padStart(2, '0');
}
// A PNG's width and height from its header, or null when it is not a PNG.
function pngSize(bytes) {
  const signature = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  if (bytes.length < 24 || !bytes.subarray(0, 8).equals(signature) || bytes.toString('latin1', 12, 16) !== 'IHDR') return null;
  return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
}

// What the checks of an opened report use: the page's data, where an offset and a level stand
// on the chart, where a point of the chart is on the page, and typing an offset and pressing a
// key as a user does.
async function reportHelpers(page) {
  const data = await page.evaluate(() => JSON.parse(document.getElementById('pnpplot-data').textContent));
  const { area } = data;
  const x = (offset) => area.left + (Math.log10(offset) - data.decades[0]) / (data.decades[1] - data.decades[0]) * area.width;
  const y = (level) => area.top + (data.levels[1] - level) / (data.levels[1] - data.levels[0]) * area.height;
  const onPage = (chartX, chartY) => page.evaluate((cx, cy) => {
    const svg = document.querySelector('#chart svg');
    const point = svg.createSVGPoint();
    point.x = cx;
    point.y = cy;
    const screen = point.matrixTransform(svg.getScreenCTM());
    return { x: screen.x, y: screen.y };
  }, chartX, chartY);
  const type = async (offset) => {
    await page.$eval('#marker-offset', (node) => { node.value = ''; });
    await page.type('#marker-offset', offset);
    await page.keyboard.press('Enter');
  };
  const key = async (name, shift) => {
    await page.focus('#chart');
    if (shift) await page.keyboard.down('Shift');
    await page.keyboard.press(name);
    if (shift) await page.keyboard.up('Shift');
  };
  return { data, area, x, y, onPage, type, key };
}

// With --spurs power the page takes a band's spurs as tones as pnpplot does: the band between
// two markers typed at 5 kHz and 20 kHz, over the spur at 10 kHz, has pnpplot's figures for
// -r 5k:20k.
async function powerReport(openReport, work, run) {
  const drawing = spawnSync(pnpplot, ['--spurs', 'power', '-o', 'power.html', 'spurs.csv'], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 0, 'pnpplot --spurs power -o power.html spurs.csv: status ' + drawing.status);
  const expected = summaryOf(run(['--spurs', 'power', '-r', '5k:20k', '-o', 'power.svg', 'spurs.csv']))['spurs.csv phase noise'];
  const page = await openReport(path.join(work, 'power.html'), 1200, 1000);
  const { type, key } = await reportHelpers(page);
  await type('5k');
  await key('2');
  await type('20k');
  await key('b');
  const row = await page.$$eval('#figures tbody tr', (list) => [...list[0].cells].slice(0, 5).map((cell) => cell.textContent));
  const wanted = ['spurs.csv phase noise'].concat(['phase noise', 'RMS phase', 'RMS jitter', 'residual FM'].map((name) => expected[name][0]));
  check(JSON.stringify(row) === JSON.stringify(wanted),
        'a band over a spur with --spurs power: ' + row.join('; ') + ' is pnpplot -r 5k:20k\'s ' + wanted.join('; '));
  await page.close();
}

// The sample export fitted, with its deviations: the stability chart under the chart, the
// fitted lines hidden with their trace, and drawn again over a zoomed view with each corner on
// the offset it names.
async function fitReport(openReport, work) {
  const drawing = spawnSync(pnpplot, ['--fit', '--adev', '--mdev', '-o', 'fit.html', sample], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 0, 'pnpplot --fit --adev --mdev -o fit.html: status ' + drawing.status);
  const page = await openReport(path.join(work, 'fit.html'), 1200, 1000);
  const { data, x, y, onPage } = await reportHelpers(page);
  const series = await page.$$eval('#stability svg g.deviation', (list) => list.length).catch(() => 0);
  check(series === 2, 'the stability chart shows ADEV and MDEV of the phase noise: ' + series + ' series');
  const fitLines = await page.$$eval('#chart g.fit[data-trace="0"] polyline', (list) => list.length);
  check(fitLines === 3 && data.fits.length === 1, 'three fitted terms drawn on the chart: ' + fitLines);
  await page.click('.legend-entry[data-trace="0"]');
  check(await page.$eval('#chart g.fit', (node) => getComputedStyle(node).display) === 'none',
        'hiding the phase noise hides its fitted lines');
  await page.click('.legend-entry[data-trace="0"]');
  const [cornerOffset, cornerLevel] = data.fits[0].corners[0];
  const from = await onPage(x(20), y(-130)), to = await onPage(x(200), y(-150));
  await page.keyboard.down('Shift');
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 4 });
  await page.mouse.up();
  await page.keyboard.up('Shift');
  const corner = await page.$eval('svg[overflow="hidden"] g.fit circle',
                                  (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  const labels = await page.$$eval('g.zoom-grid text', (list) => list.map((node) =>
    [node.textContent, Number(node.getAttribute('x')), Number(node.getAttribute('y'))]));
  const label = (name) => labels.find((item) => item[0] === name) || [name, NaN, NaN];
  const [, x50] = label('50 Hz'), [, x60] = label('60 Hz'), [, , y140] = label('-140'), [, , y145] = label('-145');
  const wantX = x50 + (Math.log10(cornerOffset) - Math.log10(50)) / Math.log10(60 / 50) * (x60 - x50);
  const wantY = y140 + (cornerLevel + 140) / -5 * (y145 - y140);
  check(corner && Math.abs(corner[0] - wantX) < 0.2 && Math.abs(corner[1] - wantY) < 0.2,
        'zoomed, the corner at ' + cornerOffset.toFixed(3) + ' Hz stands where the new grid (' +
        labels.map((item) => item[0]).join(' ') + ') puts it: ' + corner + ' against ' + wantX.toFixed(2) + ',' + wantY.toFixed(2));
  await page.close();
}

// The export with two spurs and a floor, judged against the sample mask (which its spurs
// fail): markers on the traces, the delta marker, the keys, zoom, a band narrower than the
// plot shows, the legend from the keyboard, the PNG, and the page from 600 pixels wide to 4K.
async function spursReport(browser, openReport, work, run) {
  for (const name of ['spurs.csv', 'mask.txt']) fs.copyFileSync(path.join(path.dirname(sample), name), path.join(work, name));
  const drawing = spawnSync(pnpplot, ['-m', 'mask.txt', '-o', 'spurs.html', 'spurs.csv'], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 3, 'pnpplot -m mask.txt -o spurs.html spurs.csv: the mask fails, status ' + drawing.status);
  const printed = summaryOf(drawing.stdout);
  const noise = printed['spurs.csv phase noise'], floor = printed['spurs.csv floor'];
  const spot = (label) => levelOf(noise['spot noise'], label);
  const spur = (label) => levelOf(noise.spurs, label);
  // The export's rows as written: offset, phase noise, floor.
  const rows = fs.readFileSync(path.join(work, 'spurs.csv'), 'utf8').trim().split('\n').map((line) => line.split(','));
  const report = path.join(work, 'spurs.html');
  const page = await openReport(report, 1200, 1000);
  const { data, area, x, y, onPage, type, key } = await reportHelpers(page);
  const marker = (number) => page.$eval('#markers [data-marker="' + number + '"]',
    (node) => ({ text: node.textContent, offset: Number(node.dataset.offset) }), number).catch(() => null);
  const drawn = (number) => page.$eval('#markers-drawn [data-marker="' + number + '"] circle',
    (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  const text = (selector) => page.$eval(selector, (node) => node.textContent);
  const first = 'spurs.csv phase noise: ';

  // Marker 1 follows the pointer along the phase noise: near a point it sits on it, and reads
  // the spot noise pnpplot gives there.
  let at = await onPage(x(1000), y(-100));
  await page.mouse.move(at.x, at.y);
  let shown = await marker(1);
  check(shown && shown.text === '1 ' + first + '1 kHz, ' + spot('1 kHz') + ' dBc/Hz (follows the pointer)',
        'marker 1 follows the pointer to the point at 1 kHz and reads pnpplot\'s spot noise: ' + (shown && shown.text));
  // Between two points it reads the trace, straight in log f and dB between them, and sits on
  // it, whatever the pointer's height.
  at = await onPage(x(1400), y(-100));
  await page.mouse.move(at.x, at.y);
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

  // A typed offset puts it down there; the pointer leaves it be.
  await type('1k');
  at = await onPage(x(20000), y(-150));
  await page.mouse.move(at.x, at.y);
  shown = await marker(1);
  check(shown.text === '1 ' + first + '1 kHz, ' + spot('1 kHz') + ' dBc/Hz', 'a typed 1k puts marker 1 down: ' + shown.text);
  await type('10k');
  check((await marker(1)).text === '1 ' + first + '10 kHz, ' + spur('10 kHz') + ' dBc/Hz',
        'at 10k it reads the trace, the spur pnpplot lists there: ' + (await marker(1)).text);
  await type('1.5M');
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
  check(await marker(2) === null && (await marker(1)).text.endsWith('follows the pointer'), 'Esc clears the markers');

  // Zoom: shift-drag a rectangle round the first spur. The plot is drawn again for the view:
  // the spur's ring stands where the new grid's labels put 50.119 Hz and -114.96 dBc/Hz.
  const polyline = await page.$eval('g.trace[data-trace="0"] polyline', (node) => node.getAttribute('points'));
  const corner = await onPage(x(20), y(-105)), opposite = await onPage(x(200), y(-150));
  await page.keyboard.down('Shift');
  await page.mouse.move(corner.x, corner.y);
  await page.mouse.down();
  await page.mouse.move(opposite.x, opposite.y, { steps: 4 });
  await page.mouse.up();
  await page.keyboard.up('Shift');
  const ring = await page.$eval('svg[overflow="hidden"] g.trace[data-trace="0"] circle',
                                (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  // The spur is above the mask: its cross stands on the ring too.
  const cross = await page.$eval('svg[overflow="hidden"] g.trace[data-trace="0"] path',
                                 (node) => node.getAttribute('d').match(/-?[0-9.]+/g).map(Number)).catch(() => [NaN, NaN]);
  const labels = await page.$$eval('g.zoom-grid text', (list) => list.map((node) =>
    [node.textContent, Number(node.getAttribute('x')), Number(node.getAttribute('y'))]));
  const label = (name) => labels.find((item) => item[0] === name) || [name, NaN, NaN];
  const [, x50] = label('50 Hz'), [, x100] = label('100 Hz'), [, , y110] = label('-110'), [, , y120] = label('-120');
  const ringX = x50 + (Math.log10(50.1187) - Math.log10(50)) / Math.log10(2) * (x100 - x50);
  const ringY = y110 + (-114.96 + 110) / -10 * (y120 - y110);
  check(ring && Math.abs(ring[0] - ringX) < 0.1 && Math.abs(ring[1] - ringY) < 0.1 &&
        Math.abs(cross[0] + 4 - ring[0]) < 0.01 && Math.abs(cross[1] + 4 - ring[1]) < 0.01 &&
        await page.$eval('g.grid', (node) => node.style.display) === 'none',
        'shift-drag zooms: the ring at ' + ring + ', where the new grid (' + labels.map((item) => item[0]).join(' ') +
        ') puts the spur, ' + ringX.toFixed(2) + ',' + ringY.toFixed(2));
  await page.click('#peak');
  const peak = await drawn(1);
  check((await marker(1)).text === '1 ' + first + listed[0] && peak && Math.abs(peak[0] - ring[0]) < 0.6 && Math.abs(peak[1] - ring[1]) < 0.6,
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

  // A drag of 3 pixels over the spur at 50 Hz: narrower than the plot shows, the band takes
  // the points around it, and its figures are pnpplot's over those offsets; so does the band
  // between two markers put on them.
  const aroundSpur = [rows[16][0], rows[18][0]];
  const expected = summaryOf(run(['-r', aroundSpur.join(':'), '-o', 'narrow.svg', 'spurs.csv']));
  const figures = async () => (await page.$$eval('#figures tbody tr', (list) => list.map((row) => [...row.cells].slice(0, 5).map((cell) => cell.textContent))))
    .map(([caption, ...values]) => values.join('; ') === ['phase noise', 'RMS phase', 'RMS jitter', 'residual FM']
      .map((name) => expected[caption][name][0]).join('; '));
  const left = await onPage(x(50.1187) - 1.5, y(-150)), right = await onPage(x(50.1187) + 1.5, y(-150));
  await page.mouse.move(left.x, left.y);
  await page.mouse.down();
  await page.mouse.move(right.x, right.y, { steps: 2 });
  await page.mouse.up();
  const wanted = '39.811 Hz to 63.096 Hz';
  check(await text('#band-range') === wanted && (await text('#band-note')).includes('narrower than 4 pixels') &&
        (await figures()).every(Boolean), 'a 3-pixel drag over the spur: ' + await text('#band-range') + '; ' + await text('#band-note'));
  await type(aroundSpur[0]);
  await key('2');
  await type(aroundSpur[1]);
  await key('b');
  check(await text('#band-range') === wanted && (await figures()).every(Boolean) && (await text('#band-note')).includes('between the markers'),
        'B integrates between the markers: ' + await text('#band-range'));

  // The legend from the keyboard: Tab from the chart reaches its entries.
  await page.focus('#chart');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  check(await page.evaluate(() => document.activeElement.getAttribute('data-trace')) === '1', 'Tab reaches the legend\'s entries');
  await page.keyboard.press('Enter');
  const hiddenFloor = await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display);
  await page.keyboard.press('Enter');
  check(hiddenFloor === 'none' && await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display) !== 'none',
        'Enter on a legend entry hides its trace and shows it again');

  // Save as PNG: a download, at the chart's size and at twice it, that decodes.
  const downloads = fs.mkdtempSync(path.join(path.resolve(outputDir), 'downloads-'));
  const session = await browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  const size = await page.$eval('#chart svg', (node) => [Number(node.getAttribute('width')), Number(node.getAttribute('height'))]);
  for (const [button, name, scale] of [['#save-png', 'spurs.csv.png', 1], ['#save-png-2x', 'spurs.csv@2x.png', 2]]) {
    await page.click(button);
    const file = path.join(downloads, name);
    for (let wait = 0; wait < 100 && !fs.existsSync(file); ++wait) await pause(50);
    const header = fs.existsSync(file) ? pngSize(fs.readFileSync(file)) : null;
    const decoded = await page.evaluate(async () => {
      const link = document.getElementById('png-link');
      const image = await createImageBitmap(await (await fetch(link.href)).blob());
      return [image.width, image.height];
    }).catch((error) => String(error));
    const wantedSize = JSON.stringify([size[0] * scale, size[1] * scale]);
    check(JSON.stringify(header) === wantedSize && JSON.stringify(decoded) === wantedSize,
          name + ': a PNG of ' + header + ' pixels, decoded in the page as ' + decoded);
  }
  fs.rmSync(downloads, { recursive: true, force: true });

  // From 600 pixels wide to 4K: no text under 10 CSS pixels, the chart never scaled down (it
  // scrolls in its box instead), and the page itself no wider than the window.
  for (const width of [600, 700, 1024, 1600, 2560, 3840]) {
    await page.setViewport({ width, height: 1000 });
    const fit = await page.evaluate(() => {
      const small = [];
      for (const node of document.querySelectorAll('body *')) {
        if (node.closest('script, style, title') || !node.getClientRects().length) continue;
        if (![...node.childNodes].some((child) => child.nodeType === 3 && child.textContent.trim())) continue;
        let size = parseFloat(getComputedStyle(node).fontSize);
        if (node instanceof SVGElement) {
          const matrix = node.getScreenCTM();
          size *= Math.hypot(matrix.a, matrix.b);
        }
        if (size < 10) small.push(node.textContent.slice(0, 20) + ' ' + size.toFixed(1) + 'px');
      }
      const box = document.getElementById('chart');
      return { small, scale: document.querySelector('#chart svg').getScreenCTM().a,
               page: document.documentElement.scrollWidth, window: innerWidth,
               scrolls: box.scrollWidth > box.clientWidth };
    });
    check(fit.small.length === 0 && fit.scale === 1 && fit.page <= fit.window && (width > 1200 || fit.scrolls),
          width + ' px wide: no text under 10 px' + (fit.small.length ? ' (' + fit.small.join(', ') + ')' : '') +
          ', the chart at scale ' + fit.scale + (fit.scrolls ? ', scrolling in its box' : '') + ', the page ' + fit.page + ' px wide');
  }
  // Screenshots with marker 1 on the phase noise and the delta marker on the floor.
  await page.click('#clear-markers');
  await page.click('#zoom-whole').catch(() => {});
  for (const width of [600, 1600]) {
    await page.setViewport({ width, height: 1000 });
    await page.evaluate(() => document.getElementById('chart').scrollTo(0, 0));
    await type('1k');
    await key('2');
    await key('ArrowDown');
    await type('100k');
    at = await onPage(x(3000), y(-120));
    await page.mouse.move(at.x, at.y);
    await page.screenshot({ path: path.join(outputDir, 'report-' + width + '.png') });
    await key('Escape');
  }
  await page.close();
}

// The page's numbers against pnpplot's: each value of the table formatted in the page is the
// text pnpplot printed for it.
async function numberTable(page, work) {
  const folder = path.join(work, 'table');
  fs.mkdirSync(folder);
  const names = makeExports(folder);
  const checks = [];
  for (const carrier of [[], ['-c', '0.3333333333333333']]) {
    const result = spawnSync(pnpplot, [...carrier, '-j', 'table.json', '-o', 'table.svg', ...names], { cwd: folder, encoding: 'utf8' });
    checks.push(...checksOf(result.stdout, JSON.parse(fs.readFileSync(path.join(folder, 'table.json'), 'utf8'))));
  }
  // Numbers go to the page as text: -0 and the infinities of overflowed figures would not
  // survive the way there.
  for (const item of checks) item.args = item.args.map((arg) => typeof arg === 'number' ? [Object.is(arg, -0) ? '-0' : String(arg)] : arg);
  const wrong = await page.evaluate((list) => list.filter((item) => {
    item.shown = window.pnpplotNumbers[item.call].apply(null, item.args.map((arg) => Array.isArray(arg) ? Number(arg[0]) : arg));
    return item.shown !== item.expected;
  }), checks);
  check(checks.length > 500 && wrong.length === 0, 'the page formats ' + checks.length + ' numbers of pnpplot\'s summaries as ' +
        'pnpplot prints them' + wrong.slice(0, 5).map((item) => '; ' + item.what + ': ' + item.shown + ' against ' + item.expected).join(''));
}

async function main() {
  // The page and the browser's profile stay under the output folder, where a Chromium that
  // runs as a snap can read them too (a snap has a /tmp of its own).
  fs.mkdirSync(outputDir, { recursive: true });
  const work = fs.mkdtempSync(path.join(path.resolve(outputDir), 'page-'));
  const profile = fs.mkdtempSync(path.join(path.resolve(outputDir), 'profile-'));
  fs.copyFileSync(sample, path.join(work, 'osc1.csv'));
  const run = (args) => execFileSync(pnpplot, args, { cwd: work, encoding: 'utf8' });
  const printed = summaryOf(run(['-r', '10:100k', '-o', 'report.html', 'osc1.csv']));
  const json = JSON.parse(run(['-r', '10:100k', '-j', '-', 'osc1.csv']));
  const report = path.join(work, 'report.html');

  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  try {
    // Every page of the report is watched for errors and requests. The chart's PNG is made
    // from a data: URL of the SVG and handed over as a blob: URL, neither of which leaves the
    // browser; anything else but the page file is a request to the network.
    const problems = [], requests = [];
    async function openReport(file, width, height) {
      const opened = await browser.newPage();
      await opened.setViewport({ width, height });
      opened.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
      opened.on('pageerror', (error) => problems.push(String(error)));
      opened.on('request', (request) => {
        if (request.url() !== 'file://' + file && !/^(data|blob):/.test(request.url())) requests.push(request.url());
      });
      await opened.goto('file://' + file);
      await opened.waitForSelector('body[data-ready="true"]');
      return opened;
    }
    const page = await openReport(report, 1200, 1000);

    // The tables show the summary's figures, those of the JSON as the text prints them.
    const tables = await page.$$eval('section.summary', (sections) => sections.map((section) => ({
      caption: section.querySelector('h2').textContent,
      rows: [...section.querySelectorAll('tr')].map((row) => [row.cells[0].textContent, row.cells[1].textContent]),
    })));
    check(tables.length === 2, 'a summary table for each of the two traces');
    for (const table of tables) {
      const text = printed[table.caption];
      let name = null;
      const values = {};
      for (const [field, value] of table.rows) {
        name = field || name;
        (values[name] = values[name] || []).push(value);
      }
      check(text && JSON.stringify(values) === JSON.stringify(text), table.caption + ': the table holds the text summary');
      const figures = json.traces.find((trace) => trace.caption === table.caption).integration;
      check(values['phase noise'][0] === figures.phase_noise_dbc.toFixed(3) + ' dBc',
            table.caption + ': phase noise ' + values['phase noise'][0] + ' is the JSON\'s ' + figures.phase_noise_dbc);
    }

    // Pixel positions on the page of a point of the plot.
    const scales = await page.evaluate(() => JSON.parse(document.getElementById('pnpplot-data').textContent));
    async function pointAt(offset, level) {
      const x = scales.area.left + (Math.log10(offset) - scales.decades[0]) / (scales.decades[1] - scales.decades[0]) *
                scales.area.width;
      const y = scales.area.top + (scales.levels[1] - level) / (scales.levels[1] - scales.levels[0]) * scales.area.height;
      return page.evaluate((x, y) => {
        const svg = document.querySelector('#chart svg');
        const point = svg.createSVGPoint();
        point.x = x;
        point.y = y;
        const screen = point.matrixTransform(svg.getScreenCTM());
        return { x: screen.x, y: screen.y };
      }, x, y);
    }
    const readout = () => page.$eval('#readout', (node) => [...node.children].map((child) => child.textContent));

    // The read-out at 1 kHz: the offset and each trace's level, as spot noise gives them there.
    const kilohertz = await pointAt(1000, -150);
    await page.mouse.move(kilohertz.x, kilohertz.y);
    let shown = await readout();
    check(shown[0] === '1 kHz', 'the read-out shows the offset under the pointer: ' + shown[0]);
    check(shown[1] === 'osc1.csv phase noise ' + printed['osc1.csv phase noise']['spot noise'][2].slice(10).trim(),
          'and the phase noise there: ' + shown[1]);
    check(shown[2] === 'osc1.csv floor ' + printed['osc1.csv floor']['spot noise'][2].slice(10).trim(),
          'and the floor there: ' + shown[2]);

    // A click on the floor's legend entry hides it, and the read-out leaves it out.
    await page.click('.legend-entry[data-trace="1"]');
    const display = await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display);
    check(display === 'none', 'a legend click hides its trace');
    await page.mouse.move(kilohertz.x + 1, kilohertz.y);
    shown = await readout();
    check(shown.length === 2 && !shown[1].includes('floor'), 'and the read-out leaves it out');
    await page.click('.legend-entry[data-trace="1"]');

    // A drag from 100 Hz to 10 kHz: the figures pnpplot -r gives for the band the page shows.
    const from = await pointAt(100, -120), to = await pointAt(10000, -120);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move((from.x + to.x) / 2, from.y, { steps: 4 });
    await page.mouse.move(to.x, to.y, { steps: 4 });
    await page.mouse.up();
    const band = await page.$eval('#band-range', (node) => node.textContent);
    const ends = band.split(' to ').map((text) => {
      const [number, unit] = text.split(' ');
      return Number(number) * ({ Hz: 1, kHz: 1e3, MHz: 1e6 })[unit];
    });
    check(Math.abs(ends[0] / 100 - 1) < 0.02 && Math.abs(ends[1] / 1e4 - 1) < 0.02, 'the dragged band: ' + band);
    const expected = summaryOf(run(['-r', ends[0] + ':' + ends[1], '-o', 'band.svg', 'osc1.csv']));
    const rows = await page.$$eval('#figures tbody tr', (list) => list.map((row) => [...row.cells].slice(0, 5).map((cell) => cell.textContent)));
    for (const [caption, ...figures] of rows) {
      const text = expected[caption];
      const wanted = [text['phase noise'][0], text['RMS phase'][0], text['RMS jitter'][0], text['residual FM'][0]];
      check(JSON.stringify(figures) === JSON.stringify(wanted),
            caption + ' over the band: ' + figures.join('; ') + (JSON.stringify(figures) === JSON.stringify(wanted) ? '' : ' against ' + wanted.join('; ')));
    }
    // The screenshot shows the selected band and a read-out.
    const reading = await pointAt(1000, -150);
    await page.mouse.move(reading.x, reading.y);
    const screenshot = path.join(outputDir, 'report.png');
    await page.screenshot({ path: screenshot, clip: { x: 0, y: 0, width: 1160, height: 900 } });
    // Where the chart and each of its texts are in the screenshot, for the comparison below.
    const layout = await page.evaluate(() => {
      const svg = document.querySelector('#chart svg');
      const chart = svg.getBoundingClientRect();
      return {
        left: Math.round(chart.left), top: Math.round(chart.top),
        width: Math.round(chart.width), height: Math.round(chart.height),
        texts: [...svg.querySelectorAll('text')].map((text) => {
          const box = text.getBoundingClientRect();
          return { left: box.left - chart.left, top: box.top - chart.top, width: box.width, height: box.height,
                   anchor: getComputedStyle(text).textAnchor };
        }),
      };
    });

    // A double-click returns to the band of the command line.
    await page.mouse.click(reading.x, reading.y, { count: 2 });
    check(await page.$eval('#band-range', (node) => node.textContent) === '10 Hz to 100 kHz',
          'a double-click returns to the band of the command line');

    // Two clicks measure between them, on the trace: the levels there are the spot noise
    // pnpplot gives at 100 Hz and 1 kHz, a decade apart, whatever the height of the clicks.
    await page.$eval('#measure', (node) => { node.textContent = ''; });
    const a = await pointAt(100, -120), b = await pointAt(1000, -140);
    await page.mouse.click(a.x, a.y);
    await pause(400);  // two clicks, not a double-click
    await page.mouse.click(b.x, b.y);
    const measured = await page.$eval('#measure', (node) => node.textContent);
    const spots = printed['osc1.csv phase noise']['spot noise'];
    const step = difference(levelOf(spots, '100 Hz'), levelOf(spots, '1 kHz'));
    check(measured === 'delta 2 \u2212 1: 900 Hz, ' + step + ' dB, ' + step + ' dB/decade',
          'two clicks measure the difference and the slope between the trace\'s levels: ' + measured);

    await spursReport(browser, openReport, work, run);
    await fitReport(openReport, work);
    await powerReport(openReport, work, run);
    await numberTable(page, work);
    check(problems.length === 0, 'no error in the console' + (problems.length ? ': ' + problems.join('; ') : ''));
    check(requests.length === 0, 'no request but the file itself' + (requests.length ? ': ' + requests.join(' ') : ''));

    // The documented screenshot shows the chart as it is now. Only what is drawn is compared,
    // not the glyphs, which depend on the fonts a machine has: the chart without its texts,
    // each text's box left out with room for a wider or narrower font on the sides where its
    // length shows (the side of its anchor stays). The page's own text above the chart may be
    // taller or shorter in other fonts, so the chart is looked for a few pixels up and down.
    if (documented && fs.existsSync(documented)) {
      const blank = await browser.newPage();
      const [same, shift] = await blank.evaluate(async (one, two, layout) => {
        async function pixels(source) {
          const image = new Image();
          image.src = source;
          await image.decode();
          const canvas = document.createElement('canvas');
          canvas.width = image.width;
          canvas.height = image.height;
          const context = canvas.getContext('2d');
          context.drawImage(image, 0, 0);
          return context.getImageData(0, 0, image.width, image.height);
        }
        const [x, y] = [await pixels(one), await pixels(two)];
        if (x.width !== y.width || x.height !== y.height) return [0, 0];
        const { left, top, width, height } = layout;
        const glyphs = new Uint8Array(width * height);
        for (const text of layout.texts) {
          const along = text.width >= text.height;            // a rotated text runs down the page
          const length = along ? text.width : text.height;
          const grow = length / 2 + 3, thick = 0.3 * (along ? text.height : text.width) + 3;
          let [x0, x1, y0, y1] = [text.left, text.left + text.width, text.top, text.top + text.height];
          if (along) {
            x0 -= text.anchor === 'start' ? 3 : text.anchor === 'end' ? grow : grow / 2;
            x1 += text.anchor === 'end' ? 3 : text.anchor === 'start' ? grow : grow / 2;
            y0 -= thick;
            y1 += thick;
          } else {
            y0 -= grow / 2;
            y1 += grow / 2;
            x0 -= thick;
            x1 += thick;
          }
          for (let j = Math.max(0, Math.floor(y0)); j < Math.min(height, Math.ceil(y1)); ++j) {
            glyphs.fill(1, j * width + Math.max(0, Math.floor(x0)), j * width + Math.min(width, Math.ceil(x1)));
          }
        }
        const white = [255, 255, 255];
        const at = (image, i, j) => (j < 0 || j >= image.height) ? white :
          image.data.subarray(4 * (j * image.width + i), 4 * (j * image.width + i) + 3);
        let best = [0, 0];
        for (let shift = -24; shift <= 24; ++shift) {
          let drawn = 0, alike = 0;
          for (let j = 0; j < height; ++j) {
            for (let i = 0; i < width; ++i) {
              if (glyphs[j * width + i]) continue;
              const a = at(x, left + i, top + j), b = at(y, left + i, top + j + shift);
              if (a[0] + a[1] + a[2] > 750 && b[0] + b[1] + b[2] > 750) continue;  // white in both
              ++drawn;
              if (Math.abs(a[0] - b[0]) + Math.abs(a[1] - b[1]) + Math.abs(a[2] - b[2]) < 48) ++alike;
            }
          }
          if (drawn && alike / drawn > best[0]) best = [alike / drawn, shift];
        }
        return best;
      }, 'data:image/png;base64,' + fs.readFileSync(screenshot).toString('base64'),
         'data:image/png;base64,' + fs.readFileSync(documented).toString('base64'), layout);
      check(same > 0.99, 'doc/report.png is current (' + (same * 100).toFixed(2) + ' % of the chart\'s drawn pixels ' +
            'alike, its texts left out' + (shift ? ', the chart ' + Math.abs(shift) + ' px ' + (shift > 0 ? 'lower' : 'higher') +
            ' there' : '') + '); if not, copy ' + screenshot + ' there');
    }
  } finally {
    await browser.close();
  }
  fs.rmSync(work, { recursive: true, force: true });
  fs.rmSync(profile, { recursive: true, force: true });
  console.log(failures ? failures + ' checks failed' : 'every check passed');
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.log('FAILED ' + (error && error.stack || error));
  process.exit(1);
});
