// Drives pnpplot's HTML report in headless Chromium as a user would, and compares what the
// page shows with what pnpplot prints. The checks are grouped by the jobs of the page's
// script: numbers_checks.js, integrals_checks.js (the band and its figures), view_checks.js,
// markers_checks.js, zoom_checks.js, tables_checks.js, png_checks.js, print_checks.js (the
// page printed to PDF). Every page is watched for errors and for requests, which are
// intercepted and must be none. Leaves screenshots at 700, 1280, 1400 and 1920 pixels, the
// PDFs and a saved PNG in the output folder, and checks that doc/report.png is current.
// (pdftoppm -r 60 -png report-A4.pdf page turns the PDF's pages into pictures.)
// Usage: node report_test.js PNPPLOT SAMPLE_EXPORT OUTPUT_DIR DOCUMENTED_SCREENSHOT
// (examples/spurs.csv and examples/mask.txt are taken from beside SAMPLE_EXPORT)
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
  skip('no Chromium at ' + (process.env.CHROMIUM || '/usr/bin/chromium') + ' (sudo apt-get install chromium)');
}

const { summaryOf } = require('./number_table');
const { check, failures, reportHelpers } = require('./page_helpers');
const numbers = require('./numbers_checks');
const integrals = require('./integrals_checks');
const view = require('./view_checks');
const markers = require('./markers_checks');
const zoom = require('./zoom_checks');
const tables = require('./tables_checks');
const png = require('./png_checks');
const print = require('./print_checks');

// The sample export's report: its tables, the read-out and the legend, a dragged band, the
// screenshot of the documentation, the band of the command line again, two clicks, and the
// page's numbers. Returns where the chart and its texts stand in the screenshot.
async function sampleReport(openReport, work, run, screenshot) {
  const printed = summaryOf(run(['-r', '10:100k', '-o', 'report.html', 'osc1.csv']));
  const json = JSON.parse(run(['-r', '10:100k', '-j', '-', 'osc1.csv']));
  const page = await openReport(path.join(work, 'report.html'), 1400, 900);
  const helpers = await reportHelpers(page);
  await tables.sampleTables(page, printed, json);
  await view.readoutAndLegend(page, helpers, printed);
  await integrals.draggedBand(page, helpers, run);
  // The screenshot shows the dragged band and marker 1 following the pointer at 1 kHz.
  const reading = await helpers.at(1000, -150);
  await page.mouse.move(reading.x, reading.y);
  await page.screenshot({ path: screenshot });
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
  await integrals.commandLineBand(page, helpers, printed);
  await markers.twoClicks(page, helpers, printed);
  await numbers.numberTable(page, work, pnpplot);
  await numbers.typedOffsets(page, work, pnpplot);
  await page.close();
  return layout;
}

// The export with two spurs and a floor, judged against the sample mask (which its spurs
// fail): the markers, zoom, bands narrower than the plot shows, the legend from the keyboard,
// the spur table, the PNG, and the page from 600 pixels wide to 4K.
async function spursReport(browser, openReport, work, run) {
  const drawing = spawnSync(pnpplot, ['-m', 'mask.txt', '-o', 'spurs.html', 'spurs.csv'], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 3, 'pnpplot -m mask.txt -o spurs.html spurs.csv: the mask fails, status ' + drawing.status);
  const printed = summaryOf(drawing.stdout);
  const noise = printed['spurs.csv phase noise'], floor = printed['spurs.csv floor'];
  // The export's rows as written: offset, phase noise, floor.
  const rows = fs.readFileSync(path.join(work, 'spurs.csv'), 'utf8').trim().split('\n').map((line) => line.split(','));
  const page = await openReport(path.join(work, 'spurs.html'), 1400, 900);
  const helpers = await reportHelpers(page);
  const listed = await markers.spurMarkers(page, helpers, noise, floor, rows);
  await zoom.spursZoom(page, helpers, listed);
  await integrals.narrowBands(page, helpers, rows, run);
  await view.legendKeys(page);
  await tables.spurTable(page, helpers, noise);
  await png.savePng(browser, page, helpers, outputDir);
  await view.everyWidth(page);
  await page.close();
}

