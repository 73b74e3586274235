// What every browser suite shares: Debian's Chromium started offline through
// playwright-core, map pages written by the real zelk2html-cli, and a reading of
// the squares as the browser laid them out.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  throw new Error('playwright-core is not installed: run tests/browser/prepare.sh');
}

export const CLI = process.env.ZELK_CLI;
if (!CLI) throw new Error('ZELK_CLI must name the zelk2html-cli to test (ctest sets it)');
export const CHROMIUM = process.env.ZELK_CHROMIUM || '/usr/bin/chromium';

// Pages go into the build tree (ctest sets ZELK_BROWSER_WORK), so a failed run
// leaves them there to be opened by hand.
export const WORK_DIR = process.env.ZELK_BROWSER_WORK || fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-browser-'));

// 28 May 2026, so that pages written by different runs are byte-identical.
export const FIXED_EPOCH = '1779926400';

// Running as root, offline, on a machine without a GPU; nothing may phone home.
export const CHROMIUM_ARGS = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-dev-shm-usage',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--no-first-run',
];

// Each browser gets a new profile folder, removed again by close().
export async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zelk-chromium-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: CHROMIUM_ARGS,
    viewport: { width: 1600, height: 1000 },
    deviceScaleFactor: 1,
  });
  return {
    context,
    newPage: () => context.newPage(),
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A listing in the logging program's layout: the 2M column carries `status`.
export function listingText(status) {
  const rows = Object.entries(status).map(([grid, letter]) => `${grid},,${letter}`);
  return ['Grid,6M,2M', ...rows, ''].join('\n');
}

// Turns a listing into `name`.html in `dir` with the CLI, on band 2M unless the
// arguments say otherwise; the listing is `listing` or else `name`.csv written
// from `status` (a listing without grids is refused, hence the one confirmed
// square by default). Returns the page's path and file URL.
export function writePage(name, { status = { FN42: 'C' }, listing, args = [], dir = WORK_DIR } = {}) {
  fs.mkdirSync(dir, { recursive: true });
  const page = path.join(dir, `${name}.html`);
  if (!listing) {
    listing = path.join(dir, `${name}.csv`);
    fs.writeFileSync(listing, listingText(status));
  }
  try {
    execFileSync(CLI, [listing, '-o', page, '--band', '2M', ...args], {
      env: { ...process.env, SOURCE_DATE_EPOCH: FIXED_EPOCH },
      stdio: ['ignore', 'pipe', 'pipe'],
    });
  } catch (error) {
    throw new Error(`zelk2html-cli ${args.join(' ')} failed: ${error.stderr}`);
  }
  return { path: page, url: pathToFileURL(page).href };
}

// Every square of the map with its field (the class of the outer cell), its two
// digits, where it was laid out and what the browser computed for it.
export function readSquares(page) {
  return page.evaluate(() =>
    [...document.querySelectorAll('td td')].map((td) => {
      const style = getComputedStyle(td);
      const box = td.getBoundingClientRect();
      return {
        field: td.closest('table').closest('td').className,
        digits: td.textContent,
        box: { left: box.left, top: box.top, right: box.right, bottom: box.bottom },
        color: style.color,
        fontWeight: style.fontWeight,
        border: {
          N: style.borderTopColor,
          S: style.borderBottomColor,
          E: style.borderRightColor,
          W: style.borderLeftColor,
        },
      };
    }),
  );
}

// The browser's names for the colour words that pages use.
export const RGB = {
  Black: 'rgb(0, 0, 0)',
  Gray: 'rgb(128, 128, 128)',
  Red: 'rgb(255, 0, 0)',
  Green: 'rgb(0, 128, 0)',
  blue: 'rgb(0, 0, 255)',
  black: 'rgb(0, 0, 0)',
  silver: 'rgb(192, 192, 192)',
};

// The colours of the given [x, y] pixels of a full-page screenshot, as
// 'rgb(r, g, b)'. The PNG is decoded by a canvas in a page of the same browser.
export async function pixelsAt(page, points) {
  const png = await page.screenshot({ fullPage: true });
  const decoder = await page.context().newPage();
  try {
    return await decoder.evaluate(
      async ({ base64, points }) => {
        const image = new Image();
        image.src = `data:image/png;base64,${base64}`;
        await image.decode();
        const canvas = document.createElement('canvas');
        canvas.width = image.width;
        canvas.height = image.height;
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const { data } = context.getImageData(0, 0, image.width, image.height);
        return points.map(([x, y]) => {
          const at = (y * image.width + x) * 4;
          return `rgb(${data[at]}, ${data[at + 1]}, ${data[at + 2]})`;
        });
      },
      { base64: png.toString('base64'), points },
    );
  } finally {
    await decoder.close();
  }
}
