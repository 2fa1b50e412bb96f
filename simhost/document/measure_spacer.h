// Lays out one measure across all its staves: the onsets of every staff and voice are merged
// into one row of columns, so that notes that sound together stand one above the other, and
// each column gets its space by one rule (SpaceAfterOnset).
#pragma once

#include <cstdint>
#include <vector>

#include "simhost/document/measure_record.h"
#include "simhost/document/note_widths.h"
#include "simhost/document/rational.h"
#include "simhost/document/score.h"

namespace simhost {

struct MeasureSpacing {
    std::vector<Rational> onsets;  // every onset of the measure, ascending
    std::vector<double> spaces;    // the space after each onset
    std::vector<double> columns;   // where each onset stands, from the opening barline
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
// longest voice.
MeasureSpacing SpaceMeasure(const Measure& measure, const MeasureFields& fields,
                            const NoteWidths& widths);

}  // namespace simhost
