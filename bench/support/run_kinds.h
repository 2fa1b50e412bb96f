// The kinds of spacing run a user can make from the note spacing dialog, each with the dialog
// row of a task of that kind, so that every measuring program names and drives them alike.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorbench {

struct RunKind {
    const char* name;
    // The row of the task in the dialog's list: rows 0 to 4 are allotment tables, 5 to 8
    // scaling settings.
    std::int32_t row;
    bool fixedBarlines;
    // "Set as Default" rather than "Apply Spacing".
    bool asDefault;
};

// allotment-apply, scaling-apply, fixed-barlines, allotment-default, scaling-default.
std::span<const RunKind> RunKinds();
// Null for a name that is none of them.
const RunKind* FindRunKind(std::string_view name);

// The number of rows the dialog lists: one per task.
constexpr std::int32_t kTaskRows = 9;

}  // namespace quorbench
