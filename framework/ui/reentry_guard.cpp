#include "framework/ui/reentry_guard.h"

#include <cstdint>
#include <utility>

namespace {

struct Calls {
    std::int32_t depth = 0;
    void (*deferred)() = nullptr;
};

Calls& State() {
    static Calls calls;
    return calls;
}

// A host that calls back in from every call the deferred work makes would otherwise keep the
// module busy for ever; past this many rounds the work waits for the next outermost call.
constexpr int kMaxDeferredRounds = 64;

}  // namespace

ReentryGuard::ReentryGuard() { ++State().depth; }

ReentryGuard::~ReentryGuard() {
    Calls& calls = State();
    if (calls.depth == 1) {
        for (int round = 0; round < kMaxDeferredRounds && calls.deferred != nullptr; ++round) {
            try {
                std::exchange(calls.deferred, nullptr)();
            } catch (...) {
                // Nothing may unwind out of a destructor into the host.
            }
        }
    }
    --calls.depth;
}

bool ReentryGuard::Active() { return State().depth > 0; }

void ReentryGuard::Defer(void (*work)()) { State().deferred = work; }
