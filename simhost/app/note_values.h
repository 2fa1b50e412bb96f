// Durations turned back into what the score holds: a plain note value with dots, and tuplet
// groups where no plain value lasts that long. The score derives every onset from these, so
// each answer here lasts exactly the duration asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "simhost/document/rational.h"
#include "simhost/document/score.h"

namespace simhost {

struct NoteValue {
    std::int32_t value = kQuarter;
    std::int32_t dots = 0;

    bool operator==(const NoteValue&) const = default;
};

// The most dots a derived value gets; more are never written for a single note.
constexpr std::int32_t kMaxDerivedDots = 3;

// The value from breve to 128th, with up to three dots, that lasts exactly `plain` (1024 per
// quarter, before tuplets); nothing when none does.
std::optional<NoteValue> NoteValueOf(Rational plain);

// The tuplet that makes a value of `plain` last `sounding` instead: 3:2 for 2/3 of it. Nothing
// when the ratio is 1 or does not fit in 32-bit counts.
std::optional<Tuplet> TupletStretching(Rational plain, Rational sounding);

// Rests that fill a gap in a voice exactly. A gap of whole 128ths becomes plain rests, longest
// first; any other gap (left by a tuplet in another voice) is one rest in a tuplet of its own.
// Nothing when the gap is not positive or cannot be written.
std::optional<std::vector<Event>> GapRests(Rational gap);

// A rest of a whole measure of any length: one event, so that it makes one column. A length no
// dotted value makes is a whole rest in a tuplet (5:4 for a measure of 5/4).
std::optional<Event> MeasureRest(Rational length);

}  // namespace simhost
