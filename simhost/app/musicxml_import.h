// Reads a partwise MusicXML score (.musicxml or .xml, or .mxl compressed) into a document that
// the host can respace: staves with their clefs, one measure record per measure, a default
// allotment table and scaling preferences, and the whole score selected.
//
// What the score keeps of the music is what spacing and drawing need: every note's onset and
// duration, exact (durations are converted from <divisions> to 1024 per quarter without
// rounding), its note value, dots, tuplet groups and pitches, and its marks.
//   - Each staff of each part is one staff of the document, in the order of the parts and of
//     <staves>; its instrument is its part's number. The staves of a part of several staves
//     (a piano) are joined by a brace.
//   - <clef number="N"> gives staff N of the part its clef, where it stands: in the first
//     measure's opening attributes, the staff's own; at a later measure's start, a change
//     before that measure's barline (after it, with after-barline="yes"); after notes, a
//     change at that point of the measure. A staff without a clef is a treble staff, warned
//     about. Percussion and TAB clefs are kept and warned about: they name no pitches.
//   - Measure i of every part is measure i of the score; a part that ends early has empty
//     measures after its end. A measure implicit="yes" (a pickup) is not counted in the
//     numbers shown.
//   - The part has one time cursor, which <backup> and <forward> move, over all its staves;
//     <staff> puts a note on a staff and <voice> in a voice of it. The time a voice spends
//     elsewhere (on another staff, after a <forward>, under a hidden note) is a space in it.
//   - <chord/> adds a pitch to the note before it, or a note at its onset on another staff;
//     <rest measure="yes"/> (or a rest filling the measure with no other type than whole) is
//     a rest lasting the measure, whatever its length, drawn in its middle.
//   - Grace notes take no time and stand before the note they ornament; cue notes take their
//     time and are drawn small. Tied notes stay separate notes, each carrying its tie.
//   - Beams, ties, slurs, stem directions and tuplet looks are kept per note as the file
//     states them (musicxml_marks.h), for the pictures; spacing never reads them.
//   - <multiple-rest> spans the measures MusicXML writes out one by one; a staff that has
//     nothing in one of them gets its whole-measure rest.
//   - <time> gives each measure record's time signature, <key> its key, and a right <barline>
//     its closing barline, from the first part that states them; they carry on until changed.
//     One that comes inside a measure (not at its start) takes effect at the next measure,
//     warned about, since a measure record holds one of each.
// What cannot be drawn as written is warned about with its line (an <octave-shift>, a staff
// of other than five lines, slash and repeat measure styles); elements that play no part in
// spacing or in the notes drawn (dynamics, lyrics) are ignored.
//
// Reading is all or nothing: on any error there is no document, and the error names the file,
// the line (or the archive entry) and what is wrong. A score beyond the caps of score_limits.h,
// or holding what the document file could not write back, is refused the same way, so that what
// a file costs follows from its notes and a score that reads can be saved. Nothing here throws.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "simhost/document/document_file.h"
#include "simhost/document/note_widths.h"

namespace simhost {

// The allotments an imported document starts with (the allotment flag set), so that command
// 12106 gives it a plausible spacing before any task is applied: a note twice as long is
// about 1.4 times as wide.
constexpr std::array<AllotmentRow, 7> kImportedAllotments = {{
    {128, 29},
    {256, 42},
    {512, 59},
    {1024, 84},
    {2048, 120},
    {4096, 167},
    {8192, 236},
}};

// The space before the first note and after the last, and the width each measure record has
// until the score is respaced, in 24ths of a staff space.
constexpr std::int16_t kImportedLeadingSpace = 24;
constexpr std::int16_t kImportedTrailingSpace = 12;
constexpr std::int16_t kImportedMeasureWidth = 300;

// The bytes of a MusicXML file or of a compressed one (told apart by their content); fileName
// only names them in errors.
ParsedDocument ImportMusicXml(std::string_view bytes, const std::string& fileName);
ParsedDocument ImportMusicXmlFile(const std::string& path);
// The text of an uncompressed score, as a compressed file's entry holds it.
ParsedDocument ImportMusicXmlScore(std::string_view text, const std::string& fileName);

}  // namespace simhost
