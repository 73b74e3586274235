// Printing: each format on the sheet it is sized for, with Chromium's own print
// defaults (its default margins, no scaling). A map that is too wide is shrunk by
// the browser rather than cut, so "fits" means one sheet *and* printed at the
// size it has on screen.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { after, before, describe, test } from 'node:test';
import { WORK_DIR, launchBrowser, readSquares, writePage } from './harness.mjs';

const LETTER = { paperWidth: 8.5, paperHeight: 11 };
const LEDGER = { paperWidth: 11, paperHeight: 17 }; // turned to 17 x 11 by landscape
const SHEETS = [
  { format: 'portrait', sheet: { ...LETTER, landscape: false }, size: '612 x 792', squares: 1200 },
  { format: 'landscape', sheet: { ...LETTER, landscape: true }, size: '792 x 612', squares: 1200 },
  { format: '11x17', sheet: { ...LEDGER, landscape: true }, size: '1224 x 792', squares: 2400 },
];

// Prints with the DevTools protocol itself: playwright's page.pdf() would put its
// own zero margins in place of the browser's defaults.
async function printToPdf(page, sheet, file) {
  const session = await page.context().newCDPSession(page);
  const { data } = await session.send('Page.printToPDF', sheet);
  await session.detach();
  fs.writeFileSync(file, Buffer.from(data, 'base64'));
  const info = execFileSync('pdfinfo', [file]).toString();
  return {
    sheets: Number(info.match(/^Pages:\s+(\d+)/m)[1]),
    size: info.match(/^Page size:\s+([\d.]+ x [\d.]+) pts/m)[1],
  };
}

// The words on the first sheet with their boxes in points.
function firstSheetWords(file) {
  const xhtml = execFileSync('pdftotext', ['-f', '1', '-l', '1', '-bbox', file, '-']).toString();
  return [...xhtml.matchAll(/<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)<\/word>/g)].map((m) => ({
    x: Number(m[1]),
    y: Number(m[2]),
    text: m[3],
  }));
}

// Distance between neighbouring square labels of the top row of the map.
function printedPitch(words) {
  const labels = words.filter((w) => /^\d\d$/.test(w.text));
  const top = Math.min(...labels.map((w) => w.y));
  const xs = labels
    .filter((w) => Math.abs(w.y - top) < 1)
    .map((w) => w.x)
    .sort((a, b) => a - b);
  return Math.min(...xs.slice(1).map((x, i) => x - xs[i]));
}

async function printMap(browser, name, format, sheet) {
  const page = await browser.newPage();
  const { url } = writePage(name, { status: { FN42: 'C', EM55: 'W' }, args: ['--field', 'EM', '--format', format, '--ffma'] });
  await page.goto(url);
  const squares = await readSquares(page);
  const screenPitch = squares[1].box.left - squares[0].box.left; // "09" to "19" of one field, in CSS px
  const file = `${WORK_DIR}/${name}.pdf`;
  const printed = await printToPdf(page, sheet, file);
  await page.close();
  const words = firstSheetWords(file);
  // A CSS pixel is 0.75 pt on paper when nothing is scaled.
  const scale = printedPitch(words) / (screenPitch * 0.75);
  return { ...printed, words, scale };
}

describe('printing in Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  for (const { format, sheet, size, squares } of SHEETS) {
    test(`${format} map fits one ${size} pt sheet at full size`, async (t) => {
      const printed = await printMap(browser, `print-${format}`, format, sheet);
      t.diagnostic(`${format}: ${printed.sheets} sheet(s) of ${printed.size} pt, scale ${printed.scale.toFixed(3)}`);
      assert.equal(printed.size, size);
      assert.equal(printed.sheets, 1);
      assert.ok(Math.abs(printed.scale - 1) < 0.001, `shrunk to ${printed.scale} to fit the sheet`);
      const labels = printed.words.filter((w) => /^\d\d$/.test(w.text));
      assert.equal(labels.length, squares, 'every square label is on the first sheet');
      assert.ok(printed.words.some((w) => w.text === 'Unworked:'), 'the legend is on the first sheet');
    });
  }

  // Keeps the measure above honest: a map on a sheet too small for it is shrunk.
  test('an 11x17 map on a Letter sheet is shrunk to fit, and that is detected', async () => {
    const printed = await printMap(browser, 'print-11x17-on-letter', '11x17', { ...LETTER, landscape: true });
    assert.ok(printed.scale < 0.9, `printed at scale ${printed.scale}`);
  });
});
