// The page test's checks of the printed page (the page's print style): printed to PDF by
// Chromium on A4 and on Letter, read back with pdftotext, the report is a datasheet: the
// title, the chart whole on a page with its markers' table, each table whole on a page, every
// figure pnpplot prints for the bands, the mask's verdicts, the deviations chart, and no
// control. The PDFs are left in the output folder.
'use strict';

const { execFileSync, spawnSync } = require('child_process');
const path = require('path');
const { check } = require('./page_helpers');

// The text of each page of a PDF.
function pagesOf(file) {
  const info = execFileSync('pdfinfo', [file], { encoding: 'utf8' });
  const count = Number((info.match(/^Pages:\s+([0-9]+)/m) || [])[1]);
  const pages = [];
  for (let n = 1; n <= count; ++n) {
    pages.push(execFileSync('pdftotext', ['-f', String(n), '-l', String(n), file, '-'], { encoding: 'utf8' }).replace(/\s+/g, ' '));
  }
  return pages;
}

const numbersIn = (text) => text.match(/-?[0-9]+(?:\.[0-9]+)?(?:e[-+][0-9]+)?/g) || [];
// The page that holds every one of the texts, or -1; spaces aside, which pdftotext may leave out
// between the pieces of an SVG text.
const bare = (text) => text.replace(/\s+/g, '');
const pageWithAll = (pages, texts) => pages.findIndex((page) => texts.every((text) => bare(page).includes(bare(text))));

// The every-option report of two exports, with both markers down, printed.
async function printed(page, helpers, summary, outputDir, expectedPages) {
  if (spawnSync('pdftotext', ['-v']).error) return check(false, 'pdftotext is not installed (sudo apt-get install poppler-utils)');
  await helpers.type('1k');
  await helpers.key('2');
  await helpers.type('100k');
  // What must stand whole on a page: the chart's texts and its markers' table; each table's
  // heading and the numbers of each of its rows.
  const parts = await page.evaluate(() => {
    const numbers = (text) => text.match(/-?[0-9]+(?:\.[0-9]+)?(?:e[-+][0-9]+)?/g) || [];
    const tables = [...document.querySelectorAll('#figures, #verdicts, table.spurs')].map((table) => ({
      name: table.id || table.className,
      texts: [table.tHead.rows[0].cells[0].textContent].concat(...[...table.tBodies[0].rows].map((row) =>
        numbers([...row.cells].map((cell) => cell.textContent).join(' ')))),
    }));
    const table = [...document.querySelectorAll('#marker-table text')].map((node) => node.textContent);
    return { tables, chart: ['Offset frequency (Hz)', 'limit mask', 'above the mask'].concat(table) };
  });
  const controls = ['Save as PNG', 'PNG 2', 'Next spur', 'Integrate between', 'drag zooms', 'Whole chart', 'Keys', 'Move the pointer'];
  for (const format of ['A4', 'Letter']) {
    const file = path.join(outputDir, 'report-' + format + '.pdf');
    await page.pdf({ path: file, format });
    const pages = pagesOf(file);
    const all = pages.join(' ');
    check(pages.length === expectedPages, format + ': ' + pages.length + ' pages');
    check(pages[0].startsWith(' ' + summary.title) || pages[0].startsWith(summary.title), format + ': the title first');
    const shown = controls.filter((text) => all.includes(text));
    check(shown.length === 0, format + ': no control printed' + (shown.length ? ', but ' + shown.join(', ') : ''));
    const chartPage = pageWithAll(pages, parts.chart);
    check(chartPage === 0, format + ': the chart whole on the first page, with its markers\' table');
    for (const table of parts.tables) {
      const best = pages.map((text) => table.texts.filter((item) => !bare(text).includes(bare(item))));
      const fewest = best.reduce((a, b) => (b.length < a.length ? b : a));
      check(fewest.length === 0, format + ': the table ' + table.name + ' whole on one page (' + table.texts.length +
            ' texts)' + (fewest.length ? ', missing ' + fewest.join(' ') : ''));
    }
    const stability = pageWithAll(pages, ['Frequency stability', 'Averaging time']);
    check(stability >= 0, format + ': the deviations chart whole on page ' + (stability + 1));
    const missing = summary.figures.filter((number) => !numbersIn(all).includes(number));
    check(missing.length === 0, format + ': every one of the ' + summary.figures.length + ' figures the summary prints for the ' +
          'bands is printed' + (missing.length ? ', not ' + missing.join(' ') : ''));
    check(summary.verdicts.every((text) => all.includes(text)), format + ': the mask\'s verdicts, ' + summary.verdicts.join('; '));
  }
}

module.exports = { printed };
