// What every browser suite shares: Debian's Chromium started offline through
// playwright-core, map pages written by the real zelk2html-cli, and readings of
// what the browser laid out and drew.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { pathToFileURL } from 'node:url';

const { chromium } = await import('playwright-core').catch(() => {
  throw new Error('playwright-core is not installed: run tests/browser/prepare.sh');
});
const CLI = process.env.ZELK_CLI;
if (!CLI) throw new Error('ZELK_CLI must name the zelk2html-cli to test (ctest sets it)');

// Pages go into the build tree (ctest sets ZELK_BROWSER_WORK), so a failed run
// leaves them there to be opened by hand.
export const WORK_DIR = process.env.ZELK_BROWSER_WORK || fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-browser-'));

// Running as root, offline, without a GPU; playwright gives each launch a fresh
// profile and removes it again. Nothing may phone home.
export const launchBrowser = () =>
  chromium.launch({
    executablePath: process.env.ZELK_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });

// Turns a listing into `name`.html in `dir` with the CLI on band 2M; the listing
// is `listing` or else one written from `status` (grid -> letter in the 2M column).
export function writePage(name, { status = { FN42: 'C' }, listing, args = [], dir = WORK_DIR } = {}) {
  fs.mkdirSync(dir, { recursive: true });
  const page = path.join(dir, `${name}.html`);
  if (!listing) {
    listing = path.join(dir, `${name}.csv`);
    const rows = Object.entries(status).map(([grid, letter]) => `${grid},,${letter}`);
    fs.writeFileSync(listing, ['Grid,6M,2M', ...rows, ''].join('\n'));
  }
  // A fixed date keeps pages of different runs byte-identical; a failure's error carries the CLI's stderr.
  const env = { ...process.env, SOURCE_DATE_EPOCH: '1779926400' };
  execFileSync(CLI, [listing, '-o', page, '--band', '2M', ...args], { env, stdio: 'pipe' });
  return { path: page, url: pathToFileURL(page).href };
}

// One browser for a suite's tests. open() writes a page, shows it and keeps the
// URLs the browser fetched for it.
export function useBrowser() {
  let browser;
  before(async () => (browser = await launchBrowser()));
  after(() => browser?.close());
  return {
    async open(name, options) {
      const written = writePage(name, options);
      const page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
      const requested = [];
      page.on('request', (request) => requested.push(request.url()));
      await page.goto(written.url, { waitUntil: 'networkidle' });
      return { page, requested, ...written };
    },
  };
}

// Every square of the map: its field (the class of the outer cell), its digits,
// where it was laid out and what the browser computed for it.
export function readSquares(page) {
  return page.evaluate(() =>
    [...document.querySelectorAll('td td')].map((td) => {
      const style = getComputedStyle(td);
      const { left, top, right, bottom } = td.getBoundingClientRect();
      const grid = td.closest('table').closest('td').className + td.textContent;
      const border = { N: style.borderTopColor, S: style.borderBottomColor, E: style.borderRightColor, W: style.borderLeftColor };
      return { grid, box: { left, top, right, bottom }, look: `${style.color} ${style.fontWeight}`, border };
    }),
  );
}

// An image (PNG or GIF bytes) decoded by a canvas in `page`: at(x, y) is that
// pixel's colour as 'rgb(r, g, b)'.
export async function decodeImage(page, bytes) {
  const { width, rgba } = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/*;base64,${base64}`;
    await image.decode();
    const { width, height } = image;
    const context = Object.assign(document.createElement('canvas'), { width, height }).getContext('2d');
    context.drawImage(image, 0, 0);
    const { data } = context.getImageData(0, 0, width, height);
    // One string crosses to node far faster than an array of pixels.
    let binary = '';
    for (let i = 0; i < data.length; i += 0x8000) binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
    return { width, rgba: btoa(binary) };
  }, bytes.toString('base64'));
  const data = Buffer.from(rgba, 'base64');
  return { width, height: data.length / 4 / width, at: (x, y, i = 4 * (y * width + x)) => `rgb(${data[i]}, ${data[i + 1]}, ${data[i + 2]})` };
}

// What the screen shows: the whole page, or the part of it in `clip` (page pixels).
export const screenImage = async (page, clip) => decodeImage(page, await page.screenshot(clip ? { clip } : { fullPage: true }));
