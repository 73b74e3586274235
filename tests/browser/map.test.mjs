// Where Chromium puts the fields and their pictures: north at the top, west at the
// left in every print format, each field's table exactly over its picture with
// every square's cell where the picture drew that square, and the pictures fetched
// from images/ beside the page, as View opens it from disk.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { WORK_DIR, decodeImage, screenImage, useBrowser } from './harness.mjs';

const browser = useBrowser();
// A folder name that needs escaping in a URL, as program folders often do.
const dir = path.join(WORK_DIR, 'maps here');
const gif = (field) => fs.readFileSync(path.join(dir, 'images', `${field}.gif`));

const fieldsOf = (page) =>
  page.evaluate(() =>
    [...document.querySelectorAll('td:has(> table)')].map((td) => {
      const { left, top, width, height } = td.getBoundingClientRect();
      const cells = [...td.querySelectorAll('td')].map((cell) => {
        const c = cell.getBoundingClientRect();
        return [cell.textContent, c.left - left, c.top - top, c.width, c.height];
      });
      return { name: td.className, box: { x: left + scrollX, y: top + scrollY, width, height }, cells };
    }),
  );

const MAPS = [
  { format: 'portrait', field: 'EM', columns: 3, rows: 4 },
  { format: 'landscape', field: 'QA', columns: 4, rows: 3 },
  { format: '11x17', field: 'RR', columns: 6, rows: 4 }, // letters run on past R
];
for (const map of MAPS) {
  test(`${map.format} from ${map.field}`, async () => {
    const { page, requested, url } = await browser.open(map.format, { dir, args: ['--field', map.field, '--format', map.format] });
    const fields = await fieldsOf(page);
    await page.close();

    const letter = (first, offset) => String.fromCharCode(first.charCodeAt(0) + offset);
    const expected = [...Array(map.rows * map.columns).keys()].map(
      (i) => letter(map.field[0], i % map.columns) + letter(map.field[1], map.rows - 1 - Math.floor(i / map.columns)),
    );
    fields.sort((a, b) => a.box.y - b.box.y || a.box.x - b.box.x);
    assert.deepEqual(fields.map((f) => f.name), expected);

    for (const { name, box, cells } of fields) {
      // A GIF's size: two little-endian words after "GIF89a".
      assert.deepEqual([box.width, box.height], [gif(name).readUInt16LE(6), gif(name).readUInt16LE(8)], name);
      // The picture draws square (column, row) at x 1 + 24 column, y 1 + 22 (9 - row), 24 x 22.
      for (const [digits, ...cell] of cells)
        assert.deepEqual(cell, [1 + 24 * digits[0], 1 + 22 * (9 - digits[1]), 24, 22], name + digits);
    }

    const images = requested.filter((u) => u !== url).sort();
    assert.deepEqual(images, expected.map((field) => new URL(`images/${field}.gif`, url).href).sort());
    assert.match(images[0], /\/maps%20here\/images\//);
  });
}

test('the screen shows a picture at its place, pixel for pixel', async () => {
  const { page } = await browser.open('picture', { dir, args: ['--field', 'EM', '--format', 'portrait'] });
  const { box } = (await fieldsOf(page)).find((f) => f.name === 'FN');
  const picture = await decodeImage(page, gif('FN'));
  const m = 2;
  const screen = await screenImage(page, { x: box.x - m, y: box.y - m, width: box.width + 2 * m, height: box.height + 2 * m });
  await page.close();

  // Borders and digits cover parts of the picture; every other pixel is one of its
  // colours, and must be the one it has at that very place. Moved up to m px off
  // its place, the picture must fit clearly worse.
  const colours = new Set();
  for (let y = 0; y < picture.height; ++y) for (let x = 0; x < picture.width; ++x) colours.add(picture.at(x, y));
  const agreement = (dx, dy) => {
    let same = 0, seen = 0;
    for (let y = 0; y < picture.height; ++y) {
      for (let x = 0; x < picture.width; ++x) {
        const shown = screen.at(m + x + dx, m + y + dy);
        if (shown === 'rgb(192, 192, 192)' || !colours.has(shown)) continue;
        ++seen;
        same += shown === picture.at(x, y);
      }
    }
    return same / seen;
  };
  const inPlace = agreement(0, 0);
  assert.ok(inPlace > 0.98, `${inPlace} of the uncovered pixels are the picture's`);
  for (const [dx, dy] of [[-m, 0], [m, 0], [0, -m], [0, m], [-1, -1], [1, 1]])
    assert.ok(agreement(dx, dy) < inPlace - 0.05, `moved by ${dx},${dy} it fits too`);
});
