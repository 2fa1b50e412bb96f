// Where notavo-sim's marks differ from verovio's by design, one row per case: the score, the
// measure (as --measures numbers it), the mark ('beams', 'ties' or 'slurs'), what each draws there
// in every system of the picture, the case in a few words and why notavo-sim draws it its way.
// A difference that no row names fails the comparison, and so does a row that no difference
// matches any more, so the table says exactly what differs.
//
// One rule stands outside the table because it covers whole scores: a score that states no
// beams anywhere has no beams compared, since notavo-sim then groups by the beat and verovio
// flags every note (compare_marks.mjs).
//
// { score: 'minuet_in_g.musicxml', measure: 3, mark: 'slurs', notavo: 1, verovio: 2,
//   case: '...', why: '...' },
export const BY_DESIGN = [];
