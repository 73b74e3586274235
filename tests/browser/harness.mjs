// Debian's Chromium, offline through playwright-core, and its Firefox ESR from the command line,
// over map pages the real zelk2html-cli writes.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core'; // tests/browser/prepare.sh installs it

const CLI = process.env.ZELK_CLI;
if (!CLI) throw new Error('ZELK_CLI must name the zelk2html-cli to test (ctest sets it)');
// In the build tree a failed run leaves its pages to be opened by hand.
export const WORK_DIR = process.env.ZELK_BROWSER_WORK || fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-browser-'));

// `name`.html in `dir` on band 2M, from a listing of `status` (grid -> letter in the 2M column);
// with band 'all', every band's page and the contents page `name`-bands.html.
function writePage(name, { status = { FN42: 'C' }, args = [], dir = WORK_DIR, band = '2M' } = {}) {
  fs.mkdirSync(dir, { recursive: true });
  const [page, listing] = [path.join(dir, band === 'all' ? `${name}-bands.html` : `${name}.html`), path.join(dir, `${name}.csv`)];
  fs.writeFileSync(listing, ['Grid,6M,2M', ...Object.entries(status).map(([grid, letter]) => `${grid},,${letter}`), ''].join('\n'));
  // A fixed date keeps pages of different runs byte-identical; a failure's error carries the CLI's stderr.
  execFileSync(CLI, [listing, '-o', band === 'all' ? dir : page, '--band', band, ...args],
    { env: { ...process.env, SOURCE_DATE_EPOCH: '1779926400' }, stdio: 'pipe' });
  return { path: page, url: pathToFileURL(page).href };
}

// One browser for a suite (as root, no GPU, nothing phoning home); open() writes a page, shows
// it and keeps the URLs fetched for it.
export function useBrowser() {
  let browser;
  before(async () => (browser = await chromium.launch({
    executablePath: process.env.ZELK_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  })));
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

// Debian's headless Firefox ESR (playwright drives only its own patched build) over a copy of the
// page beside it that runs `script` once loaded, in a fresh profile with `prefs` in its user.js,
// in a window as wide as Chromium's viewport.
// dump() writes to Firefox's stdout; the promise settles with the first truthy done(stdout so far).
export function inFirefox(pagePath, script, prefs, done) {
  const copy = pagePath.replace(/\.html$/, '-firefox.html');
  fs.writeFileSync(copy, `${fs.readFileSync(pagePath, 'utf8')}<script>addEventListener('load', () => { ${script} });</script>\n`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-firefox-'));
  const all = { 'browser.dom.window.dump.enabled': true, ...prefs };
  fs.writeFileSync(path.join(profile, 'user.js'), Object.entries(all).map(([k, v]) => `user_pref(${JSON.stringify(k)}, ${JSON.stringify(v)});\n`).join(''));
  const firefox = spawn(process.env.ZELK_FIREFOX || 'firefox-esr',
    ['--headless', '-no-remote', '-profile', profile, '-width', '1600', '-height', '1000', pathToFileURL(copy).href],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  let [stdout, exited] = ['', false];
  firefox.once('exit', () => {
    exited = true;
    fs.rmSync(profile, { recursive: true, force: true });
  });
  firefox.stdout.on('data', (data) => (stdout += data));
  const deadline = Date.now() + 60_000;
  return new Promise((resolve, reject) => {
    const poll = setInterval(() => {
      const result = done(stdout);
      if (result || Date.now() > deadline || exited) {
        clearInterval(poll);
        firefox.kill();
        result ? resolve(result) : reject(new Error(`firefox-esr gave up or ran out of time on ${copy}; its stdout:\n${stdout}`));
      }
    }, 200);
  });
}

// Every square: its field (the outer cell's class) and digits, its box, and what the browser computed.
export const readSquares = (page) =>
  page.evaluate(() =>
    [...document.querySelectorAll('td td')].map((td) => {
      const style = getComputedStyle(td);
      const { left, top, right, bottom } = td.getBoundingClientRect();
      const grid = td.closest('table').closest('td').className + td.textContent;
      const border = { N: style.borderTopColor, S: style.borderBottomColor, E: style.borderRightColor, W: style.borderLeftColor };
      return { grid, box: { left, top, right, bottom }, look: `${style.color} ${style.fontWeight}`, border };
    }),
  );

// PNG or GIF bytes decoded by a canvas in `page`: at(x, y) is that pixel as 'rgb(r, g, b)'.
export async function decodeImage(page, bytes) {
  const { width, rgba } = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/*;base64,${base64}`;
    await image.decode();
    const { width, height } = image;
    const context = Object.assign(document.createElement('canvas'), { width, height }).getContext('2d');
    context.drawImage(image, 0, 0);
    const { data } = context.getImageData(0, 0, width, height);
    let binary = ''; // one string crosses to node far faster than an array
    for (let i = 0; i < data.length; i += 0x8000) binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
    return { width, rgba: btoa(binary) };
  }, bytes.toString('base64'));
  const data = Buffer.from(rgba, 'base64');
  return { width, height: data.length / 4 / width, at: (x, y, i = 4 * (y * width + x)) => `rgb(${data[i]}, ${data[i + 1]}, ${data[i + 2]})` };
}

// The whole page on screen, or the part in `clip` (page pixels).
export const screenImage = async (page, clip) => decodeImage(page, await page.screenshot(clip ? { clip } : { fullPage: true }));
