#include "simhost/win32/win32_module.h"

namespace simhost::win32 {

namespace {

template <typename Fn>
void Find(HMODULE module, const char* name, Fn& slot, std::string& error) {
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (slot == nullptr && error.empty()) error = std::string("missing entry point ") + name;
}

}  // namespace

Win32Module::Win32Module(const std::wstring& path) : handle_(LoadLibraryW(path.c_str())) {
    if (handle_ == nullptr) {
        error_ = "cannot load the module (error " + std::to_string(GetLastError()) + ")";
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

Win32Module::~Win32Module() {
    if (handle_ != nullptr) FreeLibrary(handle_);
}

}  // namespace simhost::win32
