// What a MusicXML <note> states of its marks: its <beam>s per level, its stem, its ties
// (<tie> and <notations><tied>, which exporters write together; either counts), its slurs and
// how its tuplet groups ask to be shown. Values the reader does not know (a beam "backward
// hook" misspelt, a stem "double") are left unstated rather than refused: a mark is never
// worth losing the score over.
#pragma once

#include <pugixml.hpp>
#include <vector>

#include "simhost/document/note_marks.h"

namespace simhost {

// Beams, stem and slurs; ties and tuplet looks are read apart, since they belong to a pitch
// and to a group.
NoteMarks ReadNoteMarks(pugi::xml_node note);
TieMark ReadTie(pugi::xml_node note);
// The look of each <tuplet type="start">, in the file's order.
TupletLook ReadTupletLook(pugi::xml_node tuplet);

// A further note of a chord joins the event: its tie beside its pitch, its slurs, and the
// stem and beams when the chord's first note stated none.
void JoinChordMarks(NoteMarks& chord, std::size_t pitches, const NoteMarks& note, TieMark tie);

}  // namespace simhost
