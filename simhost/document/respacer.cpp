#include "simhost/document/respacer.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "framework/data/byte_fields.h"
#include "simhost/document/measure_spacer.h"

namespace simhost {

std::int32_t Respacer::RespaceMeasures(std::int16_t first, std::int16_t last) {
    // Read once: the command sees the settings as they stand when it starts.
    const NoteWidths widths = NoteWidths::FromRecords(document_.Records());
    std::int32_t count = 0;
    for (const RecordId& id : document_.Records().IdsOfTag(kTagMeasureRecord, first, last)) {
        if (id.incidence != 0) continue;
        RespaceMeasure(id.item, widths);
        ++count;
    }
    return count;
}

std::int32_t Respacer::RespaceSelection() {
    if (!document_.HasSelection()) return 0;
    const NXRegionRecord& selection = document_.Selection();
    const auto first = static_cast<std::int16_t>(std::max<std::int16_t>(selection.startMeasure, 1));
    return RespaceMeasures(first, selection.endMeasure);
}

void Respacer::RespaceMeasure(std::int16_t number, const NoteWidths& widths) {
    const RecordId measureId{kTagMeasureRecord, number, 0};
    StoredRecord measureRecord = *document_.Records().Find(measureId);
    MeasureFields fields = MeasureFields::Read(measureRecord.bytes);

    static const Measure kNoMusic;
    const Score& score = document_.GetScore();
    const Measure* measure = score.MeasureNumber(number);
    const MeasureSpacing spacing = SpaceMeasure(measure ? *measure : kNoMusic, fields, widths);

    fields.width = spacing.RecordWidth();
    fields.WriteInto(measureRecord.bytes);
    document_.Write(measureId, measureRecord);

    const std::size_t staves = std::min(spacing.staffPositions.size(), score.Staves().size());
    for (std::size_t staff = 0; staff < staves; ++staff) {
        const auto& positions = spacing.staffPositions[staff];
        StoredRecord record;
        record.bytes.resize(positions.size() * 2);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            WriteInt16(record.bytes.data(), 2 * i, positions[i]);
        }
        document_.Write(RecordId{kTagNotePositions, number, score.Staves()[staff].slot},
                        std::move(record));
    }
}

void Respacer::FitToWidth(std::int16_t number, std::int16_t previousWidth) {
    const std::optional<MeasureFields> fields = document_.MeasureRecord(number);
    if (!fields || fields->width == previousWidth) return;
    const std::int32_t margins = fields->leadingSpace + fields->trailingSpace;
    const std::int32_t before = previousWidth - margins;
    const std::int32_t after = fields->width - margins;
    // Without room for music on either side there is no proportion to keep.
    if (before <= 0 || after <= 0) return;
    for (const RecordId& id : document_.Records().IdsOfTag(kTagNotePositions, number, number)) {
        StoredRecord record = *document_.Records().Find(id);
        for (std::size_t offset = 0; offset + 2 <= record.bytes.size(); offset += 2) {
            const std::int32_t from = ReadInt16(record.bytes.data(), offset) - fields->leadingSpace;
            const long to =
                fields->leadingSpace + std::lround(static_cast<double>(from) * after / before);
            WriteInt16(record.bytes.data(), offset,
                       static_cast<std::int16_t>(std::clamp<long>(to, -32768, 32767)));
        }
        document_.Write(id, std::move(record));
    }
}

std::vector<std::int16_t> NotePositions(const Document& document, std::int16_t measure,
                                        std::int16_t slot) {
    std::vector<std::int16_t> positions;
    const StoredRecord* record =
        document.Records().Find(RecordId{kTagNotePositions, measure, slot});
    if (record == nullptr) return positions;
    for (std::size_t offset = 0; offset + 2 <= record->bytes.size(); offset += 2) {
        positions.push_back(ReadInt16(record->bytes.data(), offset));
    }
    return positions;
}

}  // namespace simhost
