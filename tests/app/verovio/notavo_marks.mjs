// The marks notavo-sim draws in a picture (--svg or --compare-all), counted system by system and
// measure by measure as svg_marks.mjs counts them, the measures numbered by their data-n:
//
//   node tests/app/verovio/notavo_marks.mjs PICTURE.svg [--json]
import {readFileSync} from 'node:fs';
import {basename} from 'node:path';

import {runAsCommand} from './command_line.mjs';
import {countMarks, formatSystem} from './svg_marks.mjs';

// The systems of a notavo-sim picture, each { label, measures }.
export function readPicture(path) {
    try {
        return countMarks(readFileSync(path, 'utf8'), {numberBy: 'data-n'}).systems;
    } catch (error) {
        throw new Error(`${path}: ${error.message}`);
    }
}

// How a system is named in what the comparison prints.
export function systemName(system, index) {
    return system.label === null ? `system ${index + 1}` : `"${system.label}"`;
}

function main(args) {
    const json = args.includes('--json');
    const files = args.filter((arg) => arg !== '--json');
    if (files.length !== 1) {
        console.error('usage: notavo_marks.mjs PICTURE.svg [--json]');
        return 2;
    }
    const systems = readPicture(files[0]);
    if (json) {
        console.log(JSON.stringify(systems, null, 1));
        return 0;
    }
    systems.forEach((system, index) => {
        const title = `${basename(files[0])}, ${systemName(system, index)}: drawn by notavo-sim`;
        console.log(formatSystem(system, {title}));
    });
    return 0;
}

runAsCommand(import.meta, 'notavo_marks', main);
