#include "simhost/app/note_values.h"

#include <array>
#include <limits>

namespace simhost {
namespace {

constexpr std::array<std::int32_t, 9> kValues = {
    kBreve,        kWhole,       kHalf,
    kQuarter,      kEighth,      kSixteenth,
    kThirtySecond, kSixtyFourth, kHundredTwentyEighth,
};

bool FitsInt32(std::int64_t n) { return n > 0 && n <= std::numeric_limits<std::int32_t>::max(); }

}  // namespace

std::optional<NoteValue> NoteValueOf(Rational plain) {
    for (const std::int32_t value : kValues) {
        for (std::int32_t dots = 0; dots <= kMaxDerivedDots; ++dots) {
            if (DottedDuration(value, dots) == plain) return NoteValue{value, dots};
        }
    }
    return std::nullopt;
}

std::optional<Tuplet> TupletStretching(Rational plain, Rational sounding) {
    if (plain <= Rational(0) || sounding <= Rational(0)) return std::nullopt;
    // sounding = plain * normal / actual
    const Rational scale = sounding * Rational(plain.Den(), plain.Num());
    if (scale == Rational(1) || !FitsInt32(scale.Num()) || !FitsInt32(scale.Den())) {
        return std::nullopt;
    }
    return Tuplet{static_cast<std::int32_t>(scale.Den()), static_cast<std::int32_t>(scale.Num())};
}

std::optional<std::vector<Event>> GapRests(Rational gap) {
    if (gap <= Rational(0)) return std::nullopt;
    std::vector<Event> rests;
    if (gap.Den() == 1 && gap.Num() % kHundredTwentyEighth == 0) {
        std::int64_t left = gap.Num();
        while (left > 0) {
            for (const std::int32_t value : kValues) {
                if (value <= left) {
                    rests.push_back(Event{value, 0, {}, {}, 0});
                    left -= value;
                    break;
                }
            }
        }
        return rests;
    }
    // Whole breves first, then the rest of the gap as the shortest value that is at least as
    // long, shortened by a tuplet: a gap of a triplet eighth is an eighth rest in 3:2.
    Rational left = gap;
    while (left > Rational(kBreve)) {
        rests.push_back(Event{kBreve, 0, {}, {}, 0});
        left = left - Rational(kBreve);
    }
    std::int32_t value = kBreve;
    for (const std::int32_t candidate : kValues) {
        if (Rational(candidate) >= left) value = candidate;
    }
    const auto tuplet = TupletStretching(Rational(value), left);
    if (!tuplet) return std::nullopt;
    rests.push_back(Event{value, 0, {}, {*tuplet}, 1});
    return rests;
}

std::optional<Event> MeasureRest(Rational length) {
    if (length <= Rational(0)) return std::nullopt;
    if (const auto fit = NoteValueOf(length)) return Event{fit->value, fit->dots, {}, {}, 0};
    const auto tuplet = TupletStretching(Rational(kWhole), length);
    if (!tuplet) return std::nullopt;
    return Event{kWhole, 0, {}, {*tuplet}, 1};
}

}  // namespace simhost
