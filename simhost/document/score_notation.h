// A short text for the notes of a voice, used by the document file and by test fixtures:
//
//   q q. 8 | h rq 8:C5+E5+G5 (3:2 8 8 8)
//
// An event is a value (b w h q 8 16 32 64 128: breve to 128th), then dots, then ':' and its
// pitches joined by '+' (a chord); without pitches a note sounds B4. A leading 'r' makes a
// rest ("rq", "r8."), 'R' a rest filling its measure ("Rw", "Rh."), 's' a space: time the
// voice spends elsewhere, not drawn ("sq"). Before that, 'c' makes a cue note ("cq:E5") and
// 'g' a grace note, 'g/' a slashed one ("g8:D5", "g/8:D5", "cg16:F5"). "(3:2 ...)" is a tuplet
// group, 3 in the time of 2; groups nest. A pitch is a step letter, accidentals ('#' or 'b',
// repeatable) and an octave: C4 is middle C. '|' separates measures where a voice spans
// several.
//
// Marks follow (mark_notation.h): a '~' after a pitch ties it to the next note, one before it
// ties it from the note before ("h:~C4~+E4"); "[...]" after the event gives its stem, beams
// and slurs ("8:C5[up,beam=b,slur+1^]"), and after a group's ratio how the group is shown
// ("(3:2[bracket] 8 8 8)").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/document/score.h"

namespace simhost {

// What the notation writes and reads back: tuplets of 1 to 64 notes in the time of 1 to 64, up
// to four dots, up to two sharps or flats, octaves -1 to 9. A voice beyond them cannot be saved.
constexpr std::int32_t kMaxTupletCount = 64;
constexpr std::int32_t kMaxDots = 4;
constexpr std::int32_t kMaxAccidentals = 2;
constexpr std::int32_t kLowestOctave = -1;
constexpr std::int32_t kHighestOctave = 9;

struct NotationError {
    std::size_t column = 0;  // 1-based position in the text
    std::string message;
};

// One measure of one voice; '|' is an error here.
std::optional<Voice> ParseVoice(std::string_view text, NotationError* error);
// A voice over consecutive measures separated by '|'. A group may not cross a '|'.
std::optional<std::vector<Voice>> ParseVoiceMeasures(std::string_view text, NotationError* error);

// The text ParseVoice reads back to an equal voice (pitches always written out).
std::string FormatVoice(const Voice& voice);

}  // namespace simhost
