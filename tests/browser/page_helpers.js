// What every group of the page test's checks uses: the count of checks, reading pnpplot's
// printed summary, and an opened report's data, where an offset and a level stand on the page,
// typing an offset and pressing a key as a user does.
'use strict';

let failed = 0;
function check(condition, what) {
  console.log((condition ? 'ok     ' : 'FAILED ') + what);
  if (!condition) ++failed;
}
function failures() { return failed; }

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
// The band's figures as the summary prints them, for a trace.
const figureNames = ['phase noise', 'RMS phase', 'RMS jitter', 'residual FM'];
function printedFigures(summary) { return figureNames.map((name) => summary[name][0]); }

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
  const at = (offset, level) => onPage(x(offset), y(level));
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
  // A drag across the plot, with shift for a zoom.
  const drag = async (from, to, shift, steps) => {
    if (shift) await page.keyboard.down('Shift');
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(to.x, to.y, { steps: steps || 4 });
    await page.mouse.up();
    if (shift) await page.keyboard.up('Shift');
  };
  const text = (selector) => page.$eval(selector, (node) => node.textContent).catch(() => null);
  // The figures beside the chart: a trace's caption and its four figures.
  const bandFigures = () => page.$$eval('#band-figures .band-trace', (list) => list.map((block) =>
    [block.querySelector('.caption').textContent].concat([...block.querySelectorAll('.value')].map((node) => node.textContent))));
  const marker = (number) => page.$eval('#markers [data-marker="' + number + '"]',
    (node) => ({ text: node.textContent, offset: Number(node.dataset.offset) }), number).catch(() => null);
  const drawn = (number) => page.$eval('#markers-drawn [data-marker="' + number + '"] circle',
    (node) => [Number(node.getAttribute('cx')), Number(node.getAttribute('cy'))]).catch(() => null);
  // The marker table on the chart, row by row.
  const markerTable = () => page.$$eval('#marker-table text', (list) => {
    const rows = {};
    for (const node of list) (rows[node.getAttribute('y')] = rows[node.getAttribute('y')] || []).push(node.textContent);
    return Object.keys(rows).sort((a, b) => a - b).map((y) => rows[y]);
  });
  return { data, area, x, y, onPage, at, type, key, drag, text, bandFigures, marker, drawn, markerTable };
}

module.exports = { check, failures, pause, levelOf, difference, figureNames, printedFigures, reportHelpers };
