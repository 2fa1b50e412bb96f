// Holds what notavo-sim draws to what verovio draws of the same MusicXML file: for every system
// of notavo-sim's picture and every measure, the number of beam groups (where the file states
// beams), ties and slurs. A difference is reported once for all the systems it occurs in; one
// named in by_design.mjs is reported as such, with its reason, and fails nothing.
//
//   bash tools/npm/modules.sh run node tests/app/verovio/compare_marks.mjs \
//       SCORE.musicxml PICTURE.svg [--measures FIRST-LAST]
//
// PICTURE is notavo-sim's --svg or --compare-all of SCORE; --measures says which measures it
// was drawn for, when not all of them. Exit status 0 when every difference is by design.
import {basename} from 'node:path';

import {BY_DESIGN} from './by_design.mjs';
import {runAsCommand} from './command_line.mjs';
import {readPicture, systemName} from './notavo_marks.mjs';
import {MARKS, totals} from './svg_marks.mjs';
import {readWithVerovio} from './verovio_marks.mjs';

function byNumber(measures) { return new Map(measures.map((measure) => [measure.n, measure])); }

// The comparison of one score:
//   score      the score's file name, as by_design rows name it
//   verovio    { system, statesBeams } from readWithVerovio
//   systems    notavo-sim's systems from readPicture
//   range      { first, last }: the measures the picture was drawn for; all when absent
//   byDesign   the rows of by_design.mjs
//   only       the marks to compare (a subset of MARKS); all when absent
// answers { differences, unexplained, stale, compared }: each difference is { measure, mark,
// notavo, verovio, systems (names), row (the by-design row, or null) }; stale holds the rows of
// this score that matched nothing; compared, per mark, the marks verovio draws in the range
// times the systems (null for beams the file does not state).
export function compareMarks(
    {score, verovio, systems, range = null, byDesign = BY_DESIGN, only = MARKS}) {
    const inRange = (n) => range === null || (n >= range.first && n <= range.last);
    const theirs = verovio.system.measures.filter((measure) => inRange(measure.n));
    const marks = MARKS.filter(
        (mark) => only.includes(mark) && (verovio.statesBeams || mark !== 'beams'));
    const grouped = new Map();
    const note = (measure, mark, notavo, verovioCount, system) => {
        const key = JSON.stringify([measure, mark, notavo, verovioCount]);
        if (!grouped.has(key)) {
            grouped.set(key, {measure, mark, notavo, verovio: verovioCount, systems: []});
        }
        grouped.get(key).systems.push(system);
    };
    systems.forEach((system, index) => {
        const name = systemName(system, index);
        const ours = byNumber(system.measures);
        const numbers = new Set([...theirs.map((measure) => measure.n), ...ours.keys()]);
        for (const n of [...numbers].sort((a, b) => (a ?? Infinity) - (b ?? Infinity))) {
            const mine = ours.get(n);
            const other = theirs.find((measure) => measure.n === n);
            // Marks outside every measure (n null) have no measure to miss.
            if (n !== null && (!mine || !other)) {
                note(n, 'measure', mine ? 1 : 0, other ? 1 : 0, name);
            }
            if (!mine) continue;
            for (const mark of marks) {
                const verovioCount = other ? other[mark] : 0;
                if (mine[mark] !== verovioCount) note(n, mark, mine[mark], verovioCount, name);
            }
        }
    });
    const rows = byDesign.filter((row) => row.score === score && marks.includes(row.mark));
    const explains = (row, difference) => row.measure === difference.measure &&
        row.mark === difference.mark && row.notavo === difference.notavo &&
        row.verovio === difference.verovio;
    const used = new Set();
    const differences = [...grouped.values()].map((difference) => {
        const row = rows.find((candidate) => explains(candidate, difference)) ?? null;
        if (row) used.add(row);
        return {...difference, row};
    });
    const sum = totals({measures: theirs});
    const compared = {};
    for (const mark of MARKS) {
        compared[mark] = marks.includes(mark) ? sum[mark] * systems.length : null;
    }
    return {
        differences,
        unexplained: differences.filter((difference) => !difference.row),
        stale: rows.filter((row) => !used.has(row)),
        compared,
    };
}

// Where a difference is: nowhere to say with one system, else all systems or the named ones.
function systemsOf(difference, systemCount) {
    if (difference.systems.length < systemCount) return ` in ${difference.systems.join(', ')}`;
    return systemCount === 1 ? '' : ` in all ${systemCount} systems`;
}

function describe(difference, systemCount) {
    const where = systemsOf(difference, systemCount);
    const measure =
        difference.measure === null ? 'outside any measure' : `measure ${difference.measure}`;
    if (difference.mark === 'measure') {
        const side = difference.notavo ? 'only notavo-sim' : 'only verovio';
        return `${measure}: ${side} draws it${where}`;
    }
    return `${measure}: notavo-sim draws ${difference.notavo} ${difference.mark}, verovio ` +
        `${difference.verovio}${where}`;
}

// The report's lines for one score; the last says what was compared.
export function reportLines(score, result, systemCount) {
    const lines = [];
    for (const difference of result.differences) {
        const text = `${score}, ${describe(difference, systemCount)}`;
        const {row} = difference;
        lines.push(row ? `by design: ${text}: ${row.case}: ${row.why}` : `DIFFERS: ${text}`);
    }
    for (const row of result.stale) {
        lines.push(
            `STALE: ${score}, measure ${row.measure}: by_design.mjs expects notavo-sim ` +
            `${row.notavo} ${row.mark} and verovio ${row.verovio} (${row.case}), and ` +
            'they no longer draw that');
    }
    const {beams, ties, slurs} = result.compared;
    const beamText = beams === null ? 'no beams (the file states none)' : `${beams} beams`;
    lines.push(
        `${score}: compared ${beamText}, ${ties ?? 'no'} ties, ${slurs ?? 'no'} slurs over ` +
        `${systemCount} systems; differences not by design: ${result.unexplained.length}`);
    return lines;
}

export function parseRange(text) {
    const match = /^(\d+)-(\d+)$/.exec(text ?? '');
    if (!match) throw new Error(`--measures wants FIRST-LAST, not ${text}`);
    return {first: Number(match[1]), last: Number(match[2])};
}

async function main(args) {
    const at = args.indexOf('--measures');
    const range = at === -1 ? null : parseRange(args[at + 1]);
    const files = at === -1 ? args : [...args.slice(0, at), ...args.slice(at + 2)];
    if (files.length !== 2) {
        console.error(
            'usage: compare_marks.mjs SCORE.musicxml PICTURE.svg [--measures FIRST-LAST]');
        return 2;
    }
    const [scorePath, picture] = files;
    const score = basename(scorePath);
    const systems = readPicture(picture);
    const result = compareMarks({score, verovio: await readWithVerovio(scorePath), systems, range});
    for (const line of reportLines(score, result, systems.length)) console.log(line);
    return result.unexplained.length || result.stale.length ? 1 : 0;
}

runAsCommand(import.meta, 'compare_marks', main);
