// The FFMA outline as the browser draws it. The page has no DOCTYPE, so Chromium
// is in quirks mode and the upper-case border classes (SE, NE, W...) match the
// lower-case selectors of the style block; in standards mode no outline would show.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { RGB, launchBrowser, pixelsAt, readSquares, writePage } from './harness.mjs';

// The boundary of the award area, square by square, with the sides it runs along.
const OUTLINE = `
  CN99 S, CN89 S, CN79 S, CN68 E, CN67 E, CN66 E, CN65 E, CN64 E, CN63 E, CN62 E,
  CN61 E, CN60 E, CM69 E, CM79 S, CM78 E, CM77 E, CM76 E, CM86 S, CM85 E, CM84 E,
  CM83 E, CM93 S, DM02 SW, DM12 S, DM21 E, DM22 S, DM31 S, DM41 S, DM51 S, DM60 E,
  DM61 S, DL69 E, DL78 E, DL79 S, DL88 S, DL98 S, EL07 W, EL06 SW, EL05 E, EL15 SE,
  EL16 E, EL17 E, EL28 SE, EL39 S, EL48 E, EL49 S, EL58 SE, EL59 E, EL69 NE, EL79 S,
  EL78 E, EL77 E, EL76 E, EL86 S, EL85 SE, EL74 E, EL84 S, EL94 SE, EL95 E, EL96 E,
  EL97 E, EL98 E, EL99 E, EM90 E, EM91 E, FM02 SE, FM13 SE, FM14 E, FM25 SE, FM26 E,
  FM27 E, FM28 E, FM29 E, FN30 SE, FN41 S, FN51 SE, FN52 S, FN42 E, FN53 SE, FN64 SE,
  FN65 E, FN66 E, FN67 E, FN68 S, FN58 S, FN47 SE, FN36 SE, FN26 S, FN15 SE, FN04 SE,
  EN93 SE, EN83 E, EN84 E, EN85 E, EN86 E, EN87 S, EN77 S, EN67 NE, EN68 S, EN58 E,
  EN59 S, EN49 S, EN39 S, EN29 NE, EN19 SE, EN09 S, DN99 S, DN89 S, DN79 S, DN69 S,
  DN59 S, DN49 S, DN39 S, DN29 S, DN19 S, DN09 S`;
const OUTLINE_SIDES = new Map(
  OUTLINE.trim()
    .split(/,\s*/)
    .map((entry) => entry.split(' ')),
);

const SIDES = ['N', 'S', 'E', 'W'];
// Across side N of square (column, row) lies (column, row + 1), and so on.
const STEP = { N: [0, 1, 'S'], S: [0, -1, 'N'], E: [1, 0, 'W'], W: [-1, 0, 'E'] };

const named = (grid, side) => (OUTLINE_SIDES.get(grid) ?? '').includes(side);

// A side shared by two squares of one field is a single line on screen: it is
// drawn when either square names it. Fields are separate tables, so across a
// field's edge nothing is shared.
function drawnInOutline(grid, side) {
  if (named(grid, side)) return true;
  const [dx, dy, opposite] = STEP[side];
  const column = Number(grid[2]) + dx;
  const row = Number(grid[3]) + dy;
  if (column < 0 || column > 9 || row < 0 || row > 9) return false;
  return named(`${grid.slice(0, 2)}${column}${row}`, opposite);
}

// Two pixels on each side, midway along it: a 2px collapsed border straddles the
// line between the boxes of the two cells.
function sidePixels({ left, top, right, bottom }) {
  const x = Math.floor((left + right) / 2);
  const y = Math.floor((top + bottom) / 2);
  return {
    N: [[x, top - 1], [x, top]],
    S: [[x, bottom - 1], [x, bottom]],
    E: [[right - 1, y], [right, y]],
    W: [[left - 1, y], [left, y]],
  };
}

// Lists every side whose colour differs from `expected(grid, side)`; an empty
// list is a pass, and a short list says exactly what went wrong.
function wrongSides(squares, colourOf, expected) {
  const wrong = [];
  for (const square of squares) {
    const grid = square.field + square.digits;
    for (const side of SIDES) {
      const want = expected(grid, side);
      const got = colourOf(square, side);
      if (got !== want) wrong.push(`${grid} ${side}: ${got}, expected ${want}`);
    }
  }
  return wrong.slice(0, 20);
}

async function drawnColours(page, squares) {
  const probes = squares.flatMap((square) => SIDES.flatMap((side) => sidePixels(square.box)[side]));
  const pixels = await pixelsAt(page, probes);
  const drawn = new Map();
  squares.forEach((square, index) =>
    SIDES.forEach((side, sideIndex) => {
      const [a, b] = pixels.slice(index * 8 + sideIndex * 2, index * 8 + sideIndex * 2 + 2);
      drawn.set(`${square.field}${square.digits}${side}`, a === b ? a : `${a} / ${b}`);
    }),
  );
  return (square, side) => drawn.get(`${square.field}${square.digits}${side}`);
}

describe('FFMA outline in Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  // The map from CL covers fields C..F by L..N, which hold every outline square.
  const ffmaMaps = [
    { name: 'outline-colour', args: ['--field', 'CL', '--format', 'landscape', '--ffma'], outline: RGB.blue },
    { name: 'outline-mono', args: ['--field', 'CL', '--format', 'landscape', '--ffma', '--no-color'], outline: RGB.black },
  ];

  for (const map of ffmaMaps) {
    test(`${map.name}: each square carries outline colour exactly on the sides its row names`, async () => {
      const page = await browser.newPage();
      // Statuses and border classes share the class attribute; mix them in.
      const { url } = writePage(map.name, { status: { FN42: 'C', EL07: 'W', EN67: '*', CN99: 'S', DN50: 'L' }, args: map.args });
      await page.goto(url);
      assert.equal(await page.evaluate(() => document.compatMode), 'BackCompat');

      const squares = await readSquares(page);
      assert.equal(squares.length, 1200);
      const outlined = squares.filter((s) => OUTLINE_SIDES.has(s.field + s.digits));
      assert.equal(outlined.length, 116, 'every outline square lies on this map');

      const own = (square, side) => square.border[side];
      const expectOwn = (grid, side) => (named(grid, side) ? map.outline : RGB.silver);
      assert.deepEqual(wrongSides(squares, own, expectOwn), []);

      const drawn = await drawnColours(page, squares);
      const expectDrawn = (grid, side) => (drawnInOutline(grid, side) ? map.outline : RGB.silver);
      assert.deepEqual(wrongSides(squares, drawn, expectDrawn), []);
      await page.close();
    });
  }

  test('without FFMA every side of every square is silver', async () => {
    const page = await browser.newPage();
    const { url } = writePage('outline-off', { status: { FN42: 'C' }, args: ['--field', 'CL', '--format', 'landscape', '--no-ffma'] });
    await page.goto(url);
    const squares = await readSquares(page);
    assert.equal(squares.length, 1200);
    const silver = () => RGB.silver;
    assert.deepEqual(wrongSides(squares, (square, side) => square.border[side], silver), []);
    assert.deepEqual(wrongSides(squares, await drawnColours(page, squares), silver), []);
    await page.close();
  });
});
