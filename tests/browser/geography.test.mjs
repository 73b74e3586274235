// The geography behind the fields, as Chromium shows a page: each field's
// table is exactly as large as its picture, each square's cell lies where the
// picture drew that square, and the screen shows the picture pixel for pixel
// around the digits and the cell borders.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { launchBrowser, pixelsAt, writePage } from './harness.mjs';

// A GIF's logical screen size: two little-endian words after "GIF89a".
function gifSize(file) {
  const bytes = fs.readFileSync(file);
  return { width: bytes.readUInt16LE(6), height: bytes.readUInt16LE(8) };
}

// The picture's pixels as 'rgb(r, g, b)', row by row, decoded by the browser.
async function gifPixels(browserPage, file) {
  const decoder = await browserPage.context().newPage();
  try {
    return await decoder.evaluate(async (base64) => {
      const image = new Image();
      image.src = `data:image/gif;base64,${base64}`;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const { data } = context.getImageData(0, 0, image.width, image.height);
      const out = [];
      for (let i = 0; i < data.length; i += 4) out.push(`rgb(${data[i]}, ${data[i + 1]}, ${data[i + 2]})`);
      return out;
    }, fs.readFileSync(file).toString('base64'));
  } finally {
    await decoder.close();
  }
}

describe('field images behind the fields', () => {
  let browser;
  let page;
  let pagePath;
  before(async () => {
    browser = await launchBrowser();
    // The CLI brings the build's pictures along into images/ beside the page.
    const written = writePage('geography', { args: ['--field', 'EM', '--format', 'landscape'] });
    pagePath = written.path;
    page = await browser.newPage();
    await page.goto(written.url, { waitUntil: 'load' });
  });
  after(() => browser?.close());

  test("every field table is its picture's size, every cell at its square", async () => {
    const fields = await page.evaluate(() =>
      [...document.querySelectorAll('td:has(> table)')].map((td) => {
        const box = td.getBoundingClientRect();
        return {
          name: td.className,
          box: { left: box.left, top: box.top, width: box.width, height: box.height },
          cells: [...td.querySelectorAll('td')].map((cell) => {
            const c = cell.getBoundingClientRect();
            return { digits: cell.textContent, left: c.left - box.left, top: c.top - box.top, width: c.width, height: c.height };
          }),
        };
      }),
    );
    assert.equal(fields.length, 12);
    for (const field of fields) {
      const image = path.join(path.dirname(pagePath), 'images', `${field.name}.gif`);
      assert.ok(fs.existsSync(image), `${field.name}.gif beside the page`);
      const size = gifSize(image);
      assert.deepEqual({ width: field.box.width, height: field.box.height }, size, field.name);
      // Square (column, row) is drawn at x 1 + 24 column, y 1 + 22 (9 - row), 24 x 22.
      for (const cell of field.cells) {
        const column = Number(cell.digits[0]);
        const row = Number(cell.digits[1]);
        const where = { left: cell.left, top: cell.top, width: cell.width, height: cell.height };
        assert.deepEqual(where, { left: 1 + 24 * column, top: 1 + 22 * (9 - row), width: 24, height: 22 },
          `${field.name}${cell.digits}`);
      }
    }
  });

  test('the screen shows the picture at its place, pixel for pixel', async () => {
    const box = await page.evaluate(() => {
      const r = document.querySelector('td.FN').getBoundingClientRect();
      return { left: Math.round(r.left + scrollX), top: Math.round(r.top + scrollY), width: r.width, height: r.height };
    });
    const picture = await gifPixels(page, path.join(path.dirname(pagePath), 'images', 'FN.gif'));
    // The field and a margin of 2 px, to try the picture a little off its place.
    const margin = 2;
    const points = [];
    for (let y = -margin; y < box.height + margin; ++y)
      for (let x = -margin; x < box.width + margin; ++x) points.push([box.left + x, box.top + y]);
    const shown = await pixelsAt(page, points);
    const at = (x, y) => shown[(y + margin) * (box.width + 2 * margin) + (x + margin)];

    // Cell borders and digits cover parts of the picture; every other pixel
    // on screen is one of the picture's colours, and must be the one the
    // picture has at that very place.
    const colours = new Set(picture);
    const agreement = {};
    for (let dy = -margin; dy <= margin; ++dy) {
      for (let dx = -margin; dx <= margin; ++dx) {
        let same = 0;
        let seen = 0;
        for (let y = 0; y < box.height; ++y) {
          for (let x = 0; x < box.width; ++x) {
            const screen = at(x + dx, y + dy);
            if (screen === 'rgb(192, 192, 192)' || !colours.has(screen)) continue;
            ++seen;
            if (screen === picture[y * box.width + x]) ++same;
          }
        }
        agreement[`${dx},${dy}`] = same / seen;
      }
    }
    assert.ok(agreement['0,0'] > 0.98, `${agreement['0,0']} of the uncovered pixels are the picture's`);
    for (const [offset, share] of Object.entries(agreement))
      if (offset !== '0,0') assert.ok(share < agreement['0,0'] - 0.05, `shifted by ${offset} it fits too: ${share}`);
  });
});
