// The driver callgrind counts instructions over: RUNS presses of one kind of run at the open
// dialog, each undone again so that every press starts from the same document. Only
// MeasuredPress is counted (mk/bench.mk toggles collection on it), so instructions / RUNS is the
// cost of one press from the button to the redraw. It prints the service calls of each press;
// with --calls, also how many of each service the last press made.
//
//   quor_spacing_runs KIND RUNS [--calls]
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "bench/support/bench_document.h"
#include "bench/support/call_floor.h"
#include "bench/support/dialog_session.h"

namespace {

[[gnu::noinline]] bool MeasuredPress(quorbench::DialogSession& session,
                                     const quorbench::RunKind& kind) {
    return session.PressButton(kind);
}

// Per service, in name order; the allotment loads that found nothing are counted apart.
void PrintCallsByService(const simhost::ServiceJournal& journal) {
    std::map<std::string, std::size_t> counts;
    for (const simhost::ServiceCall& call : journal.Calls()) {
        const bool probe = quorbench::IsFailedAllotmentProbe(call);
        ++counts[probe ? call.service + " (allotment probe, empty)" : call.service];
    }
    for (const auto& [service, count] : counts)
        std::printf("  %-42s %zu\n", service.c_str(), count);
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "spacing runs: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool byService = argc == 4 && std::string_view(argv[3]) == "--calls";
    if (argc != 3 && !byService) return Fail("usage: quor_spacing_runs KIND RUNS [--calls]");
    const quorbench::RunKind* kind = quorbench::FindRunKind(argv[1]);
    const int runs = std::atoi(argv[2]);
    if (kind == nullptr) return Fail(std::string("no kind of run named ") + argv[1]);
    if (runs < 1) return Fail("give at least one run");

    quorbench::DialogSession session(QUOR_MODULE_PATH, quorbench::BenchDocument());
    if (!session.Open()) return Fail(session.Error());
    std::size_t calls = 0;
    for (int i = 0; i < runs; ++i) {
        if (!session.Prepare(*kind, kind->row)) return Fail(session.Error());
        session.ClearJournal();
        if (!MeasuredPress(session, *kind) || !session.Undo()) return Fail(session.Error());
        calls = session.CallsOfLastPress();
    }
    std::printf("%s: %d runs, %zu service calls per run\n", kind->name, runs, calls);
    if (byService) {
        // The journal holds the last press, and its undo, which calls no service.
        PrintCallsByService(session.Host().Services().Journal());
    }
    return 0;
}
