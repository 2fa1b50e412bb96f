// A substitute host living in the current process: it registers its service layer under the
// host's module name, so that a module linked into or loaded by this process binds its NX_
// services from it, and makes that layer current. One at a time.
#pragma once

#include <string>

#include "simhost/headless/kernel32.h"
#include "simhost/services/service_layer.h"

namespace simhost::headless {

class HeadlessHost {
public:
    explicit HeadlessHost(HostBackend& backend, std::string moduleName = "NOTAVO.EXE",
                          ModuleRole role = ModuleRole::Library);
    ~HeadlessHost();
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    ServiceLayer& Services() { return services_; }
    const std::string& ModuleName() const { return moduleName_; }

private:
    std::string moduleName_;
    ServiceLayer services_;
};

}  // namespace simhost::headless
