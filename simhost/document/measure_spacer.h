// Lays out one measure across all its staves: the onsets of every staff and voice are merged
// into one row of columns, so that notes that sound together stand one above the other, and
// each column gets its space by one rule (SpaceAfterOnset). Grace notes and clef changes take
// columns of their own before the onset they belong to, each of a small fixed width, as
// engravers set them: they take no time, so no duration could give them their room.
#pragma once

#include <cstdint>
#include <vector>

#include "simhost/document/measure_record.h"
#include "simhost/document/note_widths.h"
#include "simhost/document/rational.h"
#include "simhost/document/score.h"

namespace simhost {

// Widths in 24ths of a staff space: a grace note's small head and a little air after it; a
// clef change, drawn smaller than the clef at a staff's start, and the air around it.
constexpr double kGraceNoteSpace = 30;
constexpr double kClefChangeSpace = 60;

struct SpacedColumn {
    // What stands in the column, in the order columns stand at one onset.
    enum class Kind : std::uint8_t { ClefChange, Grace, Onset };

    Rational onset;
    Kind kind = Kind::Onset;
    std::int32_t graceRank = 0;  // of a grace column: 1 right before the onset
    double x = 0;                // from the opening barline
    double space = 0;            // to the next column (or to the trailing space)
};

struct MeasureSpacing {
    std::vector<SpacedColumn> columns;  // in the order they stand
    // For each staff of the measure: the position of each event, voice after voice.
    std::vector<std::vector<std::int16_t>> staffPositions;
    double width = 0.0;  // leading space, every column's space, trailing space

    // The width as the measure record holds it: rounded, from 1 to 32767.
    std::int16_t RecordWidth() const;
};

// The space after an onset is the width of the shortest note sounding there, prorated by the
// time until the next onset: a quarter against a triplet in another staff is spaced as the
// triplet, not given a quarter's full width, and a long note only takes its share of the time
// it spans.
double SpaceAfterOnset(const NoteWidths& widths, Rational shortestSounding,
                       Rational untilNextOnset);

// A measure without any event is spaced as one rest of its time signature's length (a whole
// note when the record has no time signature). The last onset's time runs to the end of the
// longest voice. A space (time a voice spends elsewhere) is spaced as a rest would be. A rest
// filling its measure stands in the middle of the room between the leading and the trailing
// space, its position being its middle. A clef change at the measure's end stands after the
// last onset's space.
MeasureSpacing SpaceMeasure(const Measure& measure, const MeasureFields& fields,
                            const NoteWidths& widths);

}  // namespace simhost
