// What a score states about how its notes are joined and drawn, beyond their time and pitch:
// beams, ties, slurs, stem directions and how a tuplet is shown. Spacing never reads these;
// the pictures do. Everything here is what the file wrote, kept as it was, broken or not: a
// beam that ends without a start, a tie that never stops. Making sense of it is the drawing's
// business, which leaves out what it cannot draw.
#pragma once

#include <cstdint>
#include <vector>

namespace simhost {

// Beam levels, from the primary beam (the eighths') inward.
constexpr std::int32_t kMaxBeamLevels = 8;
// Slurs open at once are told apart by their numbers, 1 to kMaxSlurNumber.
constexpr std::int32_t kMaxSlurNumber = 16;

// A note's part in the beam of one level. A level the file skipped (a second beam stated
// without a first) is Unstated.
enum class BeamMark : std::uint8_t { Unstated, Begin, Continue, End, ForwardHook, BackwardHook };

enum class StemDirection : std::uint8_t { Unstated, Up, Down, None };

enum class Placement : std::uint8_t { Unstated, Above, Below };

// The tie of one pitch of a note: it may end a tie from the note before and start one to the
// note after (a chain of tied notes).
struct TieMark {
    bool stop = false;
    bool start = false;

    bool operator==(const TieMark&) const = default;
};

struct SlurMark {
    std::int32_t number = 1;
    bool start = true;  // else it stops here
    Placement placement = Placement::Unstated;

    bool operator==(const SlurMark&) const = default;
};

enum class TupletBracket : std::uint8_t { Unstated, Shown, Hidden };
enum class TupletNumber : std::uint8_t { Unstated, Actual, Both, Hidden };

// How one tuplet group asks to be shown.
struct TupletLook {
    TupletBracket bracket = TupletBracket::Unstated;
    TupletNumber number = TupletNumber::Unstated;

    bool operator==(const TupletLook&) const = default;
};

struct NoteMarks {
    std::vector<BeamMark> beams;  // per level, primary first; empty: no beam stated
    // One per pitch of the event, in the same order; empty when none of them is tied.
    std::vector<TieMark> ties;
    std::vector<SlurMark> slurs;  // in the file's order
    // One per group the event opens (its tupletStarts); empty when none says how it is shown.
    std::vector<TupletLook> tupletLooks;
    StemDirection stem = StemDirection::Unstated;

    bool Empty() const {
        return beams.empty() && ties.empty() && slurs.empty() && tupletLooks.empty() &&
               stem == StemDirection::Unstated;
    }
    bool operator==(const NoteMarks&) const = default;
};

}  // namespace simhost
