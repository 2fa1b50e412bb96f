// The document as a small text file, so that what a plug-in leaves in a document (a "Set as
// Default") survives the session. One item per line, '#' starts a comment line:
//
//   notavo-sim document 1
//   number 1
//   staff 1 1 41 G2                   slot, key, instrument, clef; every staff before any measure
//   brace 1 2                         the staves of slots 1 to 2 are one instrument's
//   selection 1 1 1 0 2 2 8 4096      start slot key, slot, measure, position; then the end's
//   measure 1                         measures in order from 1
//   voice 1 1 q:B4 (3:2 8:C5 8 8) h   staff slot, voice number (in order from 1), the notes
//   clef 2 2048 F4                    staff slot, where in the measure (1024ths; 1024/3 too)
//   record SOMS 1 0 00000000 2c01...  tag, item, incidence, reserved bytes, data (hex; - if none)
//
// The notes are in the score notation (score_notation.h), grace and cue notes included; the
// clefs as clef.h writes them. A staff line without a clef, as older files have, is a treble
// staff. A document whose notes carry marks (beams, ties, slurs, stems, tuplet looks) starts
// "notavo-sim document 2"; one without any is written as version 1, as before marks existed,
// and a version 1 file may hold none.
//
// A tag is written as its four characters when they are printable, else as 0x and 8 hex
// digits. Reading is all or nothing: a malformed file, or one beyond the caps of score_limits.h,
// gives an error that names the file, the line and what is wrong, and no document.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/document/document.h"

namespace simhost {

struct DocumentFileError {
    std::string file;
    std::size_t line = 0;  // 0: the file as a whole (it could not be opened)
    std::string message;

    // "file:line: message"
    std::string Describe() const;
};

struct ParsedDocument {
    std::optional<Document> document;
    DocumentFileError error;  // meaningful when there is no document
    // What was read but cannot be shown as written, each with where it is; its message starts
    // with "warning: ". A document file has none; a MusicXML score may.
    std::vector<DocumentFileError> warnings{};
};

std::string FormatDocumentText(const Document& document);
// fileName only names the text in errors.
ParsedDocument ParseDocumentText(std::string_view text, const std::string& fileName);

std::optional<DocumentFileError> WriteDocumentFile(const Document& document,
                                                   const std::string& path);
ParsedDocument ReadDocumentFile(const std::string& path);

}  // namespace simhost
