// Google Benchmark suite: one run of each kind, timed two ways.
//
//   Engine/KIND  the spacing run itself (the block handler in its undo block) from the static
//                library, against the headless host's document and service layer.
//   Dialog/KIND  the user's press of "Apply Spacing" or "Set as Default" at the open dialog of
//                the module loaded from disk, through command 12106 to the redraw.
//
// Each iteration is undone outside the timing, so that every run starts from the same
// document. The counters give the service calls of one run, the floor they are compared with
// (bench/support/call_floor.h), their ratio, and the same without the allotment scan's probes
// of empty item numbers.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_document.h"
#include "bench/support/call_floor.h"
#include "bench/support/dialog_session.h"
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
    std::size_t calls = 0;
    {
        simhost::headless::HeadlessHost host(backend);
        auto& journal = host.Services().Journal();
        NCNoteSpacingTaskInfos tasks;
        BuildSpacingTasks(tasks);
        NCString name;
        name.AssignText8("Bench");
        for (auto _ : state) {
            NCNoteSpacingBlockHandler handler(tasks.TaskAt(kind.row), kind.asDefault,
                                              kind.fixedBarlines, nullptr);
            NCUndoBlock block;
            const bool ran = block.Run(&handler, &name);
            state.PauseTiming();
            if (!ran || !backend.GetDocument().Undo()) state.SkipWithError("the run made no edit");
            calls = journal.Calls().size();
            ReportCalls(state, kind, journal, calls);
            journal.Clear();
            state.ResumeTiming();
        }
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
    for (auto _ : state) {
        state.PauseTiming();
        if (!session.Prepare(kind, kind.row)) state.SkipWithError(session.Error().c_str());
        state.ResumeTiming();
        const bool pressed = session.PressButton(kind);
        state.PauseTiming();
        if (!pressed || !session.Undo()) state.SkipWithError(session.Error().c_str());
        ReportCalls(state, kind, session.Host().Services().Journal(), session.CallsOfLastPress());
        session.ClearJournal();
        state.ResumeTiming();
    }
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
