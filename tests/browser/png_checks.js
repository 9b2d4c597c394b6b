// The page test's checks of Save as PNG (src/report/report_png.js): a download at the chart's
// size and at twice it that decodes, carrying the markers' table drawn on the chart.
'use strict';

const fs = require('fs');
const path = require('path');
const { check, pause } = require('./page_helpers');

// A PNG's width and height from its header, or null when it is not a PNG.
function pngSize(bytes) {
  const signature = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  if (bytes.length < 24 || !bytes.subarray(0, 8).equals(signature) || bytes.toString('latin1', 12, 16) !== 'IHDR') return null;
  return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
}

// Clicks the button and waits for the file; its bytes, or null.
async function saved(page, button, file) {
  if (fs.existsSync(file)) fs.rmSync(file);
  await page.click(button);
  for (let wait = 0; wait < 100 && !fs.existsSync(file); ++wait) await pause(50);
  await pause(50);
  return fs.existsSync(file) ? fs.readFileSync(file) : null;
}

// How many pixels of the box differ between two PNGs of one size, decoded in the page.
function pixelsDiffering(page, one, two, box) {
  return page.evaluate(async (a, b, box) => {
    async function pixels(source) {
      const image = await createImageBitmap(await (await fetch(source)).blob());
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      return context.getImageData(box[0], box[1], box[2], box[3]).data;
    }
    const [x, y] = [await pixels(a), await pixels(b)];
    let count = 0;
    for (let i = 0; i < x.length; i += 4) if (Math.abs(x[i] - y[i]) + Math.abs(x[i + 1] - y[i + 1]) + Math.abs(x[i + 2] - y[i + 2]) > 60) ++count;
    return count;
  }, 'data:image/png;base64,' + one.toString('base64'), 'data:image/png;base64,' + two.toString('base64'), box);
}

// With both markers down on the spurs export: the PNG at 1 and 2 times the chart's size; the
// one with the markers' table differs from the one without it where the table stands. The
// PNG with the table is left in the output folder.
async function savePng(browser, page, helpers, outputDir) {
  const downloads = fs.mkdtempSync(path.join(path.resolve(outputDir), 'downloads-'));
  const session = await browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await helpers.type('50');
  await helpers.key('2');
  await helpers.type('10k');
  const size = await page.$eval('#chart svg', (node) => [Number(node.getAttribute('width')), Number(node.getAttribute('height'))]);
  const table = await page.$eval('#marker-table rect', (node) => [node.x.baseVal.value, node.y.baseVal.value,
                                                                   node.width.baseVal.value, node.height.baseVal.value].map(Math.round));
  let withTable = null;
  for (const [button, name, scale] of [['#save-png', 'spurs.csv.png', 1], ['#save-png-2x', 'spurs.csv@2x.png', 2]]) {
    const bytes = await saved(page, button, path.join(downloads, name));
    if (scale === 1) withTable = bytes;
    const decoded = await page.evaluate(async () => {
      const link = document.getElementById('png-link');
      const image = await createImageBitmap(await (await fetch(link.href)).blob());
      return [image.width, image.height];
    }).catch((error) => String(error));
    const wanted = JSON.stringify([size[0] * scale, size[1] * scale]);
    check(bytes && JSON.stringify(pngSize(bytes)) === wanted && JSON.stringify(decoded) === wanted,
          name + ': a PNG of ' + (bytes && pngSize(bytes)) + ' pixels, decoded in the page as ' + decoded);
  }
  await helpers.key('Escape');
  const without = await saved(page, '#save-png', path.join(downloads, 'spurs.csv.png'));
  const differing = withTable && without ? await pixelsDiffering(page, withTable, without, table) : 0;
  check(differing > table[2] * table[3] / 20, 'the PNG carries the markers\' table: ' + differing + ' of the ' +
        table[2] * table[3] + ' pixels where it stands differ from the PNG without markers');
  if (withTable) fs.writeFileSync(path.join(outputDir, 'saved-with-markers.png'), withTable);
  fs.rmSync(downloads, { recursive: true, force: true });
}

module.exports = { savePng };
