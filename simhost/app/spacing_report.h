// What a run did to the music, as text: the width of every selected measure, and for each staff
// its clef and, voice by voice, when each note sounds and where it stands, before and after.
#pragma once

#include <cstdint>
#include <string>

#include "simhost/app/score_svg.h"
#include "simhost/document/document.h"

namespace simhost {

// One block per measure:
//
//   measure 3  width 300 -> 284
//     staff 1  treble clef
//       voice 1  onsets 0 1 3/2 2 g3 3  at 24 108 150 192 230 254  ->  24 101 ...
//     staff 2  bass clef, treble clef at 2
//
// Onsets count quarters from the barline; a grace note's is marked g (it stands before the
// note at that onset). Spaces (time a voice spends elsewhere) are left out of both lists.
// Unchanged values are printed once.
std::string DescribeChanges(const Document& before, const Document& after, MeasureRange span);

}  // namespace simhost
