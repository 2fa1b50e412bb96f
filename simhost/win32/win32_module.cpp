#include "simhost/win32/win32_module.h"

namespace simhost::win32 {

Win32Module::Win32Module(const std::wstring& path) : handle_(LoadLibraryW(path.c_str())) {
    if (handle_ == nullptr) {
        error_ = "cannot load the module (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    error_ = FindEntryPoints(
        [this](const char* name) { return reinterpret_cast<void*>(GetProcAddress(handle_, name)); },
        entry_);
}

Win32Module::~Win32Module() {
    if (handle_ != nullptr) FreeLibrary(handle_);
}

}  // namespace simhost::win32
