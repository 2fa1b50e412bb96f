// Google Benchmark suite: one run of each kind, timed two ways.
//
//   Engine/KIND  the spacing run itself (the block handler in its undo block) from the static
//                library, against the headless host's document and service layer.
//   Dialog/KIND  the user's press of "Apply Spacing" or "Set as Default" at the open dialog of
//                the module loaded from disk, through command 12106 to the redraw.
//
// Each iteration is undone outside the timing, so that every run starts from the same
// document. A first run, untimed, has the service journal on; the timed ones run without it.
// The counters give the service calls of one run, the floor they are compared with
// (bench/support/call_floor.h), their ratio, and the same without the allotment scan's probes
// of empty item numbers; Dialog/KIND also gives "lookups", the time of a run over the time of
// its record lookups made bare in the same store right after it (bench/support/same_lookups.h).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/support/bench_document.h"
#include "bench/support/call_floor.h"
#include "bench/support/dialog_session.h"
#include "bench/support/same_lookups.h"
#include "framework/core/undo_block.h"
#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "simhost/headless/headless_host.h"
#include "spacing/note_spacing_block_handler.h"
#include "spacing/task_info.h"

namespace {

using quorbench::RunKind;

void ReportCalls(benchmark::State& state, const RunKind& kind,
                 const simhost::ServiceJournal& journal, std::size_t calls) {
    const auto floor = static_cast<double>(quorbench::CallFloor(kind, quorbench::BenchShape(kind)));
    const auto probes = static_cast<double>(quorbench::FailedAllotmentProbes(journal, calls));
    state.counters["calls"] = static_cast<double>(calls);
    state.counters["floor"] = floor;
    state.counters["ratio"] = static_cast<double>(calls) / floor;
    state.counters["ratio_less_probes"] = (static_cast<double>(calls) - probes) / floor;
}

void BM_Engine(benchmark::State& state, const RunKind& kind) {
    nx::ResetBindings();
    ResetModuleState();
    simhost::DocumentBackend backend(quorbench::BenchDocument());
    {
        simhost::headless::HeadlessHost host(backend);
        auto& journal = host.Services().Journal();
        NCNoteSpacingTaskInfos tasks;
        BuildSpacingTasks(tasks);
        NCString name;
        name.AssignText8("Bench");
        const auto run = [&] {
            NCNoteSpacingBlockHandler handler(tasks.TaskAt(kind.row), kind.asDefault,
                                              kind.fixedBarlines, nullptr);
            NCUndoBlock block;
            return block.Run(&handler, &name);
        };
        journal.Clear();
        const bool counted = run() && backend.GetDocument().Undo();
        ReportCalls(state, kind, journal, journal.Calls().size());
        journal.Clear();
        journal.SetEnabled(false);
        for (auto _ : state) {
            const bool ran = run();
            state.PauseTiming();
            if (!counted || !ran || !backend.GetDocument().Undo())
                state.SkipWithError("the run made no edit");
            state.ResumeTiming();
        }
        journal.SetEnabled(true);
    }
    nx::ResetBindings();
    ResetModuleState();
}

void BM_Dialog(benchmark::State& state, const RunKind& kind) {
    quorbench::DialogSession session(QUOR_MODULE_PATH, quorbench::BenchDocument());
    if (!session.Open()) {
        state.SkipWithError(session.Error().c_str());
        return;
    }
    auto& journal = session.Host().Services().Journal();
    session.ClearJournal();
    if (!session.Press(kind) || !session.Undo()) {
        state.SkipWithError(session.Error().c_str());
        return;
    }
    const std::size_t calls = session.CallsOfLastPress();
    ReportCalls(state, kind, journal, calls);
    const std::vector<simhost::RecordId> keys = quorbench::RecordKeysOf(journal, calls);
    session.ClearJournal();
    journal.SetEnabled(false);
    std::vector<std::chrono::nanoseconds> runs;
    std::vector<std::chrono::nanoseconds> lookups;
    for (auto _ : state) {
        state.PauseTiming();
        if (!session.Prepare(kind, kind.row)) state.SkipWithError(session.Error().c_str());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const bool pressed = session.PressButton(kind);
        runs.push_back(std::chrono::steady_clock::now() - start);
        state.PauseTiming();
        lookups.push_back(quorbench::TimeLookups(session.Doc().Records(), keys));
        if (!pressed || !session.Undo()) state.SkipWithError(session.Error().c_str());
        session.ForgetHostLogs();
        state.ResumeTiming();
    }
    journal.SetEnabled(true);
    state.counters["lookups"] = static_cast<double>(quorbench::Median(runs).count()) /
                                static_cast<double>(quorbench::Median(lookups).count());
}

}  // namespace

int main(int argc, char** argv) {
    for (const RunKind& kind : quorbench::RunKinds()) {
        benchmark::RegisterBenchmark((std::string("Engine/") + kind.name).c_str(), BM_Engine, kind)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Dialog/") + kind.name).c_str(), BM_Dialog, kind)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
