// The page test's checks of the page's numbers (src/report/report_numbers.js): formatted as
// pnpplot prints them over a table of values, and offsets read as -r reads them.
'use strict';

const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');
const { makeExports, checksOf } = require('./number_table');
const { check } = require('./page_helpers');

// Each value of the table formatted in the page is the text pnpplot printed for it.
async function numberTable(page, work, pnpplot) {
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

// The marker's field takes what -r takes, the same value as pnpplot reads it (pnpplot -r
// TEXT:2G prints the band it read), and an offset with a space before its unit.
async function typedOffsets(page, work, pnpplot) {
  const texts = ['10', '1k', '1K', '12k', '1.5M', '100m', '2.5e3', '.5k', '10Hz', '1kHz', '1e-2k', '0', '-5', '12x', 'k', '1kk', '1Mhz'];
  const read = await page.evaluate((list) => list.map((text) => {
    const value = window.pnpplotNumbers.parseSi(text);
    return value === null ? [null, null] : [value, window.pnpplotNumbers.offsetText(value)];
  }), texts);
  const wrong = [];
  texts.forEach((text, i) => {
    const run = spawnSync(pnpplot, ['-r', text + ':2G', '-o', 'offsets.svg', 'osc1.csv'], { cwd: work, encoding: 'utf8' });
    const band = run.status === 0 ? (run.stdout.match(/the range ([^ ]+ [^ ]+) to/) || [])[1] : null;
    if ((run.status === 0) !== (read[i][0] !== null) || band !== read[i][1]) wrong.push(text + ': ' + read[i][1] + ' against ' + band);
  });
  check(wrong.length === 0, 'the marker field reads ' + texts.length + ' offsets as -r does' + (wrong.length ? ': ' + wrong.join('; ') : ''));
  const spaced = await page.evaluate(() => ['10 kHz', '1.5 MHz', '10 Hz', '100 mHz', '10 k', ' 10 kHz '].map((text) =>
    window.pnpplotNumbers.parseSi(text)));
  check(JSON.stringify(spaced) === JSON.stringify([10000, 1500000, 10, 0.1, 10000, 10000]),
        'and "10 kHz", "1.5 MHz", "10 Hz", "100 mHz", "10 k", " 10 kHz ": ' + spaced.join(', '));
}

module.exports = { numberTable, typedOffsets };
