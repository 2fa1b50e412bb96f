// An extension module loaded from disk, with its seven entry points found by name, the way
// the host loads one.
#pragma once

#include <string>

#include "host/entry_points.h"

namespace simhost::headless {

struct EntryPoints {
    decltype(&NotavoExtensionVersion) version = nullptr;
    decltype(&NotavoExtensionInit) init = nullptr;
    decltype(&NotavoExtensionEnumerate) enumerate = nullptr;
    decltype(&NotavoExtensionEnumerate_UTF16) enumerateUtf16 = nullptr;
    decltype(&NotavoExtensionInvoke) invoke = nullptr;
    decltype(&NotavoExtensionTerminate) terminate = nullptr;
    decltype(&NotavoExtensionGetMenuStatus) getMenuStatus = nullptr;
};

class ExtensionModule {
public:
    // Loads the module; Loaded() tells whether that and every entry point lookup worked, and
    // Error() says what failed.
    explicit ExtensionModule(const std::string& path);
    ~ExtensionModule();
    ExtensionModule(const ExtensionModule&) = delete;
    ExtensionModule& operator=(const ExtensionModule&) = delete;

    bool Loaded() const { return handle_ != nullptr && error_.empty(); }
    const std::string& Error() const { return error_; }
    const EntryPoints& Entry() const { return entry_; }

private:
    void* handle_ = nullptr;
    std::string error_;
    EntryPoints entry_;
};

}  // namespace simhost::headless
