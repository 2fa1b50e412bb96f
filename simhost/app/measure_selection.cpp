#include "simhost/app/measure_selection.h"

#include <algorithm>

#include "simhost/document/measure_record.h"

namespace simhost {
namespace {

std::string DocumentMeasures(std::int32_t count) {
    if (count <= 0) return "the document has no measures";
    if (count == 1) return "the document has only measure 1";
    return "the document has measures 1-" + std::to_string(count);
}

}  // namespace

MeasureRange SelectedMeasures(const Document& document) {
    if (document.HasSelection()) {
        const NXRegionRecord& selection = document.Selection();
        return MeasureRange{std::max<std::int16_t>(selection.startMeasure, 1),
                            selection.endMeasure};
    }
    // Measure records beyond the score's music count too: they are drawn empty.
    auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
    for (const RecordId& id : document.Records().IdsOfTag(kTagMeasureRecord)) {
        count = std::max(count, id.item);
    }
    return MeasureRange{1, count};
}

std::optional<RefusedSelection> CheckSelection(std::int32_t first, std::int32_t last,
                                               std::int32_t count) {
    const std::string measures = "measures " + std::to_string(first) + "-" + std::to_string(last);
    if (first > last) {
        return RefusedSelection{true, measures + " are reversed; " + DocumentMeasures(count)};
    }
    if (first < 1 || last > count) {
        const std::string what =
            first == last ? "measure " + std::to_string(first) + " lies" : measures + " reach";
        return RefusedSelection{false, what + " outside the document; " + DocumentMeasures(count)};
    }
    return std::nullopt;
}

}  // namespace simhost
