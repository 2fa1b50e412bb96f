// What notavo-sim does with a file a user hands it, for the fuzz targets of its readers. A
// document that reads is laid out as the command lays out a score never laid out, respaced over
// its selection as command 12106 respaces it, drawn before and after, and written as a document
// file, which must read back to the same text. A file that is refused must say which file, where
// and what. Whatever breaks these ends the run as a crash does, with what broke.
#pragma once

#include <string>
#include <string_view>

#include "simhost/document/document.h"
#include "simhost/document/document_file.h"

namespace quorfuzz {

[[noreturn]] void Fault(const std::string& what);

void UseDocument(simhost::Document document);

// The file named is `file` itself, or for an archive an entry of it ("x.mxl/score.xml"). The
// line must be given (from 1) when `needsLine`, or when the error names an entry: only a fault
// of a file as a whole has none.
void CheckRefusal(const simhost::DocumentFileError& error, std::string_view file, bool needsLine);

// Reading, then what the file reaches: the error checked on a refusal, the document used.
void UseParsed(const simhost::ParsedDocument& parsed, std::string_view file, bool needsLine);

}  // namespace quorfuzz
