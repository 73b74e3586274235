// Where Chromium and Firefox put the fields and their pictures (fetched from images/ beside the
// page), and how they print them on the paper the summary advises, turned by the page itself, with
// their own margins. A map too wide is shrunk, so in Chromium "fits" is one sheet at full size;
// Firefox's wider margins shrink the Letter maps by under 1%, so there it is one sheet with them all.
// The contents page of --band all, named as a user may name a listing, links every page written.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { WORK_DIR, decodeImage, inFirefox, screenImage, useBrowser } from './harness.mjs';

const browser = useBrowser();
const dir = path.join(WORK_DIR, 'maps here'); // escaped in URLs
const gif = (field) => fs.readFileSync(path.join(dir, 'images', `${field}.gif`));

// Run in the page by either browser, so it names nothing outside itself.
function measureFields() {
  return [...document.querySelectorAll('td:has(> table)')].map((td) => {
    const { left, top, width, height } = td.getBoundingClientRect();
    const cells = [...td.querySelectorAll('td')].map((cell) => [cell.textContent, cell.getBoundingClientRect()])
      .map(([digits, c]) => [digits, c.left - left, c.top - top, c.width, c.height]);
    return { name: td.className, box: { x: left + scrollX, y: top + scrollY, width, height }, cells };
  });
}

// The sheets of a PDF, and the scale: the labels' span on the first sheet over the span of
// `lefts` on screen (a CSS pixel is 0.75 pt).
function printed(file, lefts) {
  const info = execFileSync('pdfinfo', [file]).toString();
  const xhtml = execFileSync('pdftotext', ['-f', '1', '-l', '1', '-bbox', file, '-']).toString();
  const labels = [...xhtml.matchAll(/<word xMin="([\d.]+)"[^>]*>\d\d<\/word>/g)].map((m) => Number(m[1]));
  const span = (xs) => Math.max(...xs) - Math.min(...xs);
  return { sheets: Number(info.match(/^Pages:\s+(\d+)/m)[1]), size: info.match(/^Page size:\s+([\d.]+ x [\d.]+) pts/m)[1],
    labels: labels.length, scale: span(labels) / (span(lefts) * 0.75) };
}

// Through DevTools itself: page.pdf() would put zero margins in place of the browser's.
async function printInChromium(page, [paperWidth, paperHeight], file) {
  const { data } = await (await page.context().newCDPSession(page)).send('Page.printToPDF', { paperWidth, paperHeight });
  fs.writeFileSync(file, Buffer.from(data, 'base64'));
}

// Firefox has no print flag: print() in the page prints silently to its PDF printer, with the paper
// set in the profile and the rest (margins, shrinking, orientation) left to Firefox and the page.
// Headers and footers off, as in Chromium: the title's day would count as a label.
function firefoxPrinter([width, height, paper], file) {
  const printer = 'print.printer_Mozilla_Save_to_PDF.';
  const blank = ['headerleft', 'headercenter', 'headerright', 'footerleft', 'footercenter', 'footerright'];
  return { 'print.always_print_silent': true, print_printer: 'Mozilla Save to PDF', [`${printer}print_to_file`]: true,
    [`${printer}print_to_filename`]: file, [`${printer}print_paper_width`]: String(width), [`${printer}print_paper_height`]: String(height),
    [`${printer}print_paper_size_unit`]: 0, [`${printer}print_paper_id`]: paper,
    ...Object.fromEntries(blank.map((place) => [`${printer}print_${place}`, ''])) };
}
const pdfComplete = (file) => fs.existsSync(file) && fs.readFileSync(file).subarray(-8).toString().includes('%%EOF');

// The share of the screen's uncovered pixels around `box` that match the picture moved by (dx, dy).
async function pictureFit(page, { name, box }) {
  const picture = await decodeImage(page, gif(name));
  const m = 2;
  const screen = await screenImage(page, { x: box.x - m, y: box.y - m, width: box.width + 2 * m, height: box.height + 2 * m });
  const colours = new Set();
  for (let y = 0; y < picture.height; ++y) for (let x = 0; x < picture.width; ++x) colours.add(picture.at(x, y));
  return (dx, dy) => {
    let same = 0, seen = 0;
    for (let y = 0; y < picture.height; ++y) for (let x = 0; x < picture.width; ++x) {
      const shown = screen.at(m + x + dx, m + y + dy); // borders and digits cover the rest
      if (shown !== 'rgb(192, 192, 192)' && colours.has(shown)) [seen, same] = [seen + 1, same + (shown === picture.at(x, y))];
    }
    return same / seen;
  };
}

