// How much music a file handed to the substitute host may ask for: MusicXML scores (plain or
// compressed), document files and scenarios all answer to these caps. Each lies far above any
// real score; a file beyond one is refused with an error that names the cap. Within them, what a
// file costs to read, lay out and draw follows from how many notes, rests and directions it
// holds, never from the durations it states: a measure cannot last long enough, nor divide its
// time finely enough, to make the reader fill it with spaces or overflow its exact arithmetic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "simhost/document/rational.h"
#include "simhost/document/score.h"

namespace simhost {

constexpr std::int32_t kMaxMeasures = 10000;
constexpr std::int32_t kMaxStaves = 128;
// In one measure of one staff.
constexpr std::int32_t kMaxVoicesPerStaff = 64;
// Notes, rests, grace notes and spaces of all staves and voices of one measure.
constexpr std::int32_t kMaxEventsPerMeasure = 4096;
// The longest a measure may last, however full it is (a cadenza): 1024 quarters.
constexpr std::int64_t kMaxMeasureLength = std::int64_t{1024} * kQuarter;
// A point in a measure is a multiple of 1/kMaxTimeDivisor of a 1024th at the finest: tuplets
// and decimal durations divide time, but no score needs it divided further.
constexpr std::int64_t kMaxTimeDivisor = std::int64_t{1} << 20;
// Tuplet groups open at once in one voice (a triplet inside a quintuplet is two).
constexpr std::int32_t kMaxTupletNesting = 4;

// The errors of the tuplet caps, which a reader may meet before its measure is whole.
std::string TupletNestingError();
std::string TupletRatiosError();

// Exact sums and products that answer nothing where the result would not fit, instead of
// overflowing.
std::optional<Rational> CheckedSum(Rational a, Rational b);
std::optional<Rational> CheckedProduct(Rational a, Rational b);

// Whether a point or a duration in a measure lies within the caps: from 0 to kMaxMeasureLength,
// and divided no finer than kMaxTimeDivisor.
bool IsMeasureTime(Rational time);
// Why a time is not a measure time, as a reader of an error can check it.
std::string MeasureTimeError(Rational time);

// The errors of a score of more staves or measures than the caps; nothing within them.
std::optional<std::string> CheckStaves(std::size_t count);
std::optional<std::string> CheckMeasures(std::size_t count);

// Notes, rests, grace notes and spaces of all the measure's staves and voices.
std::size_t EventCount(const Measure& measure);

// The error of a measure whose busiest staff has `mostVoices` voices and whose staves hold
// `events` events in all; nothing within the caps. A reader may check it as the measure grows.
std::optional<std::string> CheckMeasureSize(std::size_t mostVoices, std::size_t events);

// Why the document file could not write a tuplet (score_notation.h); nothing when it can.
std::optional<std::string> CheckTuplet(const Tuplet& tuplet);

// The first cap a voice exceeds: its tuplet groups, and its time timed as Voice::Timed times it,
// each step checked, so that a voice that passes can be timed, laid out and drawn without
// overflow; and what the document file could not write of it (score_notation.h), so that a
// score that reads can be saved and read again.
std::optional<std::string> CheckVoice(const Voice& voice);

// The first cap a measure exceeds, as an error text: its size, each voice, its clef changes;
// nothing when it keeps to all of them.
std::optional<std::string> CheckMeasure(const Measure& measure);

}  // namespace simhost
