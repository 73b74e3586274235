// Statuses and the FFMA outline as Chromium shows them. Without a DOCTYPE the page is in quirks
// mode, where the upper-case border classes (SE, W...) match the lower-case selectors.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import { readSquares, screenImage, useBrowser } from './harness.mjs';

const table = fs.readFileSync(new URL('../../ffma/ffma_data.cpp', import.meta.url), 'utf8');
const OUTLINE = new Map([...table.matchAll(/\{"([A-Z]{2}\d\d)", "([NSEW]+)"\}/g)].map((m) => m.slice(1)));
const named = (grid, side) => (OUTLINE.get(grid) ?? '').includes(side);

// A side two squares of one field share is one line on screen, drawn when either names it.
const STEP = { N: [0, 1, 'S'], S: [0, -1, 'N'], E: [1, 0, 'W'], W: [-1, 0, 'E'] };
function drawn(grid, side) {
  const [dx, dy, opposite] = STEP[side];
  const [column, row] = [Number(grid[2]) + dx, Number(grid[3]) + dy];
  const inField = column >= 0 && column <= 9 && row >= 0 && row <= 9;
  return named(grid, side) || (inField && named(`${grid.slice(0, 2)}${column}${row}`, opposite));
}

// Two pixels midway along each side: a 2px collapsed border straddles the line between two cells.
function sidePixels({ left, top, right, bottom }) {
  const [x, y] = [Math.floor((left + right) / 2), Math.floor((top + bottom) / 2)];
  return { N: [[x, top - 1], [x, top]], S: [[x, bottom - 1], [x, bottom]], E: [[right - 1, y], [right, y]], W: [[left - 1, y], [left, y]] };
}

// Statuses on outline squares, so one class attribute holds both kinds; the rest are unworked.
const STATUS = { FN30: '*', FN42: 'C', EL07: 'W' };
const RGB = { Black: 'rgb(0, 0, 0)', Gray: 'rgb(128, 128, 128)', Red: 'rgb(255, 0, 0)', Green: 'rgb(0, 128, 0)', blue: 'rgb(0, 0, 255)' };
const PLAIN = ['--no-needed', '--no-c-checked'];
const CASES = [
  { id: 'colour', args: PLAIN, outline: 'blue', looks: { '*': 'Black+', C: 'Green+', W: 'Red+', unworked: 'Gray' } },
  { id: 'monochrome', args: [...PLAIN, '--no-color', '--no-bold'], outline: 'Black', looks: { '*': 'Black+', C: 'Black', W: 'Gray+', unworked: 'Gray' } },
];
const computed = (look) => `${RGB[look.replace('+', '')]} ${look.endsWith('+') ? 700 : 400}`;

const browser = useBrowser();
for (const c of CASES) {
  test(c.id, async () => {
    const { page } = await browser.open(`looks-${c.id}`, { status: STATUS, args: ['--field', 'CL', '--format', 'landscape', '--ffma', ...c.args] });
    assert.equal(await page.evaluate(() => document.compatMode), 'BackCompat');
    const squares = await readSquares(page);
    assert.equal(squares.filter((s) => OUTLINE.has(s.grid)).length, OUTLINE.size, 'every outline square is on the map');
    const screen = await screenImage(page);
    const colour = (outlined) => (outlined ? RGB[c.outline] : 'rgb(192, 192, 192)');
    const wrong = [];
    for (const { grid, box, look, border } of squares) {
      const want = computed(c.looks[STATUS[grid] ?? 'unworked']);
      if (look !== want) wrong.push(`${grid} digits ${look}, expected ${want}`);
      for (const [side, pixels] of Object.entries(sidePixels(box))) {
        const shown = [...new Set(pixels.map(([x, y]) => screen.at(x, y)))].join(' / ');
        if (border[side] !== colour(named(grid, side))) wrong.push(`${grid} ${side} computed ${border[side]}`);
        if (shown !== colour(drawn(grid, side))) wrong.push(`${grid} ${side} shown ${shown}`);
      }
    }
    assert.deepEqual(wrong.slice(0, 20), []);
    await page.close();
  });
}
