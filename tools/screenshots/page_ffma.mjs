// Takes the README's picture of a page: the sample listing on a landscape map
// with the FFMA outline, as Chromium shows it (with the field images that the
// CLI puts beside the page from its own images/ folder).
//   ZELK_CLI=build/zelk2html-cli node tools/screenshots/page_ffma.mjs docs/page-landscape-ffma.png
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { WORK_DIR, launchBrowser, writePage } from '../../tests/browser/harness.mjs';

const [out] = process.argv.slice(2);
if (!out) throw new Error('usage: page_ffma.mjs OUT.png');

const sample = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../examples/grids.csv');
const dir = path.join(WORK_DIR, 'screenshot');
fs.mkdirSync(dir, { recursive: true });

const { url } = writePage('grids', { dir, listing: sample, args: ['--field', 'CL', '--format', 'landscape', '--ffma'] });
const browser = await launchBrowser();
const page = await browser.newPage();
await page.setViewportSize({ width: 1000, height: 400 });
await page.goto(url, { waitUntil: 'networkidle' });
await page.screenshot({ path: out, fullPage: true });
await browser.close();
console.log(`wrote ${out}`);
