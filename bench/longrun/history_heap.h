// The heap an undo history holds: the blocks of its containers as the allocator handed them
// out, so that a long run can tell the history's growth from a leak.
#pragma once

#include <cstddef>

#include "simhost/document/edit_history.h"

namespace quorbench {

std::size_t HistoryHeapBytes(const simhost::EditHistory& history);

}  // namespace quorbench
