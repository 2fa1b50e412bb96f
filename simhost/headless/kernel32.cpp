#include "simhost/headless/kernel32.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace simhost::headless {
namespace {

struct Module {
    std::string name;
    ProcResolver resolver;
};

struct Registry {
    std::vector<std::unique_ptr<Module>> modules;
    std::vector<std::string> log;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

Module* Find(std::string_view name) {
    for (auto& module : TheRegistry().modules) {
        if (SameName(module->name, name)) return module.get();
    }
    return nullptr;
}

}  // namespace

HMODULE RegisterModule(const std::string& name, ProcResolver resolver) {
    if (Module* existing = Find(name)) {
        existing->resolver = std::move(resolver);
        return reinterpret_cast<HMODULE>(existing);
    }
    auto module = std::make_unique<Module>(Module{name, std::move(resolver)});
    auto* handle = reinterpret_cast<HMODULE>(module.get());
    TheRegistry().modules.push_back(std::move(module));
    return handle;
}

void UnregisterModule(const std::string& name) {
    auto& modules = TheRegistry().modules;
    std::erase_if(modules, [&](const auto& module) { return SameName(module->name, name); });
}

const std::vector<std::string>& LookupLog() { return TheRegistry().log; }

void ClearLookupLog() { TheRegistry().log.clear(); }

}  // namespace simhost::headless

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    auto& registry = simhost::headless::TheRegistry();
    registry.log.push_back(std::string("GetModuleHandleA ") + (moduleName ? moduleName : ""));
    if (moduleName == nullptr) {
        return registry.modules.empty() ? nullptr
                                        : reinterpret_cast<HMODULE>(registry.modules[0].get());
    }
    return reinterpret_cast<HMODULE>(simhost::headless::Find(moduleName));
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    auto& registry = simhost::headless::TheRegistry();
    registry.log.push_back(std::string("GetProcAddress ") + (procName ? procName : ""));
    if (module == nullptr || procName == nullptr) return nullptr;
    // Only handles this registry gave out are honoured.
    for (auto& entry : registry.modules) {
        if (reinterpret_cast<HMODULE>(entry.get()) == module) {
            return reinterpret_cast<FARPROC>(entry->resolver ? entry->resolver(procName) : nullptr);
        }
    }
    return nullptr;
}
}
