// The geography behind the fields, as Chromium shows a page: each field's
// table is exactly as large as its picture, each square's cell lies where the
// picture drew that square, and around the digits and cell borders the
// screen shows the picture pixel for pixel.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { launchBrowser, pixelsAt, writePage } from './harness.mjs';

describe('field images behind the fields', () => {
  let browser, page, images;
  before(async () => {
    browser = await launchBrowser();
    // The CLI brings the build's pictures along into images/ beside the page.
    const written = writePage('geography', { args: ['--field', 'EM', '--format', 'landscape'] });
    images = path.join(path.dirname(written.path), 'images');
    page = await browser.newPage();
    await page.goto(written.url, { waitUntil: 'load' });
  });
  after(() => browser?.close());

  test("every field table is its picture's size, every cell at its square", async () => {
    const fields = await page.evaluate(() =>
      [...document.querySelectorAll('td:has(> table)')].map((td) => {
        const box = td.getBoundingClientRect();
        const cells = [...td.querySelectorAll('td')].map((cell) => {
          const c = cell.getBoundingClientRect();
          return [cell.textContent, c.left - box.left, c.top - box.top, c.width, c.height];
        });
        return { name: td.className, width: box.width, height: box.height, cells };
      }),
    );
    assert.equal(fields.length, 12);
    for (const { name, width, height, cells } of fields) {
      // A GIF's size: two little-endian words after "GIF89a".
      const gif = fs.readFileSync(path.join(images, `${name}.gif`));
      assert.deepEqual([width, height], [gif.readUInt16LE(6), gif.readUInt16LE(8)], name);
      // The picture draws square (column, row) at x 1 + 24 column, y 1 + 22 (9 - row), 24 x 22.
      for (const [digits, ...box] of cells)
        assert.deepEqual(box, [1 + 24 * digits[0], 1 + 22 * (9 - digits[1]), 24, 22], name + digits);
    }
  });

  test('the screen shows the picture at its place, pixel for pixel', async () => {
    const box = await page.evaluate(() => {
      const r = document.querySelector('td.FN').getBoundingClientRect();
      return { left: Math.round(r.left + scrollX), top: Math.round(r.top + scrollY), width: r.width, height: r.height };
    });
    const decoder = await page.context().newPage();
    const picture = await decoder.evaluate(async (base64) => {
      const image = new Image();
      image.src = `data:image/gif;base64,${base64}`;
      await image.decode();
      const canvas = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height });
      canvas.getContext('2d').drawImage(image, 0, 0);
      const { data } = canvas.getContext('2d').getImageData(0, 0, image.width, image.height);
      return Array.from({ length: data.length / 4 }, (_, i) => `rgb(${data[4 * i]}, ${data[4 * i + 1]}, ${data[4 * i + 2]})`);
    }, fs.readFileSync(path.join(images, 'FN.gif')).toString('base64'));
    await decoder.close();

    // The field and 2 px around it, to try the picture a little off its place.
    const m = 2;
    const points = [];
    for (let y = -m; y < box.height + m; ++y) for (let x = -m; x < box.width + m; ++x) points.push([box.left + x, box.top + y]);
    const shown = await pixelsAt(page, points);
    const at = (x, y) => shown[(y + m) * (box.width + 2 * m) + x + m];

    // Borders and digits cover parts of the picture; every other pixel is one
    // of its colours, and must be the one it has at that very place.
    const colours = new Set(picture);
    const agreement = {};
    for (let dy = -m; dy <= m; ++dy) {
      for (let dx = -m; dx <= m; ++dx) {
        let same = 0, seen = 0;
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
