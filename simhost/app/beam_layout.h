// Where a beam group's stems end and its beams lie, for the drawing to ink.
//
// The stems of a group stand on one side: the side the file states for any of its notes, else
// the side the voice takes on a staff of several voices, else away from the note furthest from
// the middle line. The beam follows the line from the first note's stem end to the last's, its
// slant held to a staff space over the group, then moved away from the heads until every stem
// has at least its plain length. Beams are half a space thick, each further level three
// quarters of a space further in; a hook is a short beam toward the note it belongs with.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "simhost/app/beam_groups.h"
#include "simhost/app/score_layout.h"

namespace simhost::layout {

// One beam or hook, as a band of the beam's thickness whose outer edge runs from (x1, y1) to
// (x2, y2); its inner edge is `thickness` toward the heads.
struct BeamBar {
    std::int32_t level = 1;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

struct BeamLayout {
    bool up = true;
    double thickness = 0;
    std::vector<BeamBar> bars;  // the primary beam first
    // Of each note of the group (rests have none), its place in the staff's events and where
    // its stem meets the beam.
    std::vector<std::pair<std::size_t, double>> stemEnds;
};

// A chord laid out as it is drawn, with the stem direction its PlacedEvent says.
using ChordLayouter = std::function<ChordLayout(const PlacedEvent&)>;

// Lays out a group whose events stand at `members` of the staff's events. Sets the stem
// direction of the group's notes in `staff`, so that they are drawn on the beam's side.
BeamLayout LayOutBeam(const BeamGroup& group, const std::vector<std::size_t>& members,
                      std::vector<PlacedEvent>& staff, const ChordLayouter& layOut);

}  // namespace simhost::layout
