// The document's records: every record the host keeps, named by tag, item number and incidence,
// in one ordered map so that an absent key fails in O(log n) and a walk of one tag is a range.
// The store knows nothing of edits; the Document routes every change through its history.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace simhost {

// Which record: the part of a key that names it. Records of one tag sort by item number, then
// incidence, both signed, which is the order NX_NextEData walks them in.
struct RecordId {
    std::uint32_t tag = 0;
    std::int16_t item = 0;
    std::int16_t incidence = 0;

    // NOLINTNEXTLINE(modernize-use-nullptr): the check misreads a defaulted comparison.
    auto operator<=>(const RecordId&) const = default;
};

// What a record holds: its data bytes and the key's four reserved bytes, which travel with the
// record and go back into the caller's key on every load and walk.
struct StoredRecord {
    std::array<std::uint8_t, 4> reserved{};
    std::vector<std::uint8_t> bytes;

    bool operator==(const StoredRecord&) const = default;
};

class RecordStore {
public:
    using Map = std::map<RecordId, StoredRecord>;

    const StoredRecord* Find(const RecordId& id) const {
        const auto it = records_.find(id);
        return it == records_.end() ? nullptr : &it->second;
    }
    bool Contains(const RecordId& id) const { return Find(id) != nullptr; }
    // The record as it is, or nothing when it does not exist.
    std::optional<StoredRecord> Get(const RecordId& id) const;

    void Put(const RecordId& id, StoredRecord record);
    bool Erase(const RecordId& id);
    // Puts the record, or erases it when there is none: how undo and redo restore a state.
    void Set(const RecordId& id, const std::optional<StoredRecord>& record);

    // The first record of the same tag after id (id itself need not exist).
    std::optional<RecordId> NextOfTag(const RecordId& id) const;
    // The records of one tag, or of one tag with item numbers first..last, in walk order.
    std::vector<RecordId> IdsOfTag(std::uint32_t tag) const;
    std::vector<RecordId> IdsOfTag(std::uint32_t tag, std::int16_t first, std::int16_t last) const;
    // An item number no record of the tag uses with incidence 0: one above the highest in use,
    // else the lowest free positive one. Nothing when every positive number is taken.
    std::optional<std::int16_t> FreshItem(std::uint32_t tag) const;

    const Map& All() const { return records_; }
    std::size_t Size() const { return records_.size(); }

    bool operator==(const RecordStore&) const = default;

private:
    Map records_;
};

}  // namespace simhost
