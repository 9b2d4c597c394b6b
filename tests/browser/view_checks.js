// The page test's checks of the page's view (src/report/report_view.js and the page's style):
// the read-out under the pointer, the legend, one screen from 1280 pixels wide on, the page
// stacked under 1000, no text under 10 pixels, the chart never scaled down, the page's height.
'use strict';

const path = require('path');
const { check } = require('./page_helpers');

// The read-out at 1 kHz on the sample: the offset and each trace's level, as spot noise gives
// them there; a click on the floor's legend entry hides it, and the read-out leaves it out.
async function readoutAndLegend(page, helpers, printed) {
  const readout = () => page.$eval('#readout', (node) => [...node.children].map((child) => child.textContent));
  const kilohertz = await helpers.at(1000, -150);
  await page.mouse.move(kilohertz.x, kilohertz.y);
  let shown = await readout();
  check(shown[0] === '1 kHz', 'the read-out shows the offset under the pointer: ' + shown[0]);
  check(shown[1] === 'osc1.csv phase noise ' + printed['osc1.csv phase noise']['spot noise'][2].slice('1 kHz'.length).trim(),
        'and the phase noise there: ' + shown[1]);
  check(shown[2] === 'osc1.csv floor ' + printed['osc1.csv floor']['spot noise'][2].slice('1 kHz'.length).trim(),
        'and the floor there: ' + shown[2]);
  await page.click('.legend-entry[data-trace="1"]');
  check(await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display) === 'none',
        'a legend click hides its trace');
  await page.mouse.move(kilohertz.x + 1, kilohertz.y);
  shown = await readout();
  check(shown.length === 2 && !shown[1].includes('floor'), 'and the read-out leaves it out');
  await page.click('.legend-entry[data-trace="1"]');
}

// The legend from the keyboard: Tab from the chart reaches its entries, Enter hides a trace
// and shows it again.
async function legendKeys(page) {
  await page.focus('#chart');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  check(await page.evaluate(() => document.activeElement.getAttribute('data-trace')) === '1', 'Tab reaches the legend\'s entries');
  await page.keyboard.press('Enter');
  const hiddenFloor = await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display);
  await page.keyboard.press('Enter');
  check(hiddenFloor === 'none' && await page.$eval('.trace[data-trace="1"]', (node) => getComputedStyle(node).display) !== 'none',
        'Enter on a legend entry hides its trace and shows it again');
}

// From 600 pixels wide to 4K: no text under 10 CSS pixels, the chart never scaled down (it
// scrolls in its box instead), and the page itself no wider than the window.
async function everyWidth(page) {
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
}

// Where the parts of the screen stand in the window.
function boxes(page) {
  return page.evaluate(() => {
    const box = (selector) => {
      const rect = document.querySelector(selector).getBoundingClientRect();
      return { left: rect.left, top: rect.top, right: rect.right, bottom: rect.bottom };
    };
    return { window: { right: innerWidth, bottom: innerHeight }, bar: box('#bar'), chart: box('#chart svg'),
             box: box('#chart'), readout: box('#readout'), markers: box('#markers'), delta: box('#measure'),
             band: box('#band-figures') };
  });
}

// With both markers down: at 1280 x 720, 1400 x 900 and 1920 x 1080 the chart, the markers'
// read-out, the delta and the band's figures are in the window at once, the controls in the
// bar above the chart; at 700 the read-out stands right under the chart. A screenshot of each.
async function oneScreen(page, helpers, outputDir) {
  await helpers.type('1k');
  await helpers.key('2');
  await helpers.type('100k');
  for (const [width, height] of [[1280, 720], [1400, 900], [1920, 1080], [700, 900]]) {
    await page.setViewport({ width, height });
    await page.evaluate(() => window.scrollTo(0, 0));
    const at = await boxes(page);
    const inWindow = ['chart', 'markers', 'delta', 'band'].filter((name) => at[name].right > at.window.right + 0.5 ||
                                                                          at[name].bottom > at.window.bottom + 0.5);
    if (width >= 1000) {
      check(inWindow.length === 0 && at.bar.bottom <= at.chart.top && at.delta.bottom > at.delta.top,
            width + ' x ' + height + ': the chart, the markers, the delta and the band\'s figures in view at once' +
            (inWindow.length ? ', not ' + inWindow.join(', ') : '') + ', the controls above the chart');
    } else {
      check(at.readout.top >= at.box.bottom && at.readout.top - at.box.bottom < 24,
            width + ' x ' + height + ': the read-out right under the chart, ' + (at.readout.top - at.box.bottom).toFixed(0) + ' px');
    }
    await page.screenshot({ path: path.join(outputDir, 'report-' + width + '.png') });
  }
}

module.exports = { readoutAndLegend, legendKeys, everyWidth, oneScreen };
