#include "simhost/document/measure_record.h"

#include "framework/data/byte_fields.h"

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
    // A field past the record's end (the short layout's trailing space, or a record cut short)
    // reads as 0.
    const auto field = [record](std::size_t offset) -> std::int16_t {
        return offset + 2 <= record.size() ? ReadInt16(record.data(), offset) : 0;
    };
    MeasureFields fields;
    fields.width = field(kWidth);
    fields.leadingSpace = field(kLeadingSpace);
    fields.beats = field(kBeats);
    fields.beatDuration = field(kBeatDuration);
    fields.key = field(kKey);
    fields.barline = static_cast<Barline>(static_cast<std::uint16_t>(field(kBarline)));
    fields.flags = static_cast<std::uint16_t>(field(kFlags));
    fields.numberShown = field(kNumberShown);
    fields.trailingSpace = field(kTrailingSpace);
    return fields;
}

void MeasureFields::WriteInto(std::vector<std::uint8_t>& record) const {
    // Grown first, so that every field fits.
    if (record.size() < kMeasureBytesLong) record.resize(kMeasureBytesLong, 0);
    std::uint8_t* bytes = record.data();
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
