#include "bench/longrun/history_heap.h"

#include <malloc.h>

namespace quorbench {

namespace {

// glibc's header in front of every block, which its in-use figure counts.
constexpr std::size_t kChunkHeader = 8;

// The whole block behind a container's storage; none when it holds no heap storage.
std::size_t Block(const void* data) {
    if (data == nullptr) return 0;
    return malloc_usable_size(const_cast<void*>(data)) + kChunkHeader;
}

template <typename Vector>
std::size_t VectorBlock(const Vector& vector) {
    return vector.capacity() == 0 ? 0 : Block(vector.data());
}

std::size_t RecordBytes(const std::optional<simhost::StoredRecord>& record) {
    return record ? VectorBlock(record->bytes) : 0;
}

std::size_t StepBytes(const simhost::EditStep& step) {
    const auto& blocks = step.changes.Blocks();
    std::size_t bytes = VectorBlock(blocks);
    // A name longer than the string's own buffer lives on the heap.
    const void* inline_buffer = &step.name + 1;
    const void* units = step.name.data();
    const bool onHeap = units < static_cast<const void*>(&step.name) || units >= inline_buffer;
    if (onHeap) bytes += Block(units);
    for (const auto& block : blocks) {
        bytes += VectorBlock(block);
        for (const simhost::RecordChange& change : block)
            bytes += RecordBytes(change.before) + RecordBytes(change.after);
    }
    return bytes;
}

}  // namespace

std::size_t HistoryHeapBytes(const simhost::EditHistory& history) {
    std::size_t bytes = 0;
    for (const auto* steps : {&history.UndoSteps(), &history.RedoSteps()}) {
        bytes += VectorBlock(*steps);
        for (const simhost::EditStep& step : *steps) bytes += StepBytes(step);
    }
    return bytes;
}

}  // namespace quorbench
