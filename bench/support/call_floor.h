// The fewest service calls a run of each kind could make against the record store, for
// comparing with what a run makes. Each record a run must read is loaded once and each one it
// must change is written once, however it was found:
//
//   every run      the edit's start and end (2), the region query (1), the redraw (1)
//   apply          + the respacing command (1)
//   prefs          the preferences are three 12-byte 'ot94' records; only those holding the
//                  fields the task sets count: the allotment flag's (1) for an allotment task,
//                  the flag's and the scaling fields' (2) for a scaling task. Apply: a
//                  snapshot load, the task's save and the restoring save of each (3 per
//                  record); default: a load and a save of each (2 per record)
//   allotments     apply: load the A rows of the document, delete them, save the T rows of the
//                  task, delete those after the command, save the A rows back (3A + 2T);
//                  default: delete A, save T (A + T)
//   fixed barlines a load of each of the M measures before the command, and a load and a save
//                  after it, which keep what the command wrote apart from the width (3M)
//
// Finding the document's allotments is not counted: the floor takes the rows as known.
#pragma once

#include <cstddef>

#include "bench/support/run_kinds.h"
#include "simhost/services/service_layer.h"

namespace quorbench {

struct RunShape {
    std::size_t documentAllotments = 0;  // A
    std::size_t taskAllotments = 0;      // T: 0 for a scaling task
    std::size_t measures = 0;            // M
};

std::size_t CallFloor(const RunKind& kind, const RunShape& shape);

// The shape of a run of `kind` on the bench document.
RunShape BenchShape(const RunKind& kind);

// An allotment load that found no record: the scan's probe of an empty item number.
bool IsFailedAllotmentProbe(const simhost::ServiceCall& call);
// Of the last `count` journal entries, the failed allotment probes.
std::size_t FailedAllotmentProbes(const simhost::ServiceJournal& journal, std::size_t count);

}  // namespace quorbench
