// The long run: in one host process, RUNS consecutive runs from the note spacing dialog (10,000
// unless given), alternating "Apply Spacing" and "Set as Default" and cycling through the nine
// tasks, with the dialog opened before, closed after and the extension terminated between them;
// then every run is undone. It prints the memory figures after the first 100 runs and at the
// end and fails (exit 1) when the document is not byte for byte what it was at the start, or
// when the heap outside the host's undo history grew by more than kHeapAllowance.
//
//   quor_long_run [RUNS]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/longrun/history_heap.h"
#include "bench/support/bench_document.h"
#include "bench/support/dialog_session.h"
#include "bench/support/memory_figures.h"
#include "simhost/document/document_file.h"

namespace {

using quorbench::MemoryFigures;

constexpr int kDefaultRuns = 10000;
constexpr int kBaselineRuns = 100;
// The heap outside the history may differ this much between the baseline and the end. Over the
// 9,900 runs after the baseline a leak of 7 bytes a run already exceeds it, while one-off
// growth (a container of the host reaching its largest size late) stays far below it.
constexpr std::int64_t kHeapAllowance = 64 * 1024;

struct Snapshot {
    MemoryFigures memory;
    std::size_t historyBytes = 0;
    std::int64_t OutsideHistory() const {
        return static_cast<std::int64_t>(memory.heapInUse) -
               static_cast<std::int64_t>(historyBytes);
    }
};

Snapshot Take(quorbench::DialogSession& session) {
    return Snapshot{quorbench::ReadMemoryFigures(),
                    quorbench::HistoryHeapBytes(session.Doc().History())};
}

void Print(const char* when, const Snapshot& snapshot) {
    std::printf(
        "%-24s peak resident %7lld KiB, resident %7lld KiB, heap %10zu B, "
        "undo history %10zu B, heap outside it %10lld B\n",
        when, static_cast<long long>(snapshot.memory.peakResidentKiB),
        static_cast<long long>(snapshot.memory.residentKiB), snapshot.memory.heapInUse,
        snapshot.historyBytes, static_cast<long long>(snapshot.OutsideHistory()));
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "long run: %s\n", what.c_str());
    return 1;
}

// Run i: apply on even runs, default on odd ones; the task cycles through the nine rows, so
// that over 18 runs every task is both applied and made the default. Every other apply run
// keeps the barlines fixed.
quorbench::RunKind KindOfRun(int i) {
    const bool asDefault = i % 2 == 1;
    const bool fixedBarlines = !asDefault && (i / 2) % 2 == 1;
    return quorbench::RunKind{"run", i % quorbench::kTaskRows, fixedBarlines, asDefault};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
    if (runs <= kBaselineRuns) return Fail("give more than 100 runs");

    quorbench::DialogSession session(QUOR_MODULE_PATH, quorbench::BenchDocument());
    const std::string start = simhost::FormatDocumentText(session.Doc());

    Snapshot baseline;
    for (int i = 0; i < runs; ++i) {
        const quorbench::RunKind kind = KindOfRun(i);
        if (!session.Open() || !session.Press(kind) || !session.Close() || !session.Terminate())
            return Fail("run " + std::to_string(i + 1) + ": " + session.Error());
        session.ForgetHostLogs();
        if (i + 1 == kBaselineRuns) {
            baseline = Take(session);
            Print("after 100 runs", baseline);
        }
    }
    const Snapshot afterRuns = Take(session);
    Print(("after " + std::to_string(runs) + " runs").c_str(), afterRuns);

    int undone = 0;
    while (session.Doc().Undo()) ++undone;
    const std::string end = simhost::FormatDocumentText(session.Doc());
    const Snapshot afterUndo = Take(session);
    Print("after undoing them", afterUndo);

    // The history dropped: what is left is the host, the module and the document.
    auto parsed = simhost::ParseDocumentText(end, "long run");
    if (!parsed.document || !session.Host().Backend().ReplaceDocument(*parsed.document))
        return Fail("the document could not be read back");
    const Snapshot dropped = Take(session);
    Print("history dropped", dropped);

    std::printf("runs %d, undone %d, document %zu bytes, %s the start\n", runs, undone, end.size(),
                end == start ? "byte-identical to" : "DIFFERENT from");
    const std::int64_t growth = afterRuns.OutsideHistory() - baseline.OutsideHistory();
    const std::int64_t residual = dropped.memory.heapInUse - baseline.OutsideHistory();
    std::printf(
        "heap outside the history: %+lld B over the last %d runs, %+lld B at the end "
        "(allowed %lld B)\n",
        static_cast<long long>(growth), runs - kBaselineRuns, static_cast<long long>(residual),
        static_cast<long long>(kHeapAllowance));

    if (undone != runs)
        return Fail("undid " + std::to_string(undone) + " edits, not " + std::to_string(runs));
    if (end != start) return Fail("the document after the last undo differs from the start");
    if (growth > kHeapAllowance || residual > kHeapAllowance)
        return Fail("the heap grew by more than the allowance");
    std::printf("long run: passed\n");
    return 0;
}
