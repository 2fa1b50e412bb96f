// One measure of a row laid out before it is drawn: each staff's events where they stand, with
// the accidentals they show and their beams, so that marks reaching across barlines (ties and
// slurs) find the notes of the measures they reach into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "simhost/app/beam_layout.h"
#include "simhost/app/score_layout.h"

namespace simhost::layout {

struct StaffMusic {
    double top = 0;  // its top line
    Accidentals accidentals;
    std::vector<BeamLayout> beams;
    // Per placed event, the index of its beam group + 1; 0: none.
    std::vector<std::size_t> beamOf;
    std::map<std::size_t, double> beamEnds;     // of a beamed note, where its stem meets the beam
    std::map<const Event*, std::size_t> where;  // an event's place in the staff's events
    bool severalVoices = false;
};

struct MeasureMusic {
    std::int32_t number = 0;
    MeasureFields fields;
    double x = 0;  // where it starts
    double width = 0;
    std::vector<std::vector<PlacedEvent>> placed;  // per staff, voice after voice
    std::vector<StaffMusic> staves;                // as many
};

// The measure, starting at x, in a row whose first staff's top line is at firstStaff; byMarks:
// whether the document states beams (beam_groups.h).
MeasureMusic LayOutMeasure(const Document& document, std::int32_t number, double x,
                           double firstStaff, bool byMarks);

// An event's chord as drawn: a beamed note's stem ends on its beam and has no flags.
ChordLayout LayOutEvent(const Document& document, const MeasureMusic& measure, std::size_t staff,
                        std::size_t index);

// How far up and down an event's ink reaches: its heads, and its stem.
struct Reach {
    double top = 0;
    double bottom = 0;
};

Reach ReachOf(const ChordLayout& chord);

}  // namespace simhost::layout
