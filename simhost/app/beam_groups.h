// Which notes of a voice share a beam, and where its secondary beams and hooks run.
//
// A score that states beams anywhere is drawn as written: a group runs from a note whose
// primary beam begins to the note where it ends, over the rests that carry it or stand inside
// it; an eighth the file leaves unbeamed keeps its flag. A score that states none (the host's
// own documents, hand-written scores) is grouped by the beat: eighths and shorter that fall in
// one beat of the time signature (a quarter in simple time, a dotted quarter in compound
// time) share a beam; a rest, a grace note, a longer note or the barline breaks the run.
//
// Broken marks are made the best of: a continue or end without a begin starts a group there, a
// group left open at the barline ends with the measure, a group of fewer than two notes or
// holding a quarter or longer is no group, and a note without a mark inside a group ends it.
// Grace notes are grouped among themselves, by their own marks only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simhost/document/score.h"

namespace simhost {

// Beam levels count from 1, the primary (eighths') beam.
struct BeamSpan {
    std::int32_t level = 2;
    std::size_t first = 0;  // in the group's events
    std::size_t last = 0;   // first == last: a hook
    bool forward = true;    // of a hook: it points to the next note, else to the one before
};

struct BeamGroup {
    std::vector<const Event*> events;  // in time order; rests inside the group included
    std::vector<BeamSpan> inner;       // beams of level 2 and up, and hooks
};

// Whether any note of the score states a beam.
bool StatesBeams(const Score& score);

// The voice's beam groups in one measure: as its marks state them, or by the beat.
// beatDuration is the time signature's beat (1024 a quarter), beats its count.
std::vector<BeamGroup> BeamGroupsOf(const Voice& voice, bool byMarks, std::int32_t beats,
                                    std::int32_t beatDuration);

}  // namespace simhost
