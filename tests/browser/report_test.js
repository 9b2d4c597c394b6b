// Drives pnpplot's HTML report in headless Chromium as a user would: opens the file from disk,
// reads a level under the pointer, hides a trace from the legend, drags a band, double-clicks
// back, measures between two clicks, and compares what the page shows with what pnpplot
// prints, and the page's number formatting with pnpplot's over a table of values. Leaves a
// screenshot in the output folder and checks that doc/report.png is current.
// Usage: node report_test.js PNPPLOT SAMPLE_EXPORT OUTPUT_DIR DOCUMENTED_SCREENSHOT
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
    const page = await browser.newPage();
    await page.setViewport({ width: 1200, height: 1000 });
    const problems = [], requests = [];
    page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
    page.on('pageerror', (error) => problems.push(String(error)));
    page.on('request', (request) => requests.push(request.url()));
    await page.goto('file://' + report);
    await page.waitForSelector('body[data-ready="true"]');

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
    const rows = await page.$$eval('#band-figures tbody tr', (list) => list.map((row) => [...row.cells].map((cell) => cell.textContent)));
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

    // Two clicks measure between them.
    await page.$eval('#measure', (node) => { node.textContent = ''; });
    const a = await pointAt(100, -120), b = await pointAt(1000, -140);
    await page.mouse.click(a.x, a.y);
    await new Promise((resolve) => setTimeout(resolve, 400));  // two clicks, not a double-click
    await page.mouse.click(b.x, b.y);
    const measured = await page.$eval('#measure', (node) => node.textContent);
    const numbers = measured.match(/: (-?[0-9.]+) dB, (-?[0-9.]+) dB\/decade$/);
    check(numbers && Math.abs(Number(numbers[1]) + 20) < 0.5 && Math.abs(Number(numbers[2]) + 20) < 0.5,
          'two clicks measure the difference and the slope: ' + measured);

    await numberTable(page, work);
    check(problems.length === 0, 'no error in the console' + (problems.length ? ': ' + problems.join('; ') : ''));
    const others = requests.filter((url) => url !== 'file://' + report);
    check(others.length === 0, 'no request but the file itself' + (others.length ? ': ' + others.join(' ') : ''));

    // The documented screenshot shows the chart as it is now. Only what is drawn is compared,
    // not the glyphs, which depend on the fonts a machine has: the chart without its texts,
    // each text's box left out with room for a wider or narrower font on the sides where its
    // length shows (the side of its anchor stays). The page's own text above the chart may be
    // taller or shorter in other fonts, so the chart is looked for a few pixels up and down.
    if (documented && fs.existsSync(documented)) {
      const [same, shift] = await page.evaluate(async (one, two, layout) => {
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
