// The score notation's words for an event's marks (score_notation.h), written in brackets right
// after the event, items separated by commas, no spaces:
//
//   8:C5[up,beam=bf,slur+1^]   stem up; a beam that begins with a forward hook on the second
//                              level; slur 1 starts here, above the notes
//   8:E5[beam=e,slur-1]        the beam ends; slur 1 stops here
//
//   up down nostem   the stem direction the file states
//   beam=LEVELS      one letter per beam level, primary first: b begin, c continue, e end,
//                    f forward hook, k backward hook, - a level not stated
//   slur+N slur-N    slur N (1 to 16) starts or stops here, either may end in ^ (above) or
//                    _ (below)
//
// A tuplet group's look follows its ratio: "(3:2[bracket,num=none] 8 8 8)", with bracket or
// nobracket, and num=actual, num=both or num=none. Ties belong to pitches and are written with
// them (score_notation.h). An event without marks writes nothing, so a voice without any reads
// as the notation read it before marks existed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "simhost/document/note_marks.h"

namespace simhost {

// "[...]" for the event's stem, beams and slurs; nothing when it has none of them.
void AppendEventMarks(std::string& out, const NoteMarks& marks);
// "[...]" for a tuplet group's look; nothing when it states none.
void AppendTupletLook(std::string& out, const TupletLook& look);

// Reads the items between '[' and ']' (the brackets excluded) into marks, or answers what is
// wrong with them.
std::optional<std::string> ParseEventMarks(std::string_view items, NoteMarks& marks);
std::optional<std::string> ParseTupletLook(std::string_view items, TupletLook& look);

}  // namespace simhost
