// Reads a partwise MusicXML score (.musicxml or .xml, or .mxl compressed) into a document that
// the host can respace: one staff per part, one measure record per measure, a default allotment
// table and scaling preferences, and the whole score selected.
//
// What the score keeps of the music is what spacing needs: every note's onset and duration,
// exact (durations are converted from <divisions> to 1024 per quarter without rounding), and
// its note value, dots, tuplet groups and pitches.
//   - Each part is one staff, slot and instrument numbered from 1 in the order of the parts;
//     the voices of a part's several staves (piano) all go into its one staff.
//   - Measure i of every part is measure i of the score; a part that ends early has empty
//     measures after its end.
//   - <voice> names a voice; <backup> and <forward> move the cursor. The time a voice skips
//     (a <forward>, or a note of another voice in between) becomes rests in that voice.
//   - <chord/> adds a pitch to the note before it; <rest measure="yes"/> is one rest lasting
//     the measure, whatever its length.
//   - Grace notes take no time and are left out. Cue notes are left out too, and the time they
//     take is a gap in their voice, as a <forward> without a voice is. Ties are ignored: tied
//     notes stay separate notes, each with its own column.
//   - <time> gives each measure record's time signature, <key> its key, and a right <barline>
//     its closing barline, from the first part that states them; they carry on until changed.
// Elements that play no part in this are ignored.
//
// Reading is all or nothing: on any error there is no document, and the error names the file,
// the line (or the archive entry) and what is wrong. Nothing here throws.
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

}  // namespace simhost
