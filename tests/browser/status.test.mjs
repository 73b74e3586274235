// How each status looks in Chromium (colour and weight of the square's digits)
// under the display options, and whether the legend names those colours in them.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { RGB, launchBrowser, readSquares, writePage } from './harness.mjs';

// One square of field FN per status letter the listing can hold; FN80 is absent.
const STATUS = { FN00: '*', FN10: 'C', FN20: 'S', FN30: 'L', FN40: 'M', FN50: 'W', FN60: 'c', FN70: 'N' };
const STATUS_OF_LETTER = { '*': 'checked', C: 'confirmed', L: 'worked', M: 'worked', W: 'worked' };

// [colour word, bold] per status, as the user chooses them with the options.
const look = (unworked, worked, confirmed, checked) => ({ unworked, worked, confirmed, checked });
const PLAIN = ['--no-needed', '--no-c-checked'];
const CASES = [
  { id: 'defaults', args: [], looks: look(['Black', 1], ['Red', 1], ['Gray', 0], ['Gray', 0]) },
  { id: 'plain colours', args: PLAIN, looks: look(['Gray', 0], ['Red', 1], ['Green', 1], ['Black', 1]) },
  {
    id: 'plain colours, S as checked',
    args: [...PLAIN, '--s-checked'],
    looks: look(['Gray', 0], ['Red', 1], ['Green', 1], ['Black', 1]),
    submitted: 'checked',
  },
  {
    id: 'plain colours, not bold',
    args: [...PLAIN, '--no-bold'],
    looks: look(['Gray', 0], ['Red', 0], ['Green', 0], ['Black', 0]),
  },
  {
    id: 'needed emphasized',
    args: ['--needed', '--no-c-checked'],
    looks: look(['Black', 1], ['Red', 1], ['Green', 1], ['Gray', 0]),
  },
  { id: 'monochrome', args: ['--no-color'], looks: look(['Black', 1], ['Gray', 1], ['Gray', 0], ['Gray', 0]) },
  {
    id: 'monochrome, plain, bold off has no effect',
    args: ['--no-color', ...PLAIN, '--no-bold'],
    looks: look(['Gray', 0], ['Gray', 1], ['Black', 0], ['Black', 1]),
  },
];

const weight = (bold) => (bold ? '700' : '400');

describe('status looks in Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  CASES.forEach((c, index) => {
    test(c.id, async () => {
      const page = await browser.newPage();
      const { url } = writePage(`status-${index}`, { status: STATUS, args: ['--field', 'EM', ...c.args] });
      await page.goto(url);

      const statusOf = (grid) => {
        const letter = STATUS[grid];
        if (letter === 'S') return c.submitted ?? 'confirmed';
        return STATUS_OF_LETTER[letter] ?? 'unworked';
      };
      const wrong = [];
      for (const square of await readSquares(page)) {
        const grid = square.field + square.digits;
        const [word, bold] = c.looks[statusOf(grid)];
        const got = `${square.color} ${square.fontWeight}`;
        const want = `${RGB[word]} ${weight(bold)}`;
        if (got !== want) wrong.push(`${grid} (${STATUS[grid] ?? 'absent'}): ${got}, expected ${want}`);
      }
      assert.deepEqual(wrong.slice(0, 10), []);

      const legend = await page.evaluate(() =>
        [...document.querySelectorAll('body > font > table:last-of-type td')].slice(1).map((td) => {
          const span = td.querySelector('span');
          const style = getComputedStyle(span);
          return `${td.textContent} ${style.color} ${style.fontWeight}`;
        }),
      );
      const entry = (label, status) => {
        const [word, bold] = c.looks[status];
        return `${label}: ${word} ${RGB[word]} ${weight(bold)}`;
      };
      assert.deepEqual(legend, [
        entry('Checked', 'checked'),
        entry('Confirmed', 'confirmed'),
        entry('Worked', 'worked'),
        entry('Unworked', 'unworked'),
      ]);
      await page.close();
    });
  });
});
