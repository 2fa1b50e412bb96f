#include "simhost/headless/extension_module.h"

#include <dlfcn.h>

namespace simhost::headless {

ExtensionModule::ExtensionModule(const std::string& path) {
    // RTLD_LOCAL keeps the module's own names out of the process; its Windows imports resolve
    // against this process.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        error_ = "cannot load " + path + ": " + (why ? why : "unknown error");
        return;
    }
    error_ = FindEntryPoints([this](const char* name) { return dlsym(handle_, name); }, entry_);
}

ExtensionModule::~ExtensionModule() {
    if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace simhost::headless
