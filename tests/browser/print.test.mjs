// Printing: each format on the sheet it is sized for, with Chromium's own print
// defaults (its margins, no scaling). A map that is too wide is shrunk by the
// browser rather than cut, so "fits" means one sheet *and* the size it has on screen.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { test } from 'node:test';
import { WORK_DIR, readSquares, useBrowser } from './harness.mjs';

// Sheets in inches, as the printer takes them; landscape turns them.
const SHEETS = [
  { format: 'portrait', sheet: [8.5, 11, false], size: '612 x 792', squares: 1200 },
  { format: 'landscape', sheet: [8.5, 11, true], size: '792 x 612', squares: 1200 },
  { format: '11x17', sheet: [11, 17, true], size: '1224 x 792', squares: 2400 },
  // Keeps the measure honest: a map on a sheet too small for it is found shrunk.
  { format: '11x17', sheet: [8.5, 11, true], size: '792 x 612', shrunk: true },
];

const browser = useBrowser();

for (const { format, sheet, size, squares, shrunk } of SHEETS) {
  test(`${format} map on a ${size} pt sheet`, async (t) => {
    const name = `print-${format}-${size.replace(/ /g, '')}`;
    const { page } = await browser.open(name, { status: { FN42: 'C', EM55: 'W' }, args: ['--field', 'EM', '--format', format, '--ffma'] });
    const lefts = (await readSquares(page)).map((square) => square.box.left);

    // Printed with the DevTools protocol itself: playwright's page.pdf() would put
    // its own zero margins in place of the browser's defaults.
    const session = await page.context().newCDPSession(page);
    const [paperWidth, paperHeight, landscape] = sheet;
    const { data } = await session.send('Page.printToPDF', { paperWidth, paperHeight, landscape });
    await page.close();
    const file = `${WORK_DIR}/${name}.pdf`;
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
    const info = execFileSync('pdfinfo', [file]).toString();

    // The map's width from its west- to its east-most square label, on the first sheet
    // and on screen; a CSS pixel is 0.75 pt unscaled.
    const xhtml = execFileSync('pdftotext', ['-f', '1', '-l', '1', '-bbox', file, '-']).toString();
    const labels = [...xhtml.matchAll(/<word xMin="([\d.]+)"[^>]*>\d\d<\/word>/g)].map((m) => Number(m[1]));
    const span = (xs) => Math.max(...xs) - Math.min(...xs);
    const scale = span(labels) / (span(lefts) * 0.75);
    const sheets = Number(info.match(/^Pages:\s+(\d+)/m)[1]);
    t.diagnostic(`${sheets} sheet(s), scale ${scale.toFixed(3)}`);

    assert.equal(info.match(/^Page size:\s+([\d.]+ x [\d.]+) pts/m)[1], size);
    if (shrunk) return assert.ok(scale < 0.9, `printed at scale ${scale}`);
    assert.equal(sheets, 1);
    assert.ok(Math.abs(scale - 1) < 0.001, `shrunk to ${scale} to fit the sheet`);
    assert.equal(labels.length, squares, 'every square label is on the sheet');
  });
}
