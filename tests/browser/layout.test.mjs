// Where Chromium puts the fields and squares: north at the top, west at the left,
// in every print format, with field letters running on past "R".
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { RGB, launchBrowser, readSquares, writePage } from './harness.mjs';

const MAPS = [
  { format: 'portrait', field: 'EM', columns: 3, rows: 4, southWest: 'EM00', northEast: 'GP99' },
  { format: 'landscape', field: 'QA', columns: 4, rows: 3, southWest: 'QA00', northEast: 'TC99' },
  { format: '11x17', field: 'RR', columns: 6, rows: 4, southWest: 'RR00', northEast: 'WU99' },
];

const letter = (first, offset) => String.fromCharCode(first.charCodeAt(0) + offset);

// Groups items into rows by their top edge, top row first, each row west to east.
function rowsByPosition(items, box) {
  const rows = new Map();
  for (const item of items) {
    const top = box(item).top;
    if (!rows.has(top)) rows.set(top, []);
    rows.get(top).push(item);
  }
  return [...rows.keys()]
    .sort((a, b) => a - b)
    .map((top) => rows.get(top).sort((a, b) => box(a).left - box(b).left));
}

// The square digits of one field as read on screen, row by row from the top.
const FIELD_READING = [9, 8, 7, 6, 5, 4, 3, 2, 1, 0].map((row) =>
  [0, 1, 2, 3, 4, 5, 6, 7, 8, 9].map((column) => `${column}${row}`),
);

describe('map layout in Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  for (const map of MAPS) {
    test(`${map.format} from ${map.field}`, async () => {
      const page = await browser.newPage();
      const { url } = writePage(`layout-${map.format}`, {
        status: { [map.southWest]: 'W', [map.northEast]: 'W' },
        args: ['--field', map.field, '--format', map.format],
      });
      await page.goto(url);

      const fields = await page.evaluate(() =>
        [...document.querySelectorAll('body > font > table:first-of-type > tbody > tr > td')].map((td) => {
          const { left, top, right, bottom } = td.getBoundingClientRect();
          return { name: td.className, box: { left, top, right, bottom } };
        }),
      );
      const expectedFields = [...Array(map.rows).keys()].map((fromTop) =>
        [...Array(map.columns).keys()].map(
          (column) => letter(map.field[0], column) + letter(map.field[1], map.rows - 1 - fromTop),
        ),
      );
      assert.deepEqual(
        rowsByPosition(fields, (f) => f.box).map((row) => row.map((f) => f.name)),
        expectedFields,
      );

      const squares = await readSquares(page);
      assert.equal(squares.length, map.columns * map.rows * 100);
      for (const field of fields) {
        const own = squares.filter((s) => s.field === field.name);
        const reading = rowsByPosition(own, (s) => s.box).map((row) => row.map((s) => s.digits));
        assert.deepEqual(reading, FIELD_READING, `squares of ${field.name}`);
        const outside = own.filter(
          (s) =>
            s.box.left < field.box.left ||
            s.box.right > field.box.right ||
            s.box.top < field.box.top ||
            s.box.bottom > field.box.bottom,
        );
        assert.deepEqual(outside, [], `squares of ${field.name} stay inside its cell`);
      }

      // The corner squares of the whole map, found by position alone.
      const southWest = squares.reduce((a, b) => (b.box.left <= a.box.left && b.box.bottom >= a.box.bottom ? b : a));
      const northEast = squares.reduce((a, b) => (b.box.right >= a.box.right && b.box.top <= a.box.top ? b : a));
      for (const [square, grid] of [
        [southWest, map.southWest],
        [northEast, map.northEast],
      ]) {
        assert.equal(square.field + square.digits, grid);
        assert.equal(square.color, RGB.Red, `${grid} is worked in the listing`);
      }
      await page.close();
    });
  }
});
