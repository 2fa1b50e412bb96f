#include "tests/support/host_fixture.h"

#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "simhost/headless/kernel32.h"

namespace quortest {

HostTest::HostTest() {
    nx::ResetBindings();
    ResetModuleState();
    simhost::headless::ClearLookupLog();
    host_.emplace(backend);
}

HostTest::~HostTest() {
    host_.reset();
    nx::ResetBindings();
    ResetModuleState();
}

void HostTest::RegisterHostAs(std::optional<std::string> moduleName,
                              simhost::headless::ModuleRole role) {
    host_.reset();
    if (moduleName) host_.emplace(backend, *moduleName, role);
    nx::ResetBindings();
    simhost::headless::ClearLookupLog();
}

}  // namespace quortest
