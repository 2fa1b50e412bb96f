// The score every measurement runs on: two staves of eight measures of mixed durations, all
// selected, with an allotment table of its own, so that a run has records to snapshot, write
// and restore of every kind a user's document has.
#pragma once

#include <cstdint>

#include "simhost/document/document.h"

namespace quorbench {

constexpr std::int16_t kBenchMeasures = 8;
// The document's own allotment rows.
constexpr std::int32_t kBenchAllotments = 5;

simhost::Document BenchDocument();

}  // namespace quorbench
