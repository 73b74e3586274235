// The field images a page asks for: images/XX.gif beside the page, one per field
// of the map and nothing else, as Chromium resolves them when the page is opened
// from disk the way View opens it.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { WORK_DIR, launchBrowser, writePage } from './harness.mjs';

const MAPS = [
  { format: 'landscape', field: 'QA', fields: ['QA', 'QB', 'QC', 'RA', 'RB', 'RC', 'SA', 'SB', 'SC', 'TA', 'TB', 'TC'] },
  { format: 'portrait', field: 'FN', fields: ['FN', 'FO', 'FP', 'FQ', 'GN', 'GO', 'GP', 'GQ', 'HN', 'HO', 'HP', 'HQ'] },
  {
    format: '11x17',
    field: 'CL',
    fields: 'CDEFGH'.split('').flatMap((longitude) => 'LMNO'.split('').map((latitude) => longitude + latitude)),
  },
];

describe('field images requested by Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  for (const map of MAPS) {
    test(`${map.format} from ${map.field}`, async () => {
      // A folder name that needs escaping in a URL, as program folders often do.
      const dir = path.join(WORK_DIR, `maps ${map.format}`);
      const { url } = writePage('page', { dir, args: ['--field', map.field, '--format', map.format] });
      const page = await browser.newPage();
      const requested = [];
      page.on('request', (request) => requested.push(request.url()));
      await page.goto(url, { waitUntil: 'load' });
      await page.waitForLoadState('networkidle');
      await page.close();

      const images = requested.filter((u) => u !== url).sort();
      const expected = map.fields.map((field) => new URL(`images/${field}.gif`, url).href).sort();
      assert.deepEqual(images, expected);
      assert.ok(expected[0].includes('/maps%20'), 'names resolve against the page, escaped as URLs');
    });
  }
});
