// Pages of the real zelk2html-cli in Debian's Chromium (through playwright-core) and Firefox
// ESR: every field's and square's size in both; in each, with its own margins, one sheet of
// the paper the summary advises, turned by the page. A map too wide would be shrunk in
// Chromium, so "fits" there is one sheet at full size.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core'; // tests/browser/prepare.sh installs it

const CLI = process.env.ZELK_CLI;
if (!CLI) throw new Error('ZELK_CLI must name the zelk2html-cli to test (ctest sets it)');
// In the build tree a failed run leaves its pages to be opened by hand.
const dir = path.join(process.env.ZELK_BROWSER_WORK || fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-')), 'maps');
fs.mkdirSync(dir, { recursive: true });
const gif = (field) => fs.readFileSync(path.join(dir, 'images', `${field}.gif`));

let browser;
before(async () => (browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
})));
after(() => browser?.close());

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
  const size = info.match(/^Page size:\s+([\d.]+) x ([\d.]+) pts/m).slice(1).map(Math.round).join(' x ');
  return { sheets: Number(info.match(/^Pages:\s+(\d+)/m)[1]), size,
    labels: labels.length, scale: span(labels) / (span(lefts) * 0.75) };
}

// Through DevTools itself: page.pdf() would put zero margins in place of the browser's.
async function printInChromium(page, [paperWidth, paperHeight], file) {
  const { data } = await (await page.context().newCDPSession(page)).send('Page.printToPDF', { paperWidth, paperHeight });
  fs.writeFileSync(file, Buffer.from(data, 'base64'));
}

