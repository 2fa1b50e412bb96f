// An extension module loaded with LoadLibraryW, its seven entry points found by name, the way
// the host loads one; freed again when this object goes.
#pragma once

#include <string>
#include <windows.h>

#include "simhost/scenario/module_entry.h"

namespace simhost::win32 {

using simhost::EntryPoints;

class Win32Module {
public:
    explicit Win32Module(const std::wstring& path);
    ~Win32Module();
    Win32Module(const Win32Module&) = delete;
    Win32Module& operator=(const Win32Module&) = delete;

    bool Loaded() const { return handle_ != nullptr && error_.empty(); }
    const std::string& Error() const { return error_; }
    const EntryPoints& Entry() const { return entry_; }
    HMODULE Handle() const { return handle_; }

private:
    HMODULE handle_ = nullptr;
    std::string error_;
    EntryPoints entry_;
};

}  // namespace simhost::win32
