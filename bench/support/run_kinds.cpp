#include "bench/support/run_kinds.h"

#include <array>

namespace quorbench {

namespace {

// "Loose Allotment" and "Golden Ratio Scaling"; Fixed Barlines with an allotment table, the
// costlier of the two kinds of content.
constexpr std::array<RunKind, 5> kKinds = {{
    {"allotment-apply", 2, false, false},
    {"scaling-apply", 5, false, false},
    {"fixed-barlines", 2, true, false},
    {"allotment-default", 2, false, true},
    {"scaling-default", 5, false, true},
}};

}  // namespace

std::span<const RunKind> RunKinds() { return kKinds; }

const RunKind* FindRunKind(std::string_view name) {
    for (const RunKind& kind : kKinds) {
        if (name == kind.name) return &kind;
    }
    return nullptr;
}

}  // namespace quorbench
