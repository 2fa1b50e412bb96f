// How fast try.html draws all nine tasks, against the native notavo-sim --compare-all on the
// same score: the largest test score with its measures repeated 50 times, the median of five
// runs each, in headless chromium. Not a test: it prints the figures.
//   page command  the file into the program's memory, the nine runs and the picture's string
//   page show     the picture put into the page (and laid out)
//   page total    from pressing "All nine tasks" to the page showing the picture
//   native        notavo-sim --compare-all, the whole process
// Usage: node page_speed.mjs PAGE NATIVE_NOTAVO_SIM SCORE OUT_FOLDER
// (run through tools/npm/modules.sh, which sets QUOR_NODE_MODULES)
import {spawnSync} from 'node:child_process';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {basename, join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';

const [pagePath, nativeSim, source, outFolder] = process.argv.slice(2);
const times = 50;
const rounds = 5;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Every part's measures, repeated: the score grows, each measure read and drawn as written.
mkdirSync(outFolder, {recursive: true});
const text = readFileSync(source, 'utf8');
const repeated = text.replace(/(<part id="[^"]*">)([\s\S]*?)(<\/part>)/g,
                              (all, open, measures, close) => open + measures.repeat(times) + close);
const score = join(outFolder, basename(source).replace(/\.musicxml$/, `_x${times}.musicxml`));
writeFileSync(score, repeated);

const nativeMs = [];
for (let round = 0; round < rounds; ++round) {
  const started = performance.now();
  const run = spawnSync(resolve(nativeSim),
                        ['--document=' + basename(score), '--compare-all', 'native.svg'],
                        {cwd: outFolder, encoding: 'utf8', stdio: ['ignore', 'ignore', 'pipe']});
  nativeMs.push(performance.now() - started);
  if (run.status !== 0) throw new Error('notavo-sim failed: ' + run.stderr);
}

const require = createRequire(join(process.env.QUOR_NODE_MODULES, 'x.js'));
const {chromium} = require('playwright-core');
const browser = await chromium.launch({executablePath: '/usr/bin/chromium'});
const page = await browser.newPage();
await page.goto(pathToFileURL(resolve(pagePath)).href);
const runs = () => page.evaluate(() => Number(document.body.dataset.runs || 0));
const ran = async (act) => {
  const before = await runs();
  await act();
  await page.waitForFunction((n) => Number(document.body.dataset.runs || 0) > n, before,
                             {timeout: 600000});
};
await page.waitForFunction(() => Number(document.body.dataset.runs || 0) > 0);
await ran(() => page.getByLabel('Score', {exact: true}).setInputFiles(score, {timeout: 600000}));
const command = [];
const show = [];
const total = [];
for (let round = 0; round < rounds; ++round) {
  const started = performance.now();
  await ran(() => page.getByRole('button', {name: 'All nine tasks', exact: true}).click({timeout: 600000}));
  total.push(performance.now() - started);
  const figures = await page.evaluate(() => ({...document.body.dataset}));
  command.push(Number(figures.commandMs));
  show.push(Number(figures.showMs));
}
const picture = await page.evaluate(() => document.querySelector('#result svg').outerHTML.length);
await browser.close();

const ms = (value) => `${value.toFixed(0)} ms`;
console.log(`score: ${basename(score)} (${readFileSync(score).length} bytes), picture ${picture} characters`);
console.log(`page command  ${ms(median(command))}   (runs: ${command.map(ms).join(', ')})`);
console.log(`page show     ${ms(median(show))}`);
console.log(`page total    ${ms(median(total))}`);
console.log(`native        ${ms(median(nativeMs))}   (runs: ${nativeMs.map(ms).join(', ')})`);
console.log(`page command / native: ${(median(command) / median(nativeMs)).toFixed(2)}`);
