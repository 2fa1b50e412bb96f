#include "bench/support/call_floor.h"

#include <algorithm>

#include "bench/support/bench_document.h"
#include "host/services/nx_types.h"

namespace quorbench {

namespace {

constexpr std::size_t kEveryRun = 4;
constexpr std::size_t kCommand = 1;
constexpr std::size_t kPrefsCallsApply = 3;
constexpr std::size_t kPrefsCallsDefault = 2;
// The allotment flag sits at bytes 12 and 13, in the second record; the scaling fields run on
// to byte 25, into the third.
constexpr std::size_t kPrefsRecordsAllotment = 1;
constexpr std::size_t kPrefsRecordsScaling = 2;
constexpr std::size_t kCallsPerFixedMeasure = 3;
constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
// The rows of the task a kind's row names: rows 0 to 3 hold 21 (Tight, Medium, Loose) or 8
// ('Optical') allotments; the bench kinds use Loose and a scaling task.
constexpr std::size_t kLooseRows = 21;
constexpr std::int32_t kFirstScalingRow = 5;

}  // namespace

std::size_t CallFloor(const RunKind& kind, const RunShape& shape) {
    const std::size_t a = shape.documentAllotments;
    const std::size_t t = shape.taskAllotments;
    const std::size_t prefs = t > 0 ? kPrefsRecordsAllotment : kPrefsRecordsScaling;
    if (kind.asDefault) return kEveryRun + kPrefsCallsDefault * prefs + (t > 0 ? a + t : 0);
    std::size_t floor = kEveryRun + kCommand + kPrefsCallsApply * prefs;
    if (t > 0) floor += 3 * a + 2 * t;
    if (kind.fixedBarlines) floor += kCallsPerFixedMeasure * shape.measures;
    return floor;
}

RunShape BenchShape(const RunKind& kind) {
    return RunShape{static_cast<std::size_t>(kBenchAllotments),
                    kind.row < kFirstScalingRow ? kLooseRows : 0,
                    static_cast<std::size_t>(kBenchMeasures)};
}

bool IsFailedAllotmentProbe(const simhost::ServiceCall& call) {
    return call.service == "NX_LoadEData" && !call.args.empty() && call.args[0] == kTagAllotment &&
           call.result == 0;
}

std::size_t FailedAllotmentProbes(const simhost::ServiceJournal& journal, std::size_t count) {
    const auto& calls = journal.Calls();
    const auto last = calls.end() - static_cast<std::ptrdiff_t>(std::min(count, calls.size()));
    return static_cast<std::size_t>(std::count_if(last, calls.end(), &IsFailedAllotmentProbe));
}

}  // namespace quorbench
