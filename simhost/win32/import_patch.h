// Replaces one imported function of a loaded module by rewriting its import address table
// entry, so that the host can see the calls a module makes into a system library.
#pragma once

#include <windows.h>

namespace simhost::win32 {

// The entry of `module` that imports `function` from `library` (case-insensitive) now points to
// `replacement`; answers the address it pointed to before, or null when there is no such import.
void* PatchImport(HMODULE module, const char* library, const char* function, void* replacement);

}  // namespace simhost::win32
