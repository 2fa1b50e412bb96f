// Holds notavo-sim's marks to verovio's on every comparison score: each is drawn with
// --compare-all (the score before and after every task, every measure), and compare_marks.mjs
// compares each system with verovio's reading. The comparison scores are the MusicXML files of
// samples/scores and tests/app/scores, but for those named bad_*, which are broken on purpose
// (they test that a bad mark never stops a picture, and each engraver draws them its own way).
//
//   bash tools/npm/modules.sh run node tests/app/verovio/compare_scores.mjs \
//       [--marks beams,ties,slurs] NOTAVO_SIM [SCORE...]
//
// --marks compares only the marks it names (all of them when absent, as the suite runs it).
//
// Prints each score's differences and what it compared, then the sums; exit status 0 when every
// difference is by design and no row of by_design.mjs is stale.
import {spawnSync} from 'node:child_process';
import {mkdtempSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {basename, dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

import {BY_DESIGN} from './by_design.mjs';
import {runAsCommand} from './command_line.mjs';
import {compareMarks, reportLines} from './compare_marks.mjs';
import {readPicture} from './notavo_marks.mjs';
import {MARKS} from './svg_marks.mjs';
import {readWithVerovio} from './verovio_marks.mjs';

const SOURCE = resolve(dirname(fileURLToPath(import.meta.url)), '../../..');
const SCORE_FOLDERS = ['samples/scores', 'tests/app/scores'];

export function comparisonScores() {
    const scores = [];
    for (const folder of SCORE_FOLDERS) {
        for (const name of readdirSync(join(SOURCE, folder)).sort()) {
            if (/\.(musicxml|xml)$/.test(name) && !name.startsWith('bad_')) {
                scores.push(join(SOURCE, folder, name));
            }
        }
    }
    return scores;
}

function drawAll(notavoSim, score, picture) {
    const run =
        spawnSync(notavoSim, ['--document', score, '--compare-all', picture], {encoding: 'utf8'});
    if (run.error) throw new Error(`cannot run ${notavoSim}: ${run.error.message}`);
    if (run.status !== 0) {
        throw new Error(
            `notavo-sim failed on ${basename(score)} (exit ${run.status}): ` +
            run.stderr.trim().split('\n').at(-1));
    }
}

async function main(args) {
    let only = MARKS;
    if (args[0] === '--marks') {
        only = (args[1] ?? '').split(',');
        args = args.slice(2);
    }
    if (args.length < 1 || only.some((mark) => !MARKS.includes(mark))) {
        console.error('usage: compare_scores.mjs [--marks beams,ties,slurs] NOTAVO_SIM [SCORE...]');
        return 2;
    }
    const [notavoSim, ...named] = args;
    const scores = named.length ? named.map((score) => resolve(score)) : comparisonScores();
    const scratch = mkdtempSync(join(tmpdir(), 'quor-marks-'));
    const sums = {beams: 0, ties: 0, slurs: 0};
    let failed = 0;
    try {
        for (const score of scores) {
            const name = basename(score);
            const picture = join(scratch, `${name}.svg`);
            try {
                drawAll(notavoSim, score, picture);
                const systems = readPicture(picture);
                const result =
                    compareMarks({score: name, verovio: await readWithVerovio(score), systems, only});
                for (const line of reportLines(name, result, systems.length)) console.log(line);
                for (const mark of Object.keys(sums)) sums[mark] += result.compared[mark] ?? 0;
                failed += result.unexplained.length + result.stale.length;
            } catch (error) {
                // One score that cannot be compared does not hide the others' differences.
                console.log(`FAILED: ${name}: ${error.message}`);
                ++failed;
            }
        }
    } finally {
        rmSync(scratch, {recursive: true, force: true});
    }
    if (!named.length) {
        const names = new Set(scores.map((score) => basename(score)));
        for (const row of BY_DESIGN.filter((candidate) => !names.has(candidate.score))) {
            console.log(`STALE: by_design.mjs names ${row.score}, which is no comparison score`);
            ++failed;
        }
    }
    console.log(
        `all: compared ${sums.beams} beams, ${sums.ties} ties, ${sums.slurs} slurs in ` +
        `${scores.length} scores; differences not by design, stale rows and scores ` +
        `not compared: ${failed}`);
    return failed ? 1 : 0;
}

runAsCommand(import.meta, 'compare_scores', main);
