// The seven entry points of an extension module, found by name, and the host's way of starting
// one: Version, Init, the menu enumeration its version calls for, GetMenuStatus. Shared by the
// host that loads the module with dlopen and the one that loads it with LoadLibrary.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "host/module/entry_points.h"

namespace simhost {

struct EntryPoints {
    decltype(&NotavoExtensionVersion) version = nullptr;
    decltype(&NotavoExtensionInit) init = nullptr;
    decltype(&NotavoExtensionEnumerate) enumerate = nullptr;
    decltype(&NotavoExtensionEnumerate_UTF16) enumerateUtf16 = nullptr;
    decltype(&NotavoExtensionInvoke) invoke = nullptr;
    decltype(&NotavoExtensionTerminate) terminate = nullptr;
    decltype(&NotavoExtensionGetMenuStatus) getMenuStatus = nullptr;
};

// What the host passes as the first argument of Invoke: its context for the menu item.
constexpr std::int32_t kInvokeContext = 1;

// Fills `entry` through `lookup(name)`, which answers the address of an export or null. Answers
// the first entry point not found ("missing entry point X"), or an empty string.
template <typename Lookup>
std::string FindEntryPoints(Lookup lookup, EntryPoints& entry) {
    std::string error;
    const auto find = [&](const char* name, auto& slot) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(lookup(name));
        if (slot == nullptr && error.empty()) error = std::string("missing entry point ") + name;
    };
    find("NotavoExtensionVersion", entry.version);
    find("NotavoExtensionInit", entry.init);
    find("NotavoExtensionEnumerate", entry.enumerate);
    find("NotavoExtensionEnumerate_UTF16", entry.enumerateUtf16);
    find("NotavoExtensionInvoke", entry.invoke);
    find("NotavoExtensionTerminate", entry.terminate);
    find("NotavoExtensionGetMenuStatus", entry.getMenuStatus);
    return error;
}

// Starts the module as a host of `hostVersion` does and answers the first menu item's text
// (empty when it enumerated none).
std::string StartModule(const EntryPoints& entry, std::uint32_t hostVersion);

}  // namespace simhost
