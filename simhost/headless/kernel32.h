// The Linux stand-in for the two KERNEL32 functions a module binds its host with. A host
// registers itself under a module name; GetModuleHandleA finds it by that name (case does not
// matter, as on Windows) and GetProcAddress asks it for a service by name. As on Windows, a null
// module stands for the main program: the one registered module marked as such, if any.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_api.h"

namespace simhost::headless {

using ProcResolver = std::function<void*(std::string_view name)>;

enum class ModuleRole { Library, MainProgram };

// Registers (or replaces) a module. Answers its handle. A module registered as the main program
// takes that mark from any other.
HMODULE RegisterModule(const std::string& name, ProcResolver resolver,
                       ModuleRole role = ModuleRole::Library);
void UnregisterModule(const std::string& name);

// Every GetModuleHandleA and GetProcAddress call, in order, as "GetModuleHandleA NAME" and
// "GetProcAddress NAME", so that tests can see which lookups a module made.
const std::vector<std::string>& LookupLog();
void ClearLookupLog();

}  // namespace simhost::headless
