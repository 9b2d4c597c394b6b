// Times pnpplot's HTML report in headless Chromium: from the start of loading the file to
// the first read-out under the pointer, medians of several loads.
// Usage: node bench/report_load.js REPORT.html [RUNS]   (puppeteer-core from tests/browser)
'use strict';

const path = require('path');
const fs = require('fs');
const os = require('os');

// The puppeteer-core that tests/browser pins; only when it is not installed at all does the
// timing stop with status 77 and a hint. One that does not load is an error like any other.
let where;
try {
  where = require.resolve('puppeteer-core', { paths: [path.join(__dirname, '..', 'tests', 'browser')] });
} catch (error) {
  if (error.code !== 'MODULE_NOT_FOUND' || !error.message.startsWith("Cannot find module 'puppeteer-core'")) throw error;
  console.error('puppeteer-core is not installed: run npm ci in tests/browser');
  process.exit(77);
}
const puppeteer = require(where);

async function main() {
  const report = path.resolve(process.argv[2]);
  const runs = Number(process.argv[3] || 5);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pnpplot-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1200, height: 1000 });
    const start = Date.now();
    await page.goto('file://' + report);
    await page.waitForSelector('body[data-ready="true"]');
    const box = await page.$eval('#plot-area', (node) => { const r = node.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
    await page.mouse.move(box[0] + box[2] / 2, box[1] + box[3] / 2);
    await page.waitForFunction(() => document.querySelector('#readout .offset') !== null);
    times.push(Date.now() - start);
    await page.close();
  }
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
  times.sort((a, b) => a - b);
  console.log('report ' + fs.statSync(report).size + ' bytes; load to first read-out: median ' +
              times[Math.floor(times.length / 2)] + ' ms of ' + runs + ' (' + times.join(', ') + ')');
}

main().catch((error) => { console.error(error); process.exit(1); });
