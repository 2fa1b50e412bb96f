// What the document's music is: staves, and measures of notes and rests per staff and voice.
// Durations count 1024 per quarter note. Each voice is a sequence of events, one after the
// other; an event with several pitches is a chord, one without any a rest. Tuplets are marked
// the way engraved music marks them, by where a group starts and where it stops, so that
// adjacent groups stay apart and groups may nest.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "simhost/document/rational.h"

namespace simhost {

// The plain note values, 1024 per quarter.
constexpr std::int32_t kBreve = 8192;
constexpr std::int32_t kWhole = 4096;
constexpr std::int32_t kHalf = 2048;
constexpr std::int32_t kQuarter = 1024;
constexpr std::int32_t kEighth = 512;
constexpr std::int32_t kSixteenth = 256;
constexpr std::int32_t kThirtySecond = 128;
constexpr std::int32_t kSixtyFourth = 64;
constexpr std::int32_t kHundredTwentyEighth = 32;

struct Pitch {
    std::int8_t step = 6;    // 0 to 6: C D E F G A B
    std::int8_t alter = 0;   // sharps positive, flats negative
    std::int8_t octave = 4;  // 4 holds middle C

    bool operator==(const Pitch&) const = default;
};

// `actual` notes in the time of `normal`: 3:2 for triplets.
struct Tuplet {
    std::int32_t actual = 3;
    std::int32_t normal = 2;

    bool operator==(const Tuplet&) const = default;
};

struct Event {
    std::int32_t value = kQuarter;  // the plain note value, before dots and tuplets
    std::int32_t dots = 0;
    std::vector<Pitch> pitches;        // none: a rest; several: a chord
    std::vector<Tuplet> tupletStarts;  // groups that open at this event, outermost first
    std::int32_t tupletStops = 0;      // groups that close after this event

    bool IsRest() const { return pitches.empty(); }
    bool operator==(const Event&) const = default;
};

// An event placed in time: onset from the start of the measure, and the sounding duration with
// dots and every enclosing tuplet applied.
struct TimedEvent {
    Rational onset;
    Rational duration;
    const Event* event = nullptr;
};

struct Voice {
    std::vector<Event> events;

    // The events one after another from the start of the measure. Unbalanced tuplet marks are
    // tolerated: a stop without a group closes nothing.
    std::vector<TimedEvent> Timed() const;
    bool operator==(const Voice&) const = default;
};

// The duration of a value with dots, before tuplets: each dot adds half of the previous one.
Rational DottedDuration(std::int32_t value, std::int32_t dots);

struct Staff {
    std::int16_t slot = 1;  // where the staff stands, counted from the top
    std::uint16_t key = 1;  // names the staff for good, wherever it moves
    std::int16_t instrument = 1;

    bool operator==(const Staff&) const = default;
};

// One measure: for each staff, in the score's staff order, its voices.
struct Measure {
    std::vector<std::vector<Voice>> staves;

    bool IsEmpty() const;
    bool operator==(const Measure&) const = default;
};

class Score {
public:
    std::vector<Staff>& Staves() { return staves_; }
    const std::vector<Staff>& Staves() const { return staves_; }
    // Measure number n is Measures()[n - 1].
    std::vector<Measure>& Measures() { return measures_; }
    const std::vector<Measure>& Measures() const { return measures_; }

    const Measure* MeasureNumber(std::int32_t number) const;
    // The staff standing in a slot, or null. A nonzero key must also match: a region whose
    // staff has moved away names no staff any more.
    const Staff* StaffInSlot(std::int16_t slot, std::uint16_t key = 0) const;
    std::optional<std::size_t> StaffIndexOfSlot(std::int16_t slot) const;

    // Appends a staff and gives every measure an empty part for it.
    void AddStaff(const Staff& staff);
    // Appends an empty measure with a part for every staff.
    Measure& AddMeasure();

    bool operator==(const Score&) const = default;

private:
    std::vector<Staff> staves_;
    std::vector<Measure> measures_;
};

}  // namespace simhost
