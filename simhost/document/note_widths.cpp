#include "simhost/document/note_widths.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/data/byte_fields.h"

namespace simhost {
namespace {

constexpr std::size_t kAllotmentFlag = 12;
constexpr std::size_t kReferenceDuration = 14;
constexpr std::size_t kReferenceWidth = 18;
constexpr std::size_t kScalingFactor = 22;  // 32-bit, low word first
// The fields are read and written in place, unchecked: they all lie inside the three blocks.
static_assert(kScalingFactor + 4 <= kSpacingPreferenceBytes);

}  // namespace

std::array<std::uint8_t, 36> SpacingPreferences::BytesOf(const RecordStore& records) {
    std::array<std::uint8_t, 36> bytes{};
    for (std::size_t block = 0; block < 3; ++block) {
        const StoredRecord* record = records.Find(
            RecordId{kTagSpacingPreferences, kPreferenceItem, static_cast<std::int16_t>(block)});
        if (record == nullptr) continue;
        const std::size_t count = std::min(record->bytes.size(), kPreferenceBlockBytes);
        std::copy_n(record->bytes.begin(), count,
                    bytes.begin() + static_cast<std::ptrdiff_t>(block * kPreferenceBlockBytes));
    }
    return bytes;
}

SpacingPreferences SpacingPreferences::Read(const RecordStore& records) {
    return FromBytes(BytesOf(records));
}

SpacingPreferences SpacingPreferences::FromBytes(const std::array<std::uint8_t, 36>& bytes) {
    SpacingPreferences preferences;
    preferences.byAllotments = ReadInt16(bytes.data(), kAllotmentFlag) != 0;
    preferences.referenceDuration = ReadInt16(bytes.data(), kReferenceDuration);
    preferences.referenceWidth = ReadInt16(bytes.data(), kReferenceWidth);
    preferences.scalingFactor = ReadInt32(bytes.data(), kScalingFactor);
    return preferences;
}

void SpacingPreferences::WriteInto(std::array<std::uint8_t, 36>& bytes) const {
    WriteInt16(bytes.data(), kAllotmentFlag, byAllotments ? 1 : 0);
    WriteInt16(bytes.data(), kReferenceDuration, referenceDuration);
    WriteInt16(bytes.data(), kReferenceWidth, referenceWidth);
    WriteInt32(bytes.data(), kScalingFactor, scalingFactor);
}

AllotmentTable::AllotmentTable(std::vector<AllotmentRow> rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const AllotmentRow& a, const AllotmentRow& b) {
        return a.duration < b.duration;
    });
    for (const AllotmentRow& row : rows) {
        if (!rows_.empty() && rows_.back().duration == row.duration) {
            rows_.back() = row;
        } else {
            rows_.push_back(row);
        }
    }
}

AllotmentTable AllotmentTable::Read(const RecordStore& records) {
    std::vector<AllotmentRow> rows;
    for (const RecordId& id : records.IdsOfTag(kTagAllotment)) {
        const StoredRecord& record = *records.Find(id);
        if (record.bytes.size() < 2) continue;
        rows.push_back(
            AllotmentRow{static_cast<std::uint16_t>(id.item), ReadInt16(record.bytes.data(), 0)});
    }
    return AllotmentTable(std::move(rows));
}

double AllotmentTable::WidthOf(double duration) const {
    if (rows_.empty()) return 0.0;
    if (rows_.size() == 1 || duration <= rows_.front().duration) return rows_.front().width;
    const auto line = [](const AllotmentRow& a, const AllotmentRow& b, double d) {
        return a.width + (b.width - a.width) * (d - a.duration) / (b.duration - a.duration);
    };
    const auto above = std::find_if(rows_.begin(), rows_.end(), [&](const AllotmentRow& row) {
        return row.duration >= duration;
    });
    if (above == rows_.end()) {
        const AllotmentRow& last = rows_.back();
        return std::max<double>(last.width, line(rows_[rows_.size() - 2], last, duration));
    }
    if (above->duration == duration) return above->width;
    return line(*std::prev(above), *above, duration);
}

NoteWidths::NoteWidths(SpacingPreferences preferences, AllotmentTable table)
    : preferences_(preferences),
      table_(std::move(table)),
      byAllotments_(preferences.byAllotments && !table_.Empty()) {}

NoteWidths NoteWidths::FromRecords(const RecordStore& records) {
    return NoteWidths(SpacingPreferences::Read(records), AllotmentTable::Read(records));
}

double NoteWidths::WidthOf(Rational duration) const {
    if (duration <= Rational(0)) return 0.0;
    const double d = duration.ToDouble();
    return byAllotments_ ? table_.WidthOf(d) : ScaledWidth(d);
}

double NoteWidths::ScaledWidth(double duration) const {
    const double reference =
        preferences_.referenceDuration > 0 ? preferences_.referenceDuration : 1024.0;
    const double ratio = preferences_.scalingFactor > 0 ? preferences_.Ratio() : 1.0;
    const double width = std::max<double>(0.0, preferences_.referenceWidth);
    return width * std::pow(ratio, std::log2(duration / reference));
}

}  // namespace simhost
