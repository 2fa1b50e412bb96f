// How the fuzz target's host misbehaves, read once from the input's script: per service whether
// it answers honestly, refuses, claims success without acting, acts and denies it, or draws one
// of those per call from the input's answer bytes; which sizes, keys, regions, dialog strings and
// values are drawn the same way; and whether the host calls back into the module. The fault
// layer carries it out. When the answer bytes run out, every drawn answer is the honest one, so
// every call stays cheap and every run ends.
//
// A host that claims every load makes the allotment scan collect a record at each of the 65536
// item numbers, and the collection, growing in steps of 10, copies itself quadratically: about a
// second a run natively, over twenty in this build. The hostile tests cover that host; here a
// session makes up at most kMostClaimedLoads records and refuses the loads after them, so that no
// input runs into the time limit for that known cost.
#pragma once

#include <cstdint>

#include "tests/faults/fault_layer.h"
#include "tests/faults/fuzz_reader.h"

namespace simhost::headless {
class HeadlessDialogs;
}

namespace quorfuzz {

using quorfaults::FuzzReader;

constexpr std::uint32_t kMostClaimedLoads = 512;

struct HostPolicy {
    quorfaults::Answer loads = quorfaults::Answer::Honest;
    quorfaults::Answer saves = quorfaults::Answer::Honest;
    quorfaults::Answer creates = quorfaults::Answer::Honest;
    quorfaults::Answer deletes = quorfaults::Answer::Honest;
    quorfaults::Answer nexts = quorfaults::Answer::Honest;
    quorfaults::Answer starts = quorfaults::Answer::Honest;
    quorfaults::Answer ends = quorfaults::Answer::Honest;
    quorfaults::Draws draws;
    // At the start of its services the host may call back into the module, as a host can: an
    // entry point, or a message for the dialog, drawn per call.
    bool callBack = false;

    static HostPolicy Read(FuzzReader& script);
    // Sets the layer's knobs to the policy, its drawn answers and calls back taken from
    // `answers`.
    void ApplyTo(quorfaults::FaultLayer& faults, simhost::headless::HeadlessDialogs& dialogs,
                 const FuzzReader& answers) const;
};

// How many calls back into the module the hosts of this process have made.
std::uint64_t CallsBack();

}  // namespace quorfuzz
