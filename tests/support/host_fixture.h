// A substitute host for tests: a backend whose answers a test can script, registered under
// the host's module name, with the extension's bindings and module state reset around each
// test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "simhost/headless/headless_host.h"

namespace quortest {

// A backend that answers the edit services with configurable results and counts them.
class ScriptedBackend : public simhost::HostBackend {
public:
    std::int32_t startResult = 1;
    std::int32_t endResult = 1;
    std::function<void()> onStart;

    std::int32_t StartEdit(const char16_t*) override {
        if (onStart) onStart();
        return startResult;
    }
    std::int32_t EndEdit() override { return endResult; }
};

// Resets the extension's bindings and module-wide state, and installs a host for the test.
class HostTest : public ::testing::Test {
protected:
    HostTest();
    ~HostTest() override;

    simhost::ServiceLayer& Services() { return host_->Services(); }
    simhost::ServiceJournal& Journal() { return host_->Services().Journal(); }
    // Replaces the host by one registered under another module name (or none at all), marked
    // as the process's main program or not.
    void RegisterHostAs(
        std::optional<std::string> moduleName,
        simhost::headless::ModuleRole role = simhost::headless::ModuleRole::Library);

    ScriptedBackend backend;

private:
    std::optional<simhost::headless::HeadlessHost> host_;
};

}  // namespace quortest
