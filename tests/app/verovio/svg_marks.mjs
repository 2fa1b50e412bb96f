// Counts the marks of music a picture draws, measure by measure, by the class names verovio gives
// them and notavo-sim takes: each `system` group (its `data-label` names it), each `measure`
// group in it, and inside a measure its `beam` groups, `tie`s and `slur`s. A mark is counted once,
// at its outermost element: a beam group that holds further elements classed `beam` (its beams,
// or a beam within the beam) is one group. A mark outside every measure is counted under a
// measure of number null, so that the comparison names it instead of losing it.
//
// verovio numbers its measures as the file does (a pickup is often 0, and numbers may repeat or
// skip); notavo-sim numbers them as `--measures` takes them, the file's first measure 1. So
// verovio's measures are numbered by their order in the system, with the file's number kept as
// `label`; notavo-sim's by `data-n`.

export const MARKS = ['beams', 'ties', 'slurs'];
const MARK_OF_CLASS = {
    beam: 'beams',
    tie: 'ties',
    slur: 'slurs'
};

// What the counter steps over (comments, CDATA, declarations, processing instructions) and
// what it reads: end tags, and start tags with their attributes.
const TOKEN = new RegExp(
    [
        '<!--[\\s\\S]*?-->', '<!\\[CDATA\\[[\\s\\S]*?\\]\\]>', '<[?!][^>]*>', '</([^\\s>]+)\\s*>',
        `<([^\\s/>]+)((?:\\s+[^\\s=/>]+\\s*=\\s*(?:"[^"]*"|'[^']*'))*)\\s*(/?)>`
    ].join('|'),
    'g');
const ATTRIBUTE = /([^\s=]+)\s*=\s*(?:"([^"]*)"|'([^']*)')/g;
const ENTITIES = {
    amp: '&',
    lt: '<',
    gt: '>',
    quot: '"',
    apos: '\''
};

function decode(text) {
    return text.replace(/&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);/g, (whole, name) => {
        if (name.startsWith('#x')) return String.fromCodePoint(parseInt(name.slice(2), 16));
        if (name.startsWith('#')) return String.fromCodePoint(parseInt(name.slice(1), 10));
        return ENTITIES[name] ?? whole;
    });
}

function attributesOf(text) {
    const attributes = {};
    for (const match of text.matchAll(ATTRIBUTE)) {
        attributes[match[1]] = decode(match[2] ?? match[3]);
    }
    return attributes;
}

function lineOf(svg, offset) {
    let line = 1;
    for (let i = svg.indexOf('\n'); i !== -1 && i < offset; i = svg.indexOf('\n', i + 1)) ++line;
    return line;
}

// The start and end tags of an SVG, in order, as { name, attributes, open, close, offset };
// throws on a tag that closes what is not open, so that a broken picture is never counted.
function* tags(svg) {
    const open = [];
    for (const match of svg.matchAll(TOKEN)) {
        const [, closing, name, attributeText, selfClosing] = match;
        if (closing !== undefined) {
            const innermost = open.pop();
            if (innermost !== closing) {
                const what = innermost === undefined ? 'nothing is open' : `<${innermost}> is open`;
                throw new Error(`line ${lineOf(svg, match.index)}: </${closing}> where ${what}`);
            }
            yield {name: closing, close: true, offset: match.index};
        } else if (name !== undefined) {
            const attributes = attributesOf(attributeText ?? '');
            yield {name, attributes, open: true, offset: match.index};
            if (selfClosing) {
                yield {name, close: true, offset: match.index};
            } else {
                open.push(name);
            }
        }
    }
    if (open.length) throw new Error(`<${open.at(-1)}> is never closed`);
}

// { systems: [{ label, measures: [{ n, label, beams, ties, slurs }] }] } for an SVG text.
// numberBy: 'order' (verovio) or 'data-n' (notavo-sim).
export function countMarks(svg, {numberBy}) {
    const systems = [];
    let implicit = null;  // the system of measures drawn outside any system group
    const stack = [];     // per open element: { system, measure, marks: Set of mark names }

    const newSystem = (label) => {
        const system = {label, measures: [], outside: null};
        systems.push(system);
        return system;
    };
    const outsideOf = (system) => {
        if (!system.outside) {
            system.outside = {n: null, label: null, beams: 0, ties: 0, slurs: 0};
        }
        return system.outside;
    };

    for (const tag of tags(svg)) {
        if (tag.close) {
            stack.pop();
            continue;
        }
        const parent = stack.at(-1) ?? {system: null, measure: null, marks: new Set()};
        const classes = (tag.attributes.class ?? '').split(/\s+/).filter(Boolean);
        const frame = {system: parent.system, measure: parent.measure, marks: parent.marks};
        if (classes.includes('system')) {
            frame.system = newSystem(tag.attributes['data-label'] ?? null);
            frame.measure = null;
        }
        if (classes.includes('measure')) {
            if (!frame.system) frame.system = implicit ??= newSystem(null);
            const order = frame.system.measures.length + 1;
            const stated = tag.attributes['data-n'];
            let n = order;
            if (numberBy === 'data-n') {
                if (!/^[0-9]+$/.test(stated ?? '')) {
                    throw new Error(
                        `line ${lineOf(svg, tag.offset)}: a measure group without ` +
                        'a number in data-n');
                }
                n = Number(stated);
            }
            frame.measure = {n, label: stated ?? null, beams: 0, ties: 0, slurs: 0};
            frame.system.measures.push(frame.measure);
        }
        for (const name of classes) {
            const mark = MARK_OF_CLASS[name];
            if (!mark || frame.marks.has(mark)) continue;
            frame.marks = new Set([...frame.marks, mark]);
            if (frame.measure) {
                frame.measure[mark] += 1;
            } else {
                const system = frame.system ?? (implicit ??= newSystem(null));
                outsideOf(system)[mark] += 1;
            }
        }
        stack.push(frame);
    }
    for (const system of systems) {
        if (system.outside) system.measures.push(system.outside);
        delete system.outside;
    }
    return {systems};
}

// The sums of each mark over a system's measures.
export function totals(system) {
    const sum = {beams: 0, ties: 0, slurs: 0};
    for (const measure of system.measures) {
        for (const mark of MARKS) sum[mark] += measure[mark];
    }
    return sum;
}

// One line per measure and a total, the same for every run on the same picture.
export function formatSystem(system, {title}) {
    const lines = [title];
    const width = String(system.measures.length).length;
    for (const measure of system.measures) {
        const number = measure.n === null ? 'outside any measure' :
                                            `measure ${String(measure.n).padStart(width)}`;
        const label = measure.label !== null && measure.label !== String(measure.n) ?
            `  (file's number ${measure.label})` :
            '';
        lines.push(
            `${number}  beams ${measure.beams}  ties ${measure.ties}  slurs ` +
            `${measure.slurs}${label}`);
    }
    const sum = totals(system);
    lines.push(`total  beams ${sum.beams}  ties ${sum.ties}  slurs ${sum.slurs}`);
    return lines.join('\n');
}
