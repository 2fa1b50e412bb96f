#include "tests/fuzz/reader_session.h"

#include <cstdio>
#include <cstdlib>

#include "simhost/app/score_svg.h"
#include "simhost/document/respacer.h"

namespace quorfuzz {

void Fault(const std::string& what) {
    std::fprintf(stderr, "fuzz: %s\n", what.c_str());
    std::abort();
}

void UseDocument(simhost::Document document) {
    // As notavo-sim opens a document: a saved layout is kept, any other laid out anew.
    if (document.Records().IdsOfTag(simhost::kTagNotePositions).empty()) {
        const auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
        simhost::Respacer(document).RespaceMeasures(1, count);
    }
    const simhost::Document before = document;
    simhost::Respacer(document).RespaceSelection();
    const std::string svg =
        simhost::BeforeAfterSvg(before, document, simhost::SelectedMeasures(document));
    if (svg.empty()) Fault("the picture is empty");

    const std::string text = simhost::FormatDocumentText(document);
    const simhost::ParsedDocument again = simhost::ParseDocumentText(text, "saved.ntv");
    if (!again.document) Fault("a saved document does not read back: " + again.error.Describe());
    if (simhost::FormatDocumentText(*again.document) != text) {
        Fault("a saved document reads back as another");
    }
}

void CheckRefusal(const simhost::DocumentFileError& error, std::string_view file, bool needsLine) {
    const std::string_view named = error.file;
    const bool entry = named.size() > file.size() && named[file.size()] == '/';
    if (!named.starts_with(file) || (named.size() != file.size() && !entry)) {
        Fault("a refusal names another file: " + error.Describe());
    }
    if (error.message.empty()) Fault("a refusal says nothing: " + error.Describe());
    if ((needsLine || entry) && error.line == 0) {
        Fault("a refusal names no line: " + error.Describe());
    }
}

void UseParsed(const simhost::ParsedDocument& parsed, std::string_view file, bool needsLine) {
    if (!parsed.document) {
        CheckRefusal(parsed.error, file, needsLine);
        return;
    }
    UseDocument(*parsed.document);
}

}  // namespace quorfuzz
