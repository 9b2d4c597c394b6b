// Times pnpplot's HTML report in headless Chromium: from the start of loading the file to
// the first read-out under the pointer, medians of several loads.
// Usage: node bench/report_load.js REPORT.html [RUNS]   (puppeteer-core from tests/browser)
'use strict';

const path = require('path');
const fs = require('fs');
const os = require('os');
const puppeteer = require(path.join(__dirname, '..', 'tests', 'browser', 'node_modules', 'puppeteer-core'));

async function main() {
  const report = path.resolve(process.argv[2]);
  const runs = Number(process.argv[3] || 5);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'pnpplot-chromium-')),
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
  times.sort((a, b) => a - b);
  console.log('report ' + fs.statSync(report).size + ' bytes; load to first read-out: median ' +
              times[Math.floor(times.length / 2)] + ' ms of ' + runs + ' (' + times.join(', ') + ')');
}

main().catch((error) => { console.error(error); process.exit(1); });
