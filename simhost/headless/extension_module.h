// An extension module loaded from disk, with its seven entry points found by name, the way
// the host loads one.
#pragma once

#include <string>

#include "simhost/scenario/module_entry.h"

namespace simhost::headless {

using simhost::EntryPoints;

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
