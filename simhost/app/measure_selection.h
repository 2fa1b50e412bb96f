// Which measures a picture or a report covers: the document's selection, or the whole score;
// and whether a selection of measures a user asks for (on the command line or in the
// interactive mode) can be meant: measures first..last must run forwards and lie inside the
// document. Scenario files are not held to this; they test what a host may send, odd regions
// included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "simhost/document/document.h"

namespace simhost {

struct MeasureRange {
    std::int16_t first = 1;
    std::int16_t last = 1;
};

// The selected measures; every measure of the score when nothing is selected.
MeasureRange SelectedMeasures(const Document& document);

struct RefusedSelection {
    bool reversed = false;  // wrong whatever the document
    std::string message;    // names the selection and the document's measures
};

// Nothing when measures first..last of a document of `count` measures can be selected, else
// why not: "measures 9-1 are reversed; the document has measures 1-4".
std::optional<RefusedSelection> CheckSelection(std::int32_t first, std::int32_t last,
                                               std::int32_t count);

}  // namespace simhost
