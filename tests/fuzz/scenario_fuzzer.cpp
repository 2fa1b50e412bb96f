// libFuzzer target: a scenario file as a user hands it to notavo-sim, read, then run on the
// headless host against the extension linked into this program: the document steps build the
// document (a `document` step reads the sample documents), the session steps drive the dialog.
// A step that fails ends the run as a failed scenario does; besides what the sanitizers see,
// the run must leave no edit open, and a refused file must say where and what. Seeds: the sample
// scenarios; dictionary: generated from the verb table by reader_inputs.cmake.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "simhost/headless/headless_scenario_host.h"
#include "simhost/headless/kernel32.h"
#include "simhost/scenario/scenario_runner.h"
#include "simhost/scenario/scenario_script.h"
#include "tests/fuzz/reader_session.h"

namespace {

// The host loads the module from the program itself: an empty path names it.
constexpr const char* kThisProgram = "";

void ResetModule() {
    ResetModuleState();
    nx::ResetBindings();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The host must find the linked entry points, or no session step would reach the module.
    ResetModule();
    simhost::headless::HeadlessScenarioHost host(kThisProgram);
    if (!host.Invoke(0x12050000) || host.Entry()->version != &NotavoExtensionVersion) {
        quorfuzz::Fault("the host does not load the module linked in: " + host.Error());
    }
    host.Terminate();
    ResetModule();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::string_view kFile = "fuzz.scenario";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = simhost::scenario::ParseScript(text, std::string(kFile), QUOR_SAMPLE_DIR);
    if (!parsed.script) {
        const auto& error = parsed.error;
        quorfuzz::CheckRefusal(simhost::DocumentFileError{error.file, error.line, error.message},
                               kFile, true);
        return 0;
    }
    ResetModule();
    {
        simhost::headless::HeadlessScenarioHost host(kThisProgram);
        simhost::scenario::RunScript(*parsed.script, host);
        if (nx::EditDepth() != 0 || host.Backend().GetDocument().History().IsOpen()) {
            quorfuzz::Fault("a scenario left an edit open");
        }
    }
    ResetModule();
    simhost::headless::ClearLookupLog();
    return 0;
}
