// What the process holds, read from the kernel and the allocator: the peak and current
// resident size, and the bytes the heap has handed out and not yet had back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorbench {

struct MemoryFigures {
    std::int64_t peakResidentKiB = 0;  // VmHWM
    std::int64_t residentKiB = 0;      // VmRSS
    std::size_t heapInUse = 0;         // the allocator's blocks in use, headers included
};

MemoryFigures ReadMemoryFigures();

}  // namespace quorbench
