// What a run did to the music, as text: the width of every selected measure and the position
// of every note, staff by staff, before and after.
#pragma once

#include <cstdint>
#include <string>

#include "simhost/app/score_svg.h"
#include "simhost/document/document.h"

namespace simhost {

// One block per measure: "measure 3  width 300 -> 284" and per staff "  staff 1  24 119 ... ->
// 24 101 ...". Unchanged values are printed once.
std::string DescribeChanges(const Document& before, const Document& after, MeasureRange span);

}  // namespace simhost