// Firefox has no print flag: a copy of the page writes the fields to stdout once loaded, then
// print() prints silently to the PDF printer set in the profile, margins left as Firefox's.
async function inFirefox(pagePath, [width, height, paper], pdf) {
  const copy = pagePath.replace(/\.html$/, '-firefox.html');
  const script = `dump('ZELK ' + JSON.stringify((${measureFields})()) + '\\n'); print();`;
  fs.writeFileSync(copy, `${fs.readFileSync(pagePath, 'utf8')}<script>addEventListener('load', () => { ${script} });</script>\n`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-firefox-'));
  const to = 'print.printer_Mozilla_Save_to_PDF.print_';
  const prefs = { 'browser.dom.window.dump.enabled': true, 'print.always_print_silent': true,
    print_printer: 'Mozilla Save to PDF', [`${to}to_file`]: true, [`${to}to_filename`]: pdf,
    [`${to}paper_width`]: String(width), [`${to}paper_height`]: String(height),
    [`${to}paper_size_unit`]: 0, [`${to}paper_id`]: paper };
  // Headers and footers off, as in Chromium: the title's day would count as a label.
  for (const place of ['left', 'center', 'right']) prefs[`${to}header${place}`] = prefs[`${to}footer${place}`] = '';
  fs.writeFileSync(path.join(profile, 'user.js'),
    Object.entries(prefs).map(([k, v]) => `user_pref(${JSON.stringify(k)}, ${JSON.stringify(v)});\n`).join(''));
  const args = ['--headless', '-no-remote', '-profile', profile, '-width', '1600', '-height', '1000'];
  const firefox = spawn('firefox-esr', [...args, pathToFileURL(copy).href], { stdio: ['ignore', 'pipe', 'ignore'] });
  let [stdout, exited] = ['', false];
  firefox.once('exit', () => (exited = true) && fs.rmSync(profile, { recursive: true, force: true }));
  firefox.stdout.on('data', (data) => (stdout += data));
  const printed = () => fs.existsSync(pdf) && fs.readFileSync(pdf).subarray(-8).toString().includes('%%EOF');
  try {
    for (const deadline = Date.now() + 60_000; Date.now() < deadline && !exited; await sleep(200)) {
      const line = stdout.match(/^ZELK (.*)$/m);
      if (line && printed()) return JSON.parse(line[1]);
    }
    throw new Error(`firefox-esr gave up on ${copy}; its stdout:\n${stdout}`);
  } finally {
    firefox.kill();
  }
}

// Sheets in inches as the advice names them, and their kin of the rest of the world (and
// Firefox's names); the page turns them, to sizes in points. A4 is narrower than a portrait map.
const [LETTER, A4] = [[8.5, 11, 'na_letter'], [8.27, 11.69, 'iso_a4']];
const [LEDGER, A3] = [[11, 17, 'na_ledger'], [11.69, 16.54, 'iso_a3']];
const MAPS = [
  { format: 'portrait', field: 'EM', fields: 12, sheets: [[...LETTER, '612 x 792'], [...A4, '596 x 842']] },
  { format: 'landscape', field: 'QA', fields: 12, sheets: [[...LETTER, '792 x 612'], [...A4, '842 x 596']] },
  { format: '11x17', field: 'RR', fields: 24, sheets: [[...LEDGER, '1224 x 792'], [...A3, '1191 x 842']] },
];
const byPlace = (a, b) => a.box.y - b.box.y || a.box.x - b.box.x;
for (const map of MAPS) {
  test(`${map.format} from ${map.field}`, async () => {
    // At a fixed date; an error carries the CLI's stderr.
    const [pagePath, listing] = [path.join(dir, `${map.format}.html`), path.join(dir, `${map.format}.csv`)];
    fs.writeFileSync(listing, 'Grid,6M,2M\nFN42,,C\n');
    execFileSync(CLI, [listing, '-o', pagePath, '--band', '2M', '--field', map.field, '--format', map.format],
      { env: { ...process.env, SOURCE_DATE_EPOCH: '1779926400' }, stdio: 'pipe' });
    const page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
    await page.goto(pathToFileURL(pagePath).href, { waitUntil: 'networkidle' });
    const fields = (await page.evaluate(measureFields)).sort(byPlace);
    assert.equal(fields.length, map.fields);
    for (const { name, box, cells } of fields) {
      const picture = gif(name);
      assert.deepEqual([box.width, box.height], [picture.readUInt16LE(6), picture.readUInt16LE(8)], name);
      // The picture draws square (column, row) at x 1 + 24 column, y 1 + 22 (9 - row), 24 x 22.
      for (const [digits, ...cell] of cells)
        assert.deepEqual(cell, [1 + 24 * digits[0], 1 + 22 * (9 - digits[1]), 24, 22], name + digits);
    }

    const lefts = fields.flatMap(({ box, cells }) => cells.map((cell) => box.x + cell[1]));
    for (const [width, height, paper, size] of map.sheets) {
      const pdf = path.join(dir, `${map.format}-${paper}.pdf`);
      await printInChromium(page, [width, height], pdf);
      const inChromium = printed(pdf, lefts);
      assert.deepEqual([inChromium.size, inChromium.sheets, inChromium.labels], [size, 1, 100 * map.fields]);
      // A4 is narrower than the portrait map, which Chromium shrinks onto it.
      if (paper.startsWith('na_')) assert.ok(Math.abs(inChromium.scale - 1) < 0.001, `printed at ${inChromium.scale}`);
      const firefoxPdf = pdf.replace(/\.pdf$/, '-firefox.pdf');
      fs.rmSync(firefoxPdf, { force: true });
      assert.deepEqual((await inFirefox(pagePath, [width, height, paper], firefoxPdf)).sort(byPlace), fields);
      const inFirefoxPrint = printed(firefoxPdf, lefts);
      assert.deepEqual([inFirefoxPrint.size, inFirefoxPrint.sheets, inFirefoxPrint.labels], [size, 1, 100 * map.fields]);
    }
    await page.close();
  });
}

// The widest run of dark pixels on a printed sheet, in mm: a contents-page bar's outline (the
// table's rules are grey, its words far shorter).
function widestBar(pdf) {
  execFileSync('pdftoppm', ['-gray', '-r', '100', '-singlefile', pdf, pdf]);
  const pgm = fs.readFileSync(`${pdf}.pgm`), [header, width] = pgm.toString('latin1', 0, 30).match(/^P5\s+(\d+)\s+\d+\s+255\s/);
  const rows = pgm.subarray(header.length).toString('latin1').match(new RegExp(`[^]{${width}}`, 'g'));
  return (Math.max(...rows.flatMap((row) => (row.match(/[\x00-\x63]+/g) ?? []).map((run) => run.length))) / 100) * 25.4;
}

// The every-band run's other pages, each on one sheet of Letter and of A4 in both browsers: the
// contents page, portrait and landscape, with its bars at their full 25 mm, and the longest
// FFMA list (6 M credits none of the 488).
test('contents page and FFMA list', async () => {
  const listing = path.join(dir, 'chase.csv');
  fs.writeFileSync(listing, 'Grid,6M,2M,SAT,1.25M,70CM,33CM,23CM,13CM\nJO22,W,C,,W,W,W,W,W\nEM10,N,*,W\nFN42,,W,C\n');
  execFileSync(CLI, [listing, '-o', dir, '--band', 'all', '--field', 'auto', '--ffma'], { stdio: 'pipe' });
  const turned = ([width, height, paper]) => [height, width, paper];
  for (const [name, sheets] of [['chase-bands', [LETTER, A4, turned(LETTER), turned(A4)]],
    ['chase-50-ffma', [LETTER, A4]], ['chase-any', [LETTER, A4]]]) {
    const page = await browser.newPage();
    await page.goto(pathToFileURL(path.join(dir, `${name}.html`)).href, { waitUntil: 'networkidle' });
    for (const sheet of sheets) {
      const [pdf, firefoxPdf] = ['', '-firefox'].map((by) => path.join(dir, `${name}-${sheet.join('x')}${by}.pdf`));
      await printInChromium(page, sheet, pdf);
      fs.rmSync(firefoxPdf, { force: true });
      await inFirefox(path.join(dir, `${name}.html`), sheet, firefoxPdf);
      assert.deepEqual([printed(pdf, [0]).sheets, printed(firefoxPdf, [0]).sheets], [1, 1], `${name} on ${sheet}`);
      if (name.endsWith('bands'))
        for (const file of [pdf, firefoxPdf]) assert.ok(Math.abs(widestBar(file) - 25) < 1, `${file}: ${widestBar(file)} mm`);
    }
    await page.close();
  }
});
