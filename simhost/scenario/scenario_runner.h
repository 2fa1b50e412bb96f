// Runs a scenario against a host: builds or loads its document, performs the user's steps and
// checks every expectation, stopping at the first step that fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "simhost/scenario/scenario_host.h"
#include "simhost/scenario/scenario_script.h"

namespace simhost::scenario {

struct RunResult {
    bool passed = false;
    std::size_t stepsRun = 0;
    // "file:line: what failed", when it did not pass.
    std::string failure;
};

struct RunOptions {
    // The host already holds the document (a caller loaded it); the script may not make one.
    bool documentGiven = false;
    // The version the host plays when it loads the module; a host-version step overrides it.
    std::uint32_t hostVersion = 0x12050000;
};

// The host must be fresh: no module loaded yet. The runner leaves it as the last step left
// it, so that a caller can look further.
RunResult RunScript(const Script& script, ScenarioHost& host, RunOptions options = {});

}  // namespace simhost::scenario
