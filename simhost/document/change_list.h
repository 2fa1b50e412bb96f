// The record changes of one edit step, in the order they were made.
//
// They are kept in blocks of a few changes each rather than in one array. A long edit then
// never moves the changes it already holds, and the host never asks its allocator for one large
// block per edit: on glibc each such request first sweeps every small block freed since the
// last one back together, and a run's saves and respacing free hundreds. That sweep, at each
// growth of one array, took a tenth of an apply run's instructions.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "simhost/document/record_store.h"

namespace simhost {

struct RecordChange {
    RecordId id;
    std::optional<StoredRecord> before;  // nothing: the record did not exist
    std::optional<StoredRecord> after;   // nothing: the change deleted it

    bool operator==(const RecordChange&) const = default;
};

class ChangeList {
public:
    static constexpr std::size_t kBlockSize = 8;
    using Block = std::vector<RecordChange>;

    void Append(RecordChange change);
    // Forgets every change from index `count` on; nothing when there are no more than that.
    void Truncate(std::size_t count);

    std::size_t Size() const {
        return blocks_.empty() ? 0 : (blocks_.size() - 1) * kBlockSize + blocks_.back().size();
    }
    bool Empty() const { return blocks_.empty(); }
    const RecordChange& operator[](std::size_t index) const {
        return blocks_[index / kBlockSize][index % kBlockSize];
    }
    // Every block is full but the last, which is never empty.
    const std::vector<Block>& Blocks() const { return blocks_; }

    bool operator==(const ChangeList&) const = default;

private:
    std::vector<Block> blocks_;
};

}  // namespace simhost
