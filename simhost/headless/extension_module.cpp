#include "simhost/headless/extension_module.h"

#include <dlfcn.h>

namespace simhost::headless {
namespace {

template <typename Fn>
void Find(void* handle, const char* name, Fn& slot, std::string& error) {
    slot = reinterpret_cast<Fn>(dlsym(handle, name));
    if (slot == nullptr && error.empty()) error = std::string("missing entry point ") + name;
}

}  // namespace

ExtensionModule::ExtensionModule(const std::string& path) {
    // RTLD_LOCAL keeps the module's own names out of the process; its Windows imports resolve
    // against this process.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        error_ = "cannot load " + path + ": " + (why ? why : "unknown error");
        return;
    }
    Find(handle_, "NotavoExtensionVersion", entry_.version, error_);
    Find(handle_, "NotavoExtensionInit", entry_.init, error_);
    Find(handle_, "NotavoExtensionEnumerate", entry_.enumerate, error_);
    Find(handle_, "NotavoExtensionEnumerate_UTF16", entry_.enumerateUtf16, error_);
    Find(handle_, "NotavoExtensionInvoke", entry_.invoke, error_);
    Find(handle_, "NotavoExtensionTerminate", entry_.terminate, error_);
    Find(handle_, "NotavoExtensionGetMenuStatus", entry_.getMenuStatus, error_);
}

ExtensionModule::~ExtensionModule() {
    if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace simhost::headless
