// The verovio comparison's own tools: the counter on a hand-written picture in the shape
// notavo-sim draws, the comparer on it and on changed copies of it, and verovio's reading of
// every test score, whose counts are pinned here so that a changed score or a new verovio shows.
//
//   bash tools/npm/modules.sh run node --test tests/app/verovio/marks_test.mjs
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {chmodSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {basename, dirname, join} from 'node:path';
import test from 'node:test';
import {fileURLToPath} from 'node:url';

import {compareMarks} from './compare_marks.mjs';
import {comparisonScores} from './compare_scores.mjs';
import {readPicture} from './notavo_marks.mjs';
import {countMarks} from './svg_marks.mjs';
import {readWithVerovio} from './verovio_marks.mjs';

const HERE = dirname(fileURLToPath(import.meta.url));
const SOURCE = join(HERE, '../../..');
const FIXTURE = join(HERE, 'fixtures/piano_prelude_marks.svg');
const PIANO_PRELUDE = join(SOURCE, 'samples/scores/piano_prelude.musicxml');

// What verovio draws of each comparison score, in all.
const VEROVIO_TOTALS = {
    'mixed_durations.musicxml': {beams: 0, ties: 0, slurs: 0},
    'piano_prelude.musicxml': {beams: 7, ties: 1, slurs: 3},
    'two_parts.musicxml': {beams: 0, ties: 1, slurs: 0},
    'chorale_in_g.musicxml': {beams: 3, ties: 3, slurs: 0},
    'grace_pickup.musicxml': {beams: 0, ties: 0, slurs: 0},
    'march_in_d.musicxml': {beams: 38, ties: 6, slurs: 4},
    'minuet_in_g.musicxml': {beams: 22, ties: 0, slurs: 21},
    'piano_crossing.musicxml': {beams: 0, ties: 0, slurs: 0},
    'prelude_in_c.musicxml': {beams: 44, ties: 22, slurs: 0},
    'string_quartet.musicxml': {beams: 0, ties: 0, slurs: 0},
    'triplet_study.musicxml': {beams: 18, ties: 0, slurs: 7},
};

const measure = (n, beams, ties, slurs, label = String(n)) => ({n, label, beams, ties, slurs});
const PRELUDE_MEASURES =
    [measure(1, 2, 0, 2), measure(2, 3, 0, 0), measure(3, 2, 1, 1), measure(4, 0, 0, 0)];

function svg(body) { return `<svg xmlns="http://www.w3.org/2000/svg">${body}</svg>`; }

// The first part's measures, as notavo-sim counts them.
function measuresInFile(path) {
    const xml = readFileSync(path, 'utf8');
    const part = xml.slice(xml.indexOf('<part '), xml.indexOf('</part>'));
    return part.match(/<measure[\s>]/g).length;
}

test('the counter finds each mark once, in the measure that holds it', () => {
    const systems = readPicture(FIXTURE);
    assert.deepEqual(systems.map((system) => system.label), ['before', '\'Optical\' Allotment']);
    for (const system of systems) assert.deepEqual(system.measures, PRELUDE_MEASURES);
});

test('the counter numbers verovio\'s measures by their order and keeps the file\'s numbers', () => {
    const {systems} = countMarks(
        svg('<g class="system"><g class="measure" data-n="0"><g class="tie"/></g>' +
            '<g class="measure" data-n="1"/>' +
            '<g class="measure" data-n="1"><g class="slur"/></g></g>'),
        {numberBy: 'order'});
    assert.deepEqual(
        systems, [{
            label: null,
            measures: [measure(1, 0, 1, 0, '0'), measure(2, 0, 0, 0, '1'), measure(3, 0, 0, 1, '1')]
        }]);
});

test('the counter counts ties in notes and chords, and marks outside every measure apart', () => {
    const {systems} = countMarks(
        svg('<g class="measure" data-n="5"><g class="chord">' +
            '<g class="note"><path class="tie"/></g><g class="note"><path class="tie"/></g>' +
            '</g></g><g class="slur"><path class="slur"/></g>'),
        {numberBy: 'data-n'});
    assert.deepEqual(
        systems, [{
            label: null,
            measures: [measure(5, 0, 2, 0), {n: null, label: null, beams: 0, ties: 0, slurs: 1}]
        }]);
});

test('the counter refuses a picture it cannot read rightly', () => {
    for (const [text, message] of [
             [svg('<g class="measure"><g class="beam"/></g>'), /a measure group without a number/],
             [svg('<g class="measure" data-n="x"/>'), /a measure group without a number/],
             [svg('<g class="measure" data-n=""/>'), /a measure group without a number/],
             [
                 svg('<g class="measure" data-n="1"><g></g></text></g>'),
                 /<\/text> where <g> is open/
             ],
             [svg('</g>'), /<\/g> where <svg> is open/],
             ['<svg></svg></svg>', /<\/svg> where nothing is open/],
             ['<svg><g class="measure" data-n="1">', /<g> is never closed/],
    ]) {
        assert.throws(() => countMarks(text, {numberBy: 'data-n'}), message, text);
    }
});

test(
    'the comparer finds nothing between the hand-written picture and verovio\'s reading',
    async () => {
        const result = compareMarks({
            score: 'piano_prelude.musicxml',
            systems: readPicture(FIXTURE),
            verovio: await readWithVerovio(PIANO_PRELUDE),
            byDesign: []
        });
        assert.deepEqual(result.differences, []);
        assert.deepEqual(result.compared, {beams: 14, ties: 2, slurs: 6});
    });

test('the comparer names each difference once, with the systems it is in', async () => {
    const verovio = await readWithVerovio(PIANO_PRELUDE);
    const systems = readPicture(FIXTURE);
    systems[1].measures[2].slurs = 0;  // the after system lost measure 3's slur
    for (const system of systems) system.measures[0].beams = 1;  // both lost a group
    systems[0].measures.push({n: null, label: null, beams: 0, ties: 1, slurs: 0});
    const result = compareMarks({score: 'piano_prelude.musicxml', verovio, systems, byDesign: []});
    assert.deepEqual(
        result.unexplained.map(({measure: n,
                                 mark,
                                 notavo,
                                 verovio: theirs,
                                 systems: names}) => [n, mark, notavo, theirs, names]),
        [
            [1, 'beams', 1, 2, ['"before"', `"'Optical' Allotment"`]],
            [null, 'ties', 1, 0, ['"before"']],
            [3, 'slurs', 0, 1, [`"'Optical' Allotment"`]],
        ]);
});

test('a by-design row explains its difference, and a row that matches none is stale', async () => {
    const verovio = await readWithVerovio(PIANO_PRELUDE);
    const systems = readPicture(FIXTURE);
    for (const system of systems) system.measures[0].slurs = 1;
    const explains = {
        score: 'piano_prelude.musicxml',
        measure: 1,
        mark: 'slurs',
        notavo: 1,
        verovio: 2,
        case: 'the grace slur',
        why: 'a test'
    };
    const matchesNone = {...explains, measure: 2};
    const otherScore = {...explains, score: 'minuet_in_g.musicxml'};
    const result = compareMarks({
        score: 'piano_prelude.musicxml',
        verovio,
        systems,
        byDesign: [explains, matchesNone, otherScore]
    });
    assert.equal(result.differences.length, 1);
    assert.equal(result.differences[0].row, explains);
    assert.deepEqual(result.unexplained, []);
    assert.deepEqual(result.stale, [matchesNone]);
});

test('the comparer leaves out the beams of a score that states none', async () => {
    const crossing = join(SOURCE, 'tests/app/scores/piano_crossing.musicxml');
    const verovio = await readWithVerovio(crossing);
    assert.equal(verovio.statesBeams, false);
    const systems = [
        {label: 'before', measures: [measure(1, 3, 0, 0), measure(2, 0, 0, 0), measure(3, 0, 0, 0)]}
    ];
    const result = compareMarks({score: 'piano_crossing.musicxml', verovio, systems, byDesign: []});
    assert.deepEqual(result.differences, []);
    assert.equal(result.compared.beams, null);
});

test('the comparer reports measures that one side draws, within the range asked', async () => {
    const verovio = await readWithVerovio(PIANO_PRELUDE);
    const systems = [{label: 'before', measures: PRELUDE_MEASURES.slice(2)}];
    const whole = compareMarks({score: 'piano_prelude.musicxml', verovio, systems, byDesign: []});
    assert.deepEqual(
        whole.unexplained.map((d) => [d.measure, d.mark, d.notavo, d.verovio]),
        [[1, 'measure', 0, 1], [2, 'measure', 0, 1]]);
    const part = compareMarks({
        score: 'piano_prelude.musicxml',
        verovio,
        systems,
        range: {first: 3, last: 4},
        byDesign: []
    });
    assert.deepEqual(part.differences, []);
    assert.deepEqual(part.compared, {beams: 2, ties: 1, slurs: 1});
});

test('the driver draws each score with --compare-all and holds every system to verovio', () => {
    // A stand-in for notavo-sim that draws the hand-written picture for any score.
    const scratch = mkdtempSync(join(tmpdir(), 'quor-marks-test-'));
    try {
        const standIn = join(scratch, 'notavo-sim');
        writeFileSync(
            standIn,
            '#!/bin/sh\n[ "$1" = --document ] && [ "$3" = --compare-all ] && ' +
                `cp '${FIXTURE}' "$4"\n`);
        chmodSync(standIn, 0o755);
        const run = (score) => spawnSync(
            process.execPath, [join(HERE, 'compare_scores.mjs'), standIn, score],
            {encoding: 'utf8'});
        const same = run(PIANO_PRELUDE);
        assert.equal(same.status, 0, same.stdout + same.stderr);
        assert.match(same.stdout, /compared 14 beams, 2 ties, 6 slurs in 1 scores/);
        const other = run(join(SOURCE, 'tests/app/scores/chorale_in_g.musicxml'));
        assert.equal(other.status, 1, other.stdout + other.stderr);
        assert.match(
            other.stdout,
            new RegExp(
                'DIFFERS: chorale_in_g.musicxml, measure 2: ' +
                'notavo-sim draws 3 beams, verovio 2 in all 2 systems'));
        assert.match(other.stdout, /DIFFERS: chorale_in_g.musicxml, measure 5: only verovio/);
    } finally {
        rmSync(scratch, {recursive: true, force: true});
    }
});

test('the comparison scores are the MusicXML scores of the tree but the bad_ ones', () => {
    assert.deepEqual(
        comparisonScores().map((path) => basename(path)).sort(),
        Object.keys(VEROVIO_TOTALS).sort());
});

test('verovio reads every comparison score without a word and draws its marks', async () => {
    const sums = {beams: 0, ties: 0, slurs: 0};
    for (const path of comparisonScores()) {
        const name = basename(path);
        const {system, log} = await readWithVerovio(path);
        assert.deepEqual(log, [], name);
        assert.equal(system.measures.length, measuresInFile(path), name);
        const total = {beams: 0, ties: 0, slurs: 0};
        for (const counts of system.measures) {
            for (const mark of Object.keys(total)) total[mark] += counts[mark];
        }
        assert.deepEqual(total, VEROVIO_TOTALS[name], name);
        for (const mark of Object.keys(sums)) sums[mark] += total[mark];
    }
    // What the test scores are for: enough of each mark to hold notavo-sim to.
    assert.ok(sums.beams >= 100 && sums.ties >= 20 && sums.slurs >= 20, JSON.stringify(sums));
});

test('verovio reads the bad scores too, and says what is wrong with them', async () => {
    for (const name
             of ['bad_beams.musicxml', 'bad_chord_stems.musicxml', 'bad_ties_and_slurs.musicxml']) {
        const {system, log} = await readWithVerovio(join(SOURCE, 'tests/app/scores', name));
        assert.equal(
            system.measures.length, measuresInFile(join(SOURCE, 'tests/app/scores', name)));
        assert.notDeepEqual(log, [], name);
    }
});

test('verovio\'s reading is the same on every run', async () => {
    const first = await readWithVerovio(join(SOURCE, 'tests/app/scores/march_in_d.musicxml'));
    const second = await readWithVerovio(join(SOURCE, 'tests/app/scores/march_in_d.musicxml'));
    assert.deepEqual(first, second);
});
