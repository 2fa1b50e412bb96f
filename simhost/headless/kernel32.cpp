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
    Module* mainProgram = nullptr;
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

HMODULE RegisterModule(const std::string& name, ProcResolver resolver, ModuleRole role) {
    Registry& registry = TheRegistry();
    Module* module = Find(name);
    if (module != nullptr) {
        module->resolver = std::move(resolver);
    } else {
        registry.modules.push_back(std::make_unique<Module>(Module{name, std::move(resolver)}));
        module = registry.modules.back().get();
    }
    if (role == ModuleRole::MainProgram) {
        registry.mainProgram = module;
    } else if (registry.mainProgram == module) {
        registry.mainProgram = nullptr;
    }
    return reinterpret_cast<HMODULE>(module);
}

void UnregisterModule(const std::string& name) {
    Registry& registry = TheRegistry();
    std::erase_if(registry.modules, [&](const auto& module) {
        if (!SameName(module->name, name)) return false;
        if (registry.mainProgram == module.get()) registry.mainProgram = nullptr;
        return true;
    });
}

const std::vector<std::string>& LookupLog() { return TheRegistry().log; }

void ClearLookupLog() { TheRegistry().log.clear(); }

}  // namespace simhost::headless

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    auto& registry = simhost::headless::TheRegistry();
    registry.log.push_back(std::string("GetModuleHandleA ") + (moduleName ? moduleName : ""));
    // A null name asks for the main program.
    if (moduleName == nullptr) return reinterpret_cast<HMODULE>(registry.mainProgram);
    return reinterpret_cast<HMODULE>(simhost::headless::Find(moduleName));
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    auto& registry = simhost::headless::TheRegistry();
    registry.log.push_back(std::string("GetProcAddress ") + (procName ? procName : ""));
    if (procName == nullptr) return nullptr;
    // A null module is the main program, when one is registered.
    const auto* wanted = module != nullptr ? reinterpret_cast<const void*>(module)
                                           : static_cast<const void*>(registry.mainProgram);
    if (wanted == nullptr) return nullptr;
    // Only handles this registry gave out are honoured.
    for (auto& entry : registry.modules) {
        if (entry.get() == wanted) {
            return reinterpret_cast<FARPROC>(entry->resolver ? entry->resolver(procName) : nullptr);
        }
    }
    return nullptr;
}
}
