// What the document's music is: staves with their clefs, braces joining the staves of one
// instrument, and measures of notes and rests per staff and voice. Durations count 1024 per
// quarter note. Each voice is a sequence of events, one after the other; an event with several
// pitches is a chord, one without any a rest. Tuplets are marked the way engraved music marks
// them, by where a group starts and where it stops, so that adjacent groups stay apart and
// groups may nest. Grace notes take no time; they stand before the event that follows them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "simhost/document/clef.h"
#include "simhost/document/note_marks.h"
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

// A grace note ornaments the event after it; a slashed one is an acciaccatura.
enum class Grace : std::uint8_t { None, Plain, Slashed };

struct Event {
    std::int32_t value = kQuarter;  // the plain note value, before dots and tuplets
    std::int32_t dots = 0;
    std::vector<Pitch> pitches;        // none: a rest (or a space); several: a chord
    std::vector<Tuplet> tupletStarts;  // groups that open at this event, outermost first
    std::int32_t tupletStops = 0;      // groups that close after this event
    Grace grace = Grace::None;         // a grace note takes no time
    bool cue = false;                  // drawn small; takes its time like any note
    // Time the voice spends elsewhere (on another staff, or nowhere): spaced as a rest of its
    // length would be, so that the music around it stands where it would, and never drawn.
    bool space = false;
    // A rest that fills its measure: drawn as a whole rest in the middle of the measure,
    // whatever the measure's length.
    bool wholeMeasure = false;
    NoteMarks marks{};  // beams, ties, slurs, stem and tuplet looks, as the file states them

    bool IsRest() const { return pitches.empty() && !space; }
    bool IsGrace() const { return grace != Grace::None; }
    bool operator==(const Event&) const = default;
};

// An event placed in time: onset from the start of the measure, and the sounding duration with
// dots and every enclosing tuplet applied. A grace note lasts nothing and has the onset of the
// event it ornaments.
struct TimedEvent {
    Rational onset;
    Rational duration;
    const Event* event = nullptr;
    // Of a grace note, how many places it stands before the onset: 1 for the grace right
    // before its note, 2 for the one before that; 0 for every other event.
    std::int32_t graceRank = 0;
};

struct Voice {
    std::vector<Event> events;

    // The events one after another from the start of the measure. Unbalanced tuplet marks are
    // tolerated: a stop without a group closes nothing. Grace notes neither take time nor
    // shorten with the groups around them.
    std::vector<TimedEvent> Timed() const;
    bool operator==(const Voice&) const = default;
};

// The duration of a value with dots, before tuplets: each dot adds half of the previous one.
Rational DottedDuration(std::int32_t value, std::int32_t dots);

struct Staff {
    std::int16_t slot = 1;  // where the staff stands, counted from the top
    std::uint16_t key = 1;  // names the staff for good, wherever it moves
    std::int16_t instrument = 1;
    Clef clef = kTrebleClef;  // at the start of the score

    bool operator==(const Staff&) const = default;
};

// The staves of one instrument (a piano's two), drawn joined by a brace and by barlines through
// them all.
struct StaffGroup {
    std::int16_t firstSlot = 1;
    std::int16_t lastSlot = 2;

    bool operator==(const StaffGroup&) const = default;
};

// A clef that takes over a staff from a point of a measure. One at a measure's very end (after
// its last note) stands before the next measure's barline, as engravers put a clef for the
// next measure; it rules from that measure on.
struct ClefChange {
    std::size_t staff = 0;  // in the score's staff order
    Rational at;            // from the start of the measure
    Clef clef;

    bool operator==(const ClefChange&) const = default;
};

// One measure: for each staff, in the score's staff order, its voices.
struct Measure {
    std::vector<std::vector<Voice>> staves;
    std::vector<ClefChange> clefChanges;  // in the order they take effect

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

    std::vector<StaffGroup>& Groups() { return groups_; }
    const std::vector<StaffGroup>& Groups() const { return groups_; }
    // The group a staff belongs to, or null.
    const StaffGroup* GroupOf(std::int16_t slot) const;

    // The clef in force on a staff (by index) at a point of a measure: the staff's own clef,
    // changed by every clef change before that point. A change at the point itself counts.
    Clef ClefAt(std::size_t staff, std::int32_t measure, Rational at) const;

    // Appends a staff and gives every measure an empty part for it.
    void AddStaff(const Staff& staff);
    // Appends an empty measure with a part for every staff.
    Measure& AddMeasure();

    bool operator==(const Score&) const = default;

private:
    std::vector<Staff> staves_;
    std::vector<StaffGroup> groups_;
    std::vector<Measure> measures_;
};

}  // namespace simhost
