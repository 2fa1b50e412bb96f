// Which notes the score's ties and slurs join, read from the marks each note states
// (note_marks.h), for the pictures to draw.
//
// A tie joins a pitch of one note to the same pitch where the staff next states a tie that
// stops on it, the same voice first, in this measure or a later one. A slur joins the note
// where its number starts to the note where the same number stops, among the staves of one
// instrument (a piano's slur may pass from one staff to the other). Broken marks are made the
// best of: a stop without a start joins nothing, a slur number started again while it is open
// ends the open slur on that note, and a tie or slur that never stops is kept without an end,
// for the drawing to decide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "simhost/document/score.h"

namespace simhost {

enum class CurveKind : std::uint8_t { Tie, Slur };

struct CurveEnd {
    std::int32_t measure = 1;  // as --measures numbers it: the score's first measure is 1
    std::size_t staff = 0;
    const Event* event = nullptr;
    std::size_t pitch = 0;  // of a tie: in the event's pitches
    Rational onset;         // of the event, in its measure
};

struct CurveSpan {
    CurveKind kind = CurveKind::Tie;
    CurveEnd start;
    std::optional<CurveEnd> end;  // none: it never stops
    Placement placement = Placement::Unstated;
};

// Every tie and slur of the score, by the measure they start in. instrumentOfStaff gives, for
// each staff, the first staff of its instrument; a staff it does not list is an instrument of
// its own.
std::vector<CurveSpan> CurveSpansOf(const Score& score,
                                    const std::vector<std::size_t>& instrumentOfStaff);

}  // namespace simhost
