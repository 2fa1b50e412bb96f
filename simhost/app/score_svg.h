// Pictures of spacing as SVG, for people to judge by eye: each row draws a range of measures of
// one document, all its staves, with a label on its left.
//
// Everything horizontal is to scale: a host width of w (24 per staff space) is w x
// kSvgUnitsPerHostUnit SVG units, so one row of measures is exactly as long as the widths in
// its 'SOMS' records say, and rows of one picture share their left edge, so that their widths
// compare directly. Barlines stand at the measures' cumulative widths. Notes and rests stand at
// the positions in the 'EPOS' records that respacing writes; a measure without them (never
// respaced, or changed since) has its onsets spread evenly between its leading and trailing
// space.
//
// The music is drawn as engraved: each row opens with a system line, braces joining the staves
// of one instrument, and each staff's clef, key signature and (at the first measure or a
// change) time signature, before its first measure. Barlines run through the staves of one
// instrument and stand alone on any other staff. Notes stand where the clef in force puts
// them, with the accidentals the key and the measure call for; clef changes, key and time
// changes stand where the measure leaves room for them. Grace notes are drawn small with their
// stems up, cue notes smaller than full size, spaces not at all, and a rest filling its
// measure in the measure's middle. Notes are beamed as the file beams them, or by the beat in a
// score that states no beams (beam_groups.h, beam_layout.h); stems go as the file states. Ties
// and slurs are crescents from note to note, to the row's edge where a note lies outside it
// (curve_layout.h); tuplets show their number, and a bracket where no one beam holds them.
//
// Its groups are named as verovio names its marks: a `system` per row, a `measure` across the
// staves holding a `staff` group per staff, `note` and `chord` groups, `beam` groups, and `tie`,
// `slur` and `tuplet` groups.
//
// The output depends on nothing but its input: the same documents give the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/app/measure_selection.h"
#include "simhost/document/document.h"

namespace simhost {

// 12 SVG units per staff space.
constexpr double kSvgUnitsPerHostUnit = 0.5;

struct SvgRow {
    std::string label;
    const Document* document = nullptr;  // not owned; must outlive the call
    MeasureRange measures;
};

// Rows one under another, under an optional title. The picture the caller passes nine rows to,
// one per spacing task, to compare them.
std::string CompareSvg(std::span<const SvgRow> rows, std::string_view title = {});

// One row.
std::string RowSvg(const SvgRow& row);

// The same measures in two states of a document, labelled.
std::string BeforeAfterSvg(const Document& before, const Document& after, MeasureRange measures,
                           std::string_view beforeLabel = "before",
                           std::string_view afterLabel = "after");

}  // namespace simhost
