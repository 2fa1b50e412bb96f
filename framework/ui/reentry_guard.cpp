#include "framework/ui/reentry_guard.h"

#include <cstdint>
#include <utility>

namespace {

struct Calls {
    std::int32_t depth = 0;
    void (*work)() = nullptr;
    void (*drop)() = nullptr;
};

Calls& State() {
    static Calls calls;
    return calls;
}

// Clears the slot and lets the owner of the work forget it too.
void DropDeferred(Calls& calls) {
    calls.work = nullptr;
    if (void (*drop)() = std::exchange(calls.drop, nullptr)) drop();
}

}  // namespace

ReentryGuard::ReentryGuard(Deferred deferred) : deferred_(deferred) { ++State().depth; }

ReentryGuard::~ReentryGuard() {
    Calls& calls = State();
    if (calls.depth == 1) {
        for (int round = 0;
             deferred_ == Deferred::Run && round < kMaxDeferredRounds && calls.work != nullptr;
             ++round) {
            calls.drop = nullptr;  // this work is being carried out, not dropped
            try {
                std::exchange(calls.work, nullptr)();
            } catch (...) {
                // Nothing may unwind out of a destructor into the host.
            }
        }
        try {
            DropDeferred(calls);
        } catch (...) {
            // As above.
        }
    }
    --calls.depth;
}

bool ReentryGuard::Active() { return State().depth > 0; }

void ReentryGuard::Defer(void (*work)(), void (*drop)()) {
    Calls& calls = State();
    calls.work = work;
    calls.drop = drop;
}
