#include "simhost/document/record_store.h"

#include <limits>
#include <utility>

namespace simhost {
namespace {

constexpr std::int16_t kLowestItem = std::numeric_limits<std::int16_t>::min();
constexpr std::int16_t kHighestItem = std::numeric_limits<std::int16_t>::max();

}  // namespace

std::optional<StoredRecord> RecordStore::Get(const RecordId& id) const {
    const StoredRecord* record = Find(id);
    if (record == nullptr) return std::nullopt;
    return *record;
}

void RecordStore::Put(const RecordId& id, StoredRecord record) {
    records_.insert_or_assign(id, std::move(record));
}

bool RecordStore::Erase(const RecordId& id) { return records_.erase(id) != 0; }

void RecordStore::Set(const RecordId& id, const std::optional<StoredRecord>& record) {
    if (record) {
        Put(id, *record);
    } else {
        Erase(id);
    }
}

std::optional<RecordId> RecordStore::NextOfTag(const RecordId& id) const {
    const auto it = records_.upper_bound(id);
    if (it == records_.end() || it->first.tag != id.tag) return std::nullopt;
    return it->first;
}

std::vector<RecordId> RecordStore::IdsOfTag(std::uint32_t tag) const {
    return IdsOfTag(tag, kLowestItem, kHighestItem);
}

std::vector<RecordId> RecordStore::IdsOfTag(std::uint32_t tag, std::int16_t first,
                                            std::int16_t last) const {
    std::vector<RecordId> ids;
    if (first > last) return ids;
    const auto begin = records_.lower_bound(RecordId{tag, first, kLowestItem});
    const auto end = records_.upper_bound(RecordId{tag, last, kHighestItem});
    for (auto it = begin; it != end; ++it) ids.push_back(it->first);
    return ids;
}

std::optional<std::int16_t> RecordStore::FreshItem(std::uint32_t tag) const {
    const auto end = records_.upper_bound(RecordId{tag, kHighestItem, kHighestItem});
    if (end == records_.begin() || std::prev(end)->first.tag != tag) return std::int16_t{1};
    const std::int16_t highest = std::prev(end)->first.item;
    if (highest < 1) return std::int16_t{1};
    if (highest < kHighestItem) return static_cast<std::int16_t>(highest + 1);
    // The top number is taken: fall back to the first gap, so that a create still succeeds.
    for (std::int32_t item = 1; item <= kHighestItem; ++item) {
        const auto candidate = static_cast<std::int16_t>(item);
        if (!Contains(RecordId{tag, candidate, 0})) return candidate;
    }
    return std::nullopt;
}

}  // namespace simhost