// Two exports with every option: one screen at the sizes of the screens engineers have, the
// page's height, numbers never broken, and the page printed.
async function everyOption(openReport, work, run) {
  const args = ['-r', '10:100k', '-r', '1k:1M', '-m', 'mask.txt', '--adev', '--mdev', '--tdev', '--fit'];
  const drawing = spawnSync(pnpplot, [...args, '-o', 'every.html', 'osc1.csv', 'spurs.csv'], { cwd: work, encoding: 'utf8' });
  check(drawing.status === 3, 'pnpplot ' + args.join(' ') + ' -o every.html osc1.csv spurs.csv: status ' + drawing.status);
  const printed = summaryOf(drawing.stdout);
  const page = await openReport(path.join(work, 'every.html'), 1400, 900);
  const helpers = await reportHelpers(page);
  const height = await page.evaluate(() => document.documentElement.scrollHeight);
  check(height <= 1800, 'four traces with every option: the page, its details closed, is ' + height + ' px tall at 1400 x 900');
  await tables.numbersWhole(page, 1400);
  await page.setViewport({ width: 700, height: 900 });
  await tables.numbersWhole(page, 700);
  await view.oneScreen(page, helpers, outputDir);
  await zoom.chartAgain(page, helpers, 'every option');
  await page.setViewport({ width: 1400, height: 900 });
  const figures = [], verdicts = [];
  for (const trace of Object.values(printed)) {
    for (const name of ['phase noise', 'RMS phase', 'RMS jitter', 'residual FM', 'bands']) {
      figures.push(...(trace[name] || []).join(' ').match(/-?[0-9]+(?:\.[0-9]+)?(?:e[-+][0-9]+)?/g) || []);
    }
    if (trace.mask) verdicts.push(trace.mask[0].split(' ').slice(0, 8).join(' '));
  }
  await print.printed(page, helpers, { title: 'osc1.csv, spurs.csv', figures, verdicts }, outputDir, 2);
  await page.close();
}

async function main() {
  // The page and the browser's profile stay under the output folder, where a Chromium that
  // runs as a snap can read them too (a snap has a /tmp of its own).
  fs.mkdirSync(outputDir, { recursive: true });
  const work = fs.mkdtempSync(path.join(path.resolve(outputDir), 'page-'));
  const profile = fs.mkdtempSync(path.join(path.resolve(outputDir), 'profile-'));
  fs.copyFileSync(sample, path.join(work, 'osc1.csv'));
  for (const name of ['spurs.csv', 'mask.txt']) fs.copyFileSync(path.join(path.dirname(sample), name), path.join(work, name));
  const run = (args) => execFileSync(pnpplot, args, { cwd: work, encoding: 'utf8' });

  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  try {
    // Every request of a page is intercepted. The chart's PNG is made from a data: URL of the
    // SVG and handed over as a blob: URL, neither of which leaves the browser; anything else
    // but the page file would go to the network, and is counted and refused.
    const problems = [], requests = [];
    async function openReport(file, width, height) {
      const opened = await browser.newPage();
      await opened.setViewport({ width, height });
      opened.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
      opened.on('pageerror', (error) => problems.push(String(error)));
      await opened.setRequestInterception(true);
      opened.on('request', (request) => {
        if (request.url() === 'file://' + file || /^(data|blob):/.test(request.url())) return request.continue();
        requests.push(request.url());
        return request.abort();
      });
      await opened.goto('file://' + file);
      await opened.waitForSelector('body[data-ready="true"]');
      return opened;
    }
    const screenshot = path.join(outputDir, 'report.png');
    const layout = await sampleReport(openReport, work, run, screenshot);
    await spursReport(browser, openReport, work, run);
    await zoom.fitZoom(openReport, work, pnpplot, sample);
    await zoom.measuredZoom(openReport, work, run);
    await integrals.powerReport(openReport, work, pnpplot, run);
    await everyOption(openReport, work, run);
    check(problems.length === 0, 'no error in the console' + (problems.length ? ': ' + problems.join('; ') : ''));
    check(requests.length === 0, 'no request but the file itself: ' + requests.length + ' intercepted' +
          (requests.length ? ': ' + requests.join(' ') : ''));

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
  console.log(failures() ? failures() + ' checks failed' : 'every check passed');
  process.exit(failures() ? 1 : 0);
}

main().catch((error) => {
  console.log('FAILED ' + (error && error.stack || error));
  process.exit(1);
});
