// verovio's reading of a MusicXML file: the beam groups, ties and slurs it draws in each measure,
// counted in its SVG (svg_marks.mjs), the measures numbered as notavo-sim's --measures numbers
// them. verovio draws a tie or slur that crosses a barline in the measure where it starts, and
// renders here with `breaks: "none"`, one system on one page, so no mark is split at a system's
// end. Its toolkit is the pinned npm package, found through QUOR_NODE_MODULES, which
// tools/npm/modules.sh sets:
//
//   bash tools/npm/modules.sh run node tests/app/verovio/verovio_marks.mjs SCORE.musicxml [--json]
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {basename, join} from 'node:path';
import {pathToFileURL} from 'node:url';

import {runAsCommand} from './command_line.mjs';
import {countMarks, formatSystem} from './svg_marks.mjs';

let toolkitPromise = null;

// The one toolkit of this process, its messages kept for getLog() rather than printed.
async function toolkit() {
    toolkitPromise ??= (async () => {
        const modules = process.env.QUOR_NODE_MODULES;
        if (!modules) {
            throw new Error(
                'QUOR_NODE_MODULES is not set: run this through ' +
                'tools/npm/modules.sh run node ...');
        }
        const require = createRequire(join(modules, 'noop.js'));
        const verovio = require('verovio/esm');
        const {default: createModule} =
            await import(pathToFileURL(require.resolve('verovio/wasm')).href);
        const module = await createModule();
        verovio.enableLogToBuffer(true, module);
        verovio.enableLog(verovio.LOG_WARNING, module);
        return new verovio.VerovioToolkit(module);
    })();
    return toolkitPromise;
}

// Whether the file writes any <beam>: where it writes none, notavo-sim groups by the beat and
// verovio flags every note, so only scores that state beams have their beams compared.
export function statesBeams(xml) { return /<beam[\s>]/.test(xml.replace(/<!--[\s\S]*?-->/g, '')); }

// { version, system, log, statesBeams } for a .musicxml or .xml file; throws when verovio
// cannot read it or draws it on more than one system.
export async function readWithVerovio(path) {
    const xml = readFileSync(path, 'utf8');
    const tk = await toolkit();
    tk.setOptions({breaks: 'none', svgAdditionalAttribute: ['measure@n'], xmlIdSeed: 1});
    if (!tk.loadData(xml)) throw new Error(`${path}: verovio cannot read it: ${tk.getLog()}`);
    // Each call starts a log of its own: what reading the file said, then what drawing it said.
    const read = tk.getLog();
    const svg = tk.renderToSVG(1);
    const log = (read + tk.getLog()).split('\n').map((line) => line.trim()).filter(Boolean);
    const {systems} = countMarks(svg, {numberBy: 'order'});
    if (tk.getPageCount() !== 1 || systems.length !== 1) {
        throw new Error(
            `${path}: verovio drew ${tk.getPageCount()} pages and ` +
            `${systems.length} systems, not one`);
    }
    return {version: tk.getVersion(), system: systems[0], log, statesBeams: statesBeams(xml)};
}

async function main(args) {
    const json = args.includes('--json');
    const files = args.filter((arg) => arg !== '--json');
    if (files.length === 0) {
        console.error('usage: verovio_marks.mjs SCORE.musicxml... [--json]');
        return 2;
    }
    const readings = [];
    for (const file of files) readings.push({file, ...(await readWithVerovio(file))});
    if (json) {
        console.log(JSON.stringify(
            readings.map(({file, version, system, log, statesBeams}) => ({
                             score: basename(file),
                             verovio: version,
                             statesBeams,
                             log,
                             measures: system.measures,
                         })),
            null, 1));
        return 0;
    }
    for (const {file, version, system, log, statesBeams: beams} of readings) {
        const title = `${basename(file)}: drawn by verovio ${version}` +
            (beams ? '' : ' (the file states no beams)');
        console.log(formatSystem(system, {title}));
        for (const line of log) console.log(`verovio says: ${line}`);
    }
    return 0;
}

runAsCommand(import.meta, 'verovio_marks', main);
