// The driver of the bench's per-kind figures: RUNS presses of one kind of run at the open dialog,
// each undone again so that every press starts from the same document. A first press, with the
// service journal on, binds the services and counts the calls of one run; the RUNS presses after
// it run with the journal off, since the journal exists for tests.
//
//   quor_spacing_runs KIND RUNS            for callgrind: only MeasuredPress is counted
//                                          (mk/bench.mk toggles collection on it), so
//                                          instructions / RUNS is the cost of one press
//   quor_spacing_runs KIND RUNS --calls    the same, then how many of each service a run makes
//   quor_spacing_runs KIND RUNS --journal  the same, then every call of the journalled run with
//                                          its arguments and result, for comparing two builds
//   quor_spacing_runs KIND RUNS --floor    natively: each press timed, and right after it the
//                                          run's record keys looked up bare in the same store,
//                                          in the run's order; the ratio of the two medians.
//                                          Then the host's share: the run's loads sent straight
//                                          to its NX_LoadEData, over their bare lookups
//
// The first line it prints is always "KIND: RUNS runs, CALLS service calls per run, fewest
// FLOOR", the floor being the fewest calls the store allows (bench/support/call_floor.h).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/bench_document.h"
#include "bench/support/call_floor.h"
#include "bench/support/dialog_session.h"
#include "bench/support/same_lookups.h"

namespace {

using Clock = std::chrono::steady_clock;

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

void PrintJournal(const simhost::ServiceJournal& journal) {
    for (const simhost::ServiceCall& call : journal.Calls()) {
        std::printf("  %s", call.service.c_str());
        for (const std::int64_t arg : call.args) std::printf(" %lld", static_cast<long long>(arg));
        std::printf(" -> %lld\n", static_cast<long long>(call.result));
    }
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "spacing runs: %s\n", what.c_str());
    return 1;
}

enum class Mode { Count, Calls, Journal, Floor };

}  // namespace

int main(int argc, char** argv) {
    Mode mode = Mode::Count;
    if (argc == 4 && std::string_view(argv[3]) == "--calls") mode = Mode::Calls;
    if (argc == 4 && std::string_view(argv[3]) == "--journal") mode = Mode::Journal;
    if (argc == 4 && std::string_view(argv[3]) == "--floor") mode = Mode::Floor;
    if (argc != 3 && (argc != 4 || mode == Mode::Count))
        return Fail("usage: quor_spacing_runs KIND RUNS [--calls | --journal | --floor]");
    const quorbench::RunKind* kind = quorbench::FindRunKind(argv[1]);
    const int runs = std::atoi(argv[2]);
    if (kind == nullptr) return Fail(std::string("no kind of run named ") + argv[1]);
    if (runs < 1) return Fail("give at least one run");

    quorbench::DialogSession session(QUOR_MODULE_PATH, quorbench::BenchDocument());
    if (!session.Open()) return Fail(session.Error());
    simhost::ServiceJournal& journal = session.Host().Services().Journal();

    // The journalled press: the call count, and the keys the bare lookups repeat.
    session.ClearJournal();
    if (!session.Press(*kind)) return Fail(session.Error());
    const std::size_t calls = session.CallsOfLastPress();
    const std::vector<simhost::RecordId> keys = quorbench::RecordKeysOf(journal, calls);
    const std::vector<quorbench::HostLoad> loads = quorbench::LoadsOf(journal, calls);
    std::vector<simhost::RecordId> loadKeys;
    loadKeys.reserve(loads.size());
    for (const quorbench::HostLoad& load : loads) loadKeys.push_back(load.id);
    if (!session.Undo()) return Fail(session.Error());
    const std::size_t fewest = quorbench::CallFloor(*kind, quorbench::BenchShape(*kind));
    std::printf("%s: %d runs, %zu service calls per run, fewest %zu\n", kind->name, runs, calls,
                fewest);
    if (mode == Mode::Calls) PrintCallsByService(journal);
    if (mode == Mode::Journal) PrintJournal(journal);
    session.ClearJournal();
    journal.SetEnabled(false);

    std::vector<std::chrono::nanoseconds> pressTimes;
    std::vector<std::chrono::nanoseconds> lookupTimes;
    std::vector<std::chrono::nanoseconds> hostTimes;
    std::vector<std::chrono::nanoseconds> loadLookupTimes;
    for (int i = 0; i < runs; ++i) {
        if (!session.Prepare(*kind, kind->row)) return Fail(session.Error());
        const Clock::time_point start = Clock::now();
        if (!MeasuredPress(session, *kind)) return Fail(session.Error());
        pressTimes.push_back(Clock::now() - start);
        if (mode == Mode::Floor) {
            lookupTimes.push_back(quorbench::TimeLookups(session.Doc().Records(), keys));
            loadLookupTimes.push_back(quorbench::TimeLookups(session.Doc().Records(), loadKeys));
            hostTimes.push_back(quorbench::TimeHostLoads(session.Host().Services(), loads));
        }
        if (!session.Undo()) return Fail(session.Error());
        session.ForgetHostLogs();
    }
    if (mode == Mode::Floor) {
        const auto press = quorbench::Median(pressTimes);
        const auto lookups = quorbench::Median(lookupTimes);
        std::printf("run %lld ns, same lookups %lld ns (%zu keys), ratio %.2f\n",
                    static_cast<long long>(press.count()), static_cast<long long>(lookups.count()),
                    keys.size(),
                    static_cast<double>(press.count()) / static_cast<double>(lookups.count()));
        // The host's share: its own load service over bare lookups, for the run's loads alone.
        const auto host = quorbench::Median(hostTimes);
        const auto loadLookups = quorbench::Median(loadLookupTimes);
        std::printf("host's load service alone %lld ns for %zu loads, over their lookups %.2f\n",
                    static_cast<long long>(host.count()), loads.size(),
                    static_cast<double>(host.count()) / static_cast<double>(loadLookups.count()));
    }
    return 0;
}
