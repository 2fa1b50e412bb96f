#include "simhost/document/document.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace simhost {
namespace {

RecordId IdOf(std::uint32_t tag, const NXRecordKey& key) {
    return RecordId{tag, key.item, key.incidence};
}

void CopyReserved(const StoredRecord& record, NXRecordKey& key) {
    std::copy(record.reserved.begin(), record.reserved.end(), key.reserved);
}

// The stored record a write of `size` bytes under `view` leaves: the bytes a caller of that
// layout sees are replaced, any stored beyond them are kept.
StoredRecord Written(const std::optional<StoredRecord>& current, const RecordView& view,
                     const NXRecordKey& key, const void* buffer, std::int32_t size) {
    StoredRecord record = current.value_or(StoredRecord{});
    std::copy(key.reserved, key.reserved + 4, record.reserved.begin());
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const auto count = static_cast<std::size_t>(size);
    if (!view.visibleBytes) {
        record.bytes.assign(bytes, bytes + count);
        return record;
    }
    if (record.bytes.size() < view.storedBytes) record.bytes.resize(view.storedBytes, 0);
    std::copy(bytes, bytes + count, record.bytes.begin());
    return record;
}

bool AcceptsWrite(const RecordView& view, const void* buffer, std::int32_t size) {
    if (buffer == nullptr || size < 0 || size > kMaxRecordBytes) return false;
    return !view.visibleBytes || static_cast<std::size_t>(size) <= *view.visibleBytes;
}

}  // namespace

Document::Document(Score score, RecordStore records, const NXRegionRecord& selection,
                   std::int16_t number)
    : score_(std::move(score)),
      records_(std::move(records)),
      selection_(selection),
      number_(number) {}

bool Document::LoadFound(const StoredRecord& record, const LoadRequest& request) const {
    const auto view = ViewOf(request.tag, request.version);
    if (!view) return false;
    const std::size_t available =
        std::min(record.bytes.size(), view->visibleBytes.value_or(record.bytes.size()));
    CopyReserved(record, *request.key);
    std::int32_t& size = *request.size;
    if (request.buffer == nullptr) {
        size = static_cast<std::int32_t>(available);
        return true;
    }
    const std::size_t filled = std::min(available, static_cast<std::size_t>(std::max(size, 0)));
    std::memcpy(request.buffer, record.bytes.data(), filled);
    size = static_cast<std::int32_t>(filled);
    return true;
}

bool Document::SaveRecord(std::uint32_t tag, const NXRecordKey* key, const void* buffer,
                          std::int32_t size, std::uint32_t version) {
    if (key == nullptr) return false;
    const auto view = ViewOf(tag, version);
    if (!view || !AcceptsWrite(*view, buffer, size)) return false;
    const RecordId id = IdOf(tag, *key);
    Write(id, Written(records_.Get(id), *view, *key, buffer, size));
    return true;
}

bool Document::CreateRecord(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                            std::int32_t size, std::uint32_t version) {
    if (key == nullptr) return false;
    const auto view = ViewOf(tag, version);
    if (!view || !AcceptsWrite(*view, buffer, size)) return false;
    const auto item = records_.FreshItem(tag);
    if (!item) return false;
    key->item = *item;
    key->incidence = 0;
    Write(IdOf(tag, *key), Written(std::nullopt, *view, *key, buffer, size));
    return true;
}

bool Document::DeleteRecord(std::uint32_t tag, const NXRecordKey* key) {
    if (key == nullptr) return false;
    const RecordId id = IdOf(tag, *key);
    if (!records_.Contains(id)) return false;
    Write(id, std::nullopt);
    return true;
}

bool Document::NextRecord(std::uint32_t tag, NXRecordKey* key) const {
    if (key == nullptr) return false;
    const auto next = records_.NextOfTag(IdOf(tag, *key));
    if (!next) return false;
    key->item = next->item;
    key->incidence = next->incidence;
    CopyReserved(*records_.Find(*next), *key);
    return true;
}

void Document::Write(const RecordId& id, std::optional<StoredRecord> record) {
    std::optional<StoredRecord> before = records_.Get(id);
    if (before == record) return;
    records_.Set(id, record);
    history_.Note(RecordChange{id, std::move(before), std::move(record)});
}

std::optional<MeasureFields> Document::MeasureRecord(std::int16_t number) const {
    const StoredRecord* record = records_.Find(RecordId{kTagMeasureRecord, number, 0});
    if (record == nullptr) return std::nullopt;
    return MeasureFields::Read(record->bytes);
}

bool Document::StartEdit(std::u16string name) {
    history_.Start(std::move(name));
    return true;
}

bool Document::EndEdit() { return history_.End(); }

bool Document::CancelEdit() { return history_.Cancel(records_); }

bool Document::Undo() { return history_.Undo(records_); }

bool Document::Redo() { return history_.Redo(records_); }

bool Document::SameContentAs(const Document& other) const {
    return score_ == other.score_ && records_ == other.records_ &&
           SameRegion(selection_, other.selection_) && number_ == other.number_;
}

bool SameRegion(const NXRegionRecord& a, const NXRegionRecord& b) {
    return std::memcmp(&a, &b, sizeof(NXRegionRecord)) == 0;
}

}  // namespace simhost
