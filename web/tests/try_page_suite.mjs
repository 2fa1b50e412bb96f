// The browser suite: try.html opened from disk in headless chromium (Debian's, driven by
// playwright-core, which never fetches a browser of its own), used as a person uses it, through
// its controls' accessible names, and held to what the native notavo-sim prints and writes for
// the same command line: the same bytes. One browser, one page, every score.
// Usage: node try_page_suite.mjs PAGE NATIVE_NOTAVO_SIM OUT_FOLDER SCORE...
// (run through tools/npm/modules.sh, which sets QUOR_NODE_MODULES)
import {spawnSync} from 'node:child_process';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {basename, dirname, join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';

import {pngColours} from './png_colours.mjs';

const [pagePath, nativeSim, outFolder, ...scores] = process.argv.slice(2);
const say = (line) => console.log('web suite: ' + line);
let failed = 0;
const check = (passed, what, detail = '') => {
  say(`${passed ? 'PASS' : 'FAIL'} ${what}${!passed && detail ? ': ' + detail : ''}`);
  if (!passed) failed += 1;
};

// The native command, run in the score's folder with the score named as the page names it.
function native(score, args, folder) {
  mkdirSync(folder, {recursive: true});
  const run = spawnSync(nativeSim, ['--document=' + basename(score), ...args],
                        {cwd: dirname(score), encoding: 'utf8'});
  return {status: run.status, out: run.stdout, err: run.stderr};
}
const said = (err) => err.split('\n').filter(
    (line) => line && !/^(reading |applying |setting as default |laying out )/.test(line)).join('\n');
// "measure N  width A -> B", or "width A" when it did not change: each measure's width after.
const widths = (out) => [...out.matchAll(/^measure (\d+) +width (\d+)(?: -> (\d+))?/gm)]
    .map((m) => `${m[1]}:${m[3] || m[2]}`).join(' ');

const require = createRequire(join(process.env.QUOR_NODE_MODULES, 'x.js'));
const {chromium} = require('playwright-core');
const browser = await chromium.launch({executablePath: '/usr/bin/chromium'});
const started = Date.now();
try {
  const context = await browser.newContext({acceptDownloads: true, viewport: {width: 1280, height: 900}});
  const page = await context.newPage();
  const pageUrl = pathToFileURL(resolve(pagePath)).href;
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(String(error)));

  const runs = async () => Number(await page.evaluate(() => document.body.dataset.runs || 0));
  // Does what `act` does and waits for the page to have finished the run it starts.
  const ran = async (act) => {
    const before = await runs();
    await act();
    await page.waitForFunction((n) => Number(document.body.dataset.runs || 0) > n, before);
  };
  const download = async (name) => {
    const [file] = await Promise.all([page.waitForEvent('download'),
                                      page.getByRole('button', {name}).click()]);
    return readFileSync(await file.path());
  };
  const control = {
    score: page.getByLabel('Score', {exact: true}),
    measures: page.getByLabel('Measures', {exact: true}),
    task: page.getByLabel('Task', {exact: true}),
    fixed: page.getByLabel('Fixed Barlines', {exact: true}),
    apply: page.getByRole('button', {name: 'Apply Spacing', exact: true}),
    all: page.getByRole('button', {name: 'All nine tasks', exact: true}),
  };

  await page.goto(pageUrl);
  await page.waitForFunction(() => Number(document.body.dataset.runs || 0) > 0);

  // The tasks, in the dialog's order, each with the description the dialog shows.
  const listed = spawnSync(nativeSim, ['--list-tasks'], {encoding: 'utf8'}).stdout;
  const descriptions = new Map();  // each task, and its description's lines, unindented
  let last = null;
  for (const line of listed.split('\n').filter((l) => l)) {
    if (line.startsWith('    ')) {
      descriptions.get(last).push(line.slice(4));
    } else {
      last = line;
      descriptions.set(line, []);
    }
  }
  const tasks = [...descriptions.keys()];
  const offered = await control.task.locator('option').allTextContents();
  check(tasks.length === 9 && JSON.stringify(offered) === JSON.stringify(tasks),
        'Task offers the nine tasks in the dialog\'s order', `${offered.join(', ')}`);
  let described = true;
  for (const task of tasks) {
    await control.task.selectOption(task);
    const shown = await page.locator('#description').textContent();
    if (shown === '' || shown !== descriptions.get(task).join('\n')) described = false;
  }
  check(described, 'each task shows the description the dialog shows');

  // Every score: a task on a range, without and with Fixed Barlines, picture and document
  // downloaded and compared with the native command's; the document reopened natively.
  const range = '1-2';
  for (const [index, score] of scores.entries()) {
    const name = basename(score);
    const task = tasks[index % tasks.length];
    await ran(() => control.score.setInputFiles(score));
    await control.measures.fill(range);
    await control.task.selectOption(task);
    for (const fixed of [false, true]) {
      const what = `${name}: "${task}" on measures ${range}${fixed ? ' with Fixed Barlines' : ''}`;
      await control.fixed.setChecked(fixed);
      await ran(() => control.apply.click());
      const folder = join(outFolder, name + (fixed ? '-fixed' : ''));
      const want = native(score, ['--task', task, '--measures', range,
                                  ...(fixed ? ['--fixed-barlines'] : []),
                                  '--svg', join(folder, 'picture.svg'),
                                  '--save', join(folder, 'document.ntv')], folder);
      if (want.status !== 0) {
        const error = await page.getByRole('alert').textContent();
        check(error === said(want.err), what + ': the page shows the command\'s error',
              `page: ${error} / native: ${said(want.err)}`);
        continue;
      }
      const picture = await download('Download picture');
      writeFileSync(join(folder, 'page.svg'), picture);
      check(picture.equals(readFileSync(join(folder, 'picture.svg'))),
            what + ': the picture is the native command\'s, byte for byte',
            `see ${folder}/page.svg and picture.svg`);
      const saved = await download('Download document');
      const reopenedPath = join(folder, 'page.ntv');
      writeFileSync(reopenedPath, saved);
      const reopened = spawnSync(nativeSim, ['--document', reopenedPath], {encoding: 'utf8'});
      check(saved.equals(readFileSync(join(folder, 'document.ntv'))) &&
                widths(reopened.stdout) === widths(want.out) && widths(want.out) !== '',
            what + ': the document is the native one, and notavo-sim reopens it with the same widths',
            `${widths(reopened.stdout)} / ${widths(want.out)}`);
    }
  }

  // The nine tasks side by side, as --compare-all draws them.
  for (const score of scores.slice(0, 2)) {
    const name = basename(score);
    await ran(() => control.score.setInputFiles(score));
    await control.measures.fill(range);
    await control.fixed.setChecked(true);
    await ran(() => control.all.click());
    const folder = join(outFolder, name + '-all');
    const want = native(score, ['--measures', range, '--fixed-barlines',
                                '--compare-all', join(folder, 'picture.svg')], folder);
    const picture = await download('Download picture');
    writeFileSync(join(folder, 'page.svg'), picture);
    check(want.status === 0 && picture.equals(readFileSync(join(folder, 'picture.svg'))) &&
              (await page.getByRole('button', {name: 'Download document'}).isDisabled()),
          `${name}: all nine tasks, the native --compare-all picture byte for byte, and no ` +
              'document to download');
  }

  // A broken file shows the command's error; the next file works.
  const broken = join(outFolder, 'broken.musicxml');
  writeFileSync(broken, '<?xml version="1.0"?>\n<score-partwise version="4.0">\n<part-list>\n');
  await control.measures.fill('all');
  await ran(() => control.score.setInputFiles(broken));
  const refused = native(broken, ['--task', tasks[0]], join(outFolder, 'broken'));
  const error = await page.getByRole('alert').textContent();
  check(refused.status !== 0 && error === said(refused.err) &&
            !(await page.locator('#result').isVisible()),
        'a broken file: the page shows the command\'s error and no picture', error);
  await ran(() => control.score.setInputFiles(scores[0]));
  check(!(await page.getByRole('alert').isVisible()) &&
            (await page.locator('#result svg').count()) === 1,
        'a good file after the broken one works');

  // A score dropped on the page opens as a chosen one does.
  const dropped = scores[1];
  const dataTransfer = await page.evaluateHandle(({name, text}) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([text], name));
    return transfer;
  }, {name: basename(dropped), text: readFileSync(dropped, 'utf8')});
  await ran(() => page.dispatchEvent('body', 'drop', {dataTransfer}));
  check((await page.getByRole('status').textContent()).endsWith(` on ${basename(dropped)}.`) &&
            (await page.locator('#result svg').count()) === 1,
        `a score dropped on the page (${basename(dropped)}) opens and is spaced`);

  // The picture for the README: a score open, a task applied.
  const shown = scores.find((s) => basename(s) === 'piano_prelude.musicxml') || scores[0];
  await control.task.selectOption('Loose Allotment');
  await control.measures.fill('1-4');
  await control.fixed.setChecked(false);
  await ran(() => control.score.setInputFiles(shown));
  const screenshot = await page.screenshot();
  writeFileSync(join(outFolder, 'try-page.png'), screenshot);
  const {width, height, counts} = pngColours(screenshot);
  const share = (colour) => (counts.get(colour) || 0) / (width * height);
  check(width === 1280 && height === 900 && counts.size >= 16 && share('#fbfaf7') > 0.15 &&
            share('#ffffff') > 0.05 && share('#f3efe2') > 0.005 && (counts.get('#2d2d2d') || 0) > 0,
        `the screenshot (${outFolder}/try-page.png): ${width}x${height}, ${counts.size} colours, ` +
            `the guide's background, note and text colours and the picture's white`,
        `background ${share('#fbfaf7').toFixed(3)}, white ${share('#ffffff').toFixed(3)}, ` +
            `note ${share('#f3efe2').toFixed(3)}`);

  const others = requests.filter((url) => url !== pageUrl);
  check(others.length === 0 && pageErrors.length === 0,
        'the page requested nothing beyond its own file, and threw nothing',
        [...others, ...pageErrors].slice(0, 3).join(' '));
} finally {
  await browser.close();
}
say(`${failed === 0 ? 'passed' : `FAILED (${failed})`} in ${((Date.now() - started) / 1000).toFixed(1)} s`);
process.exit(failed === 0 ? 0 : 1);
