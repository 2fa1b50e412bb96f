#include "simhost/document/measure_record.h"

#include "simhost/document/byte_access.h"

namespace simhost {
namespace {

constexpr std::size_t kWidth = 0;
constexpr std::size_t kLeadingSpace = 2;
constexpr std::size_t kBeats = 4;
constexpr std::size_t kBeatDuration = 6;
constexpr std::size_t kKey = 8;
constexpr std::size_t kBarline = 10;
constexpr std::size_t kFlags = 12;
constexpr std::size_t kNumberShown = 14;
constexpr std::size_t kTrailingSpace = 26;

}  // namespace

MeasureFields MeasureFields::Read(std::span<const std::uint8_t> record) {
    MeasureFields fields;
    fields.width = ReadInt16(record, kWidth);
    fields.leadingSpace = ReadInt16(record, kLeadingSpace);
    fields.beats = ReadInt16(record, kBeats);
    fields.beatDuration = ReadInt16(record, kBeatDuration);
    fields.key = ReadInt16(record, kKey);
    fields.barline = static_cast<Barline>(ReadUint16(record, kBarline));
    fields.flags = ReadUint16(record, kFlags);
    fields.numberShown = ReadInt16(record, kNumberShown);
    fields.trailingSpace = ReadInt16(record, kTrailingSpace);
    return fields;
}

void MeasureFields::WriteInto(std::vector<std::uint8_t>& record) const {
    if (record.size() < kMeasureBytesLong) record.resize(kMeasureBytesLong, 0);
    const std::span<std::uint8_t> bytes(record);
    WriteInt16(bytes, kWidth, width);
    WriteInt16(bytes, kLeadingSpace, leadingSpace);
    WriteInt16(bytes, kBeats, beats);
    WriteInt16(bytes, kBeatDuration, beatDuration);
    WriteInt16(bytes, kKey, key);
    WriteUint16(bytes, kBarline, static_cast<std::uint16_t>(barline));
    WriteUint16(bytes, kFlags, flags);
    WriteInt16(bytes, kNumberShown, numberShown);
    WriteInt16(bytes, kTrailingSpace, trailingSpace);
}

std::vector<std::uint8_t> MeasureFields::ToRecord() const {
    std::vector<std::uint8_t> record(kMeasureBytesLong, 0);
    WriteInto(record);
    return record;
}

std::optional<RecordView> ViewOf(std::uint32_t tag, std::uint32_t version) {
    if (tag != kTagMeasureRecord) return RecordView{std::nullopt, 0};
    if (version == kMeasureDataVersionShort) {
        return RecordView{kMeasureBytesShort, kMeasureBytesLong};
    }
    if (version == kMeasureDataVersionLong) return RecordView{kMeasureBytesLong, kMeasureBytesLong};
    return std::nullopt;
}

}  // namespace simhost
