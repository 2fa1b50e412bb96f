#include "simhost/document/change_list.h"

#include <utility>

namespace simhost {

void ChangeList::Append(RecordChange change) {
    if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
        blocks_.emplace_back();
        blocks_.back().reserve(kBlockSize);
    }
    blocks_.back().push_back(std::move(change));
}

void ChangeList::Truncate(std::size_t count) {
    if (count >= Size()) return;
    const std::size_t blocks = (count + kBlockSize - 1) / kBlockSize;
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(blocks), blocks_.end());
    if (!blocks_.empty()) {
        Block& last = blocks_.back();
        last.erase(last.begin() + static_cast<std::ptrdiff_t>(count - (blocks - 1) * kBlockSize),
                   last.end());
    }
}

}  // namespace simhost
