#include "simhost/headless/headless_host.h"

namespace simhost::headless {

HeadlessHost::HeadlessHost(HostBackend& backend, std::string moduleName, ModuleRole role)
    : moduleName_(std::move(moduleName)), services_(backend) {
    RegisterModule(
        moduleName_, [this](std::string_view name) { return services_.Resolve(name); }, role);
    ServiceLayer::SetCurrent(&services_);
}

HeadlessHost::~HeadlessHost() {
    UnregisterModule(moduleName_);
    if (ServiceLayer::Current() == &services_) ServiceLayer::SetCurrent(nullptr);
}

}  // namespace simhost::headless