// Sheets in inches as the advice names them (and Firefox's name); the page turns them. `picture`: a field with coast
// and borders, pixel for pixel.
const MAPS = [
  { format: 'portrait', field: 'EM', columns: 3, rows: 4, sheet: [8.5, 11, 'na_letter'], size: '612 x 792', picture: 'FN' },
  { format: 'landscape', field: 'QA', columns: 4, rows: 3, sheet: [8.5, 11, 'na_letter'], size: '792 x 612' },
  { format: '11x17', field: 'RR', columns: 6, rows: 4, sheet: [11, 17, 'na_ledger'], size: '1224 x 792' }, // letters run on past R
];
for (const map of MAPS) {
  test(`${map.format} from ${map.field}`, async (t) => {
    const { page, requested, url, path: pagePath } = await browser.open(map.format, { dir, args: ['--field', map.field, '--format', map.format] });
    const fields = await page.evaluate(measureFields);
    const letter = (first, offset) => String.fromCharCode(first.charCodeAt(0) + offset);
    const expected = [...Array(map.rows * map.columns).keys()].map((i) => // north at the top, west at the left
      letter(map.field[0], i % map.columns) + letter(map.field[1], map.rows - 1 - Math.floor(i / map.columns)));
    fields.sort((a, b) => a.box.y - b.box.y || a.box.x - b.box.x);
    assert.deepEqual(fields.map((f) => f.name), expected);

    for (const { name, box, cells } of fields) {
      assert.deepEqual([box.width, box.height], [gif(name).readUInt16LE(6), gif(name).readUInt16LE(8)], name);
      // The picture draws square (column, row) at x 1 + 24 column, y 1 + 22 (9 - row), 24 x 22.
      for (const [digits, ...cell] of cells)
        assert.deepEqual(cell, [1 + 24 * digits[0], 1 + 22 * (9 - digits[1]), 24, 22], name + digits);
    }

    const images = requested.filter((u) => u !== url).sort();
    assert.deepEqual(images, expected.map((field) => new URL(`images/${field}.gif`, url).href).sort());
    assert.match(images[0], /\/maps%20here\/images\//);

    if (map.picture) {
      const fit = await pictureFit(page, fields.find((f) => f.name === map.picture));
      const inPlace = fit(0, 0);
      assert.ok(inPlace > 0.98, `${inPlace} of the uncovered pixels are the picture's`);
      for (const [dx, dy] of [[-2, 0], [2, 0], [0, -2], [0, 2], [-1, -1], [1, 1]])
        assert.ok(fit(dx, dy) < inPlace - 0.05, `moved by ${dx},${dy} it fits too`);
    }
    const lefts = fields.flatMap(({ box, cells }) => cells.map((cell) => box.x + cell[1]));
    const [width, height] = map.sheet;
    const pdf = (name) => path.join(dir, `${map.format}${name}.pdf`);
    await printInChromium(page, map.sheet, pdf(''));
    // On half the sheet the map must be found shrunk, or the measure proves nothing.
    await printInChromium(page, [height / 2, width], pdf('-half'));
    await page.close();
    const [chromium, halved] = [printed(pdf(''), lefts), printed(pdf('-half'), lefts)];
    t.diagnostic(`${chromium.sheets} sheet(s) of ${chromium.size} pt at scale ${chromium.scale.toFixed(3)}, ${halved.scale.toFixed(3)} on half of it`);
    assert.deepEqual([chromium.size, chromium.sheets, chromium.labels], [map.size, 1, 100 * fields.length]);
    assert.ok(Math.abs(chromium.scale - 1) < 0.001 && halved.scale < 0.9);

    fs.rmSync(pdf('-firefox'), { force: true });
    const measure = `dump('ZELK ' + JSON.stringify((${measureFields})()) + '\\n'); print();`;
    const inFirefoxFields = await inFirefox(pagePath, measure, firefoxPrinter(map.sheet, pdf('-firefox')), (stdout) => {
      const line = stdout.match(/^ZELK (.*)$/m);
      return line && pdfComplete(pdf('-firefox')) && JSON.parse(line[1]);
    });
    const firefox = printed(pdf('-firefox'), lefts);
    t.diagnostic(`Firefox: ${firefox.sheets} sheet(s) of ${firefox.size} pt at scale ${firefox.scale.toFixed(3)}`);
    inFirefoxFields.sort((a, b) => a.box.y - b.box.y || a.box.x - b.box.x);
    assert.deepEqual(inFirefoxFields, fields);
    assert.deepEqual([firefox.size, firefox.sheets, firefox.labels], [map.size, 1, 100 * fields.length]);
  });
}

test('contents page of every band', async () => {
  const { page, url } = await browser.open('a<b>&c #1', { dir, band: 'all', args: ['--field', 'FN'], status: { FN42: 'C', FN31: 'W' } });
  assert.equal(await page.evaluate(() => document.compatMode), 'CSS1Compat');
  assert.equal(await page.locator('h1').textContent(), 'ZELK Band Totals for a<b>&c #1.csv - 28 May 2026');
  const rows = await page.evaluate(() => [...document.querySelectorAll('tr')].slice(1)
    .map((tr) => [...tr.cells].map((td) => td.textContent).join('|') + (tr.querySelector('a') ? ' linked' : '')));
  assert.deepEqual(rows, ['6 M (50 MHz)|0|0|0|0|0 of 488|0', '2 M (144 MHz)|0|1|1|2|2 of 488|0 linked']);
  const pdf = path.join(dir, 'contents.pdf');
  await printInChromium(page, [8.5, 11], pdf);
  assert.match(execFileSync('pdfinfo', [pdf]).toString(), /^Pages:\s+1$/m);
  await page.click('a');
  await page.waitForLoadState();
  assert.equal(page.url(), new URL('a%3Cb%3E%26c%20%231-144.html', url).href);
  assert.equal(await page.title(), 'ZELK Grid Map for 2 M (144 MHz) (FN to IP) - 28 May 2026');
  await page.close();
});
