// The seven entry points the host finds by name in the module's export table. The host calls
// them on its UI thread, one at a time, with the Windows API calling convention; the argument
// counts are part of the contract, since the callee removes the arguments. No exception leaves
// any of them: a failure answers as the entry point's failure does.
#pragma once

#include <cstdint>

#include "platform/win_api.h"

// The menu entry as an 8-bit record; the host owns the memory.
struct NXMenuEntry8 {
    char item[64];
    char description[64];
    char group[64];
    std::uint32_t reserved;
};
static_assert(sizeof(NXMenuEntry8) == 196);

// The menu entry as a UTF-16 record; the host owns the memory.
struct NXMenuEntry16 {
    char16_t item[128];
    char16_t description[128];
    char16_t group[128];
    std::uint32_t reserved;
};
static_assert(sizeof(NXMenuEntry16) == 772);

extern "C" {

// Called once, before any other entry point. Stores the host's version; every later choice
// between the 8-bit and UTF-16 services, and between the two measure layouts, reads it.
// Answers the interface version this module implements, 0x0F000000.
NX_EXPORT std::uint32_t WINAPI NotavoExtensionVersion(std::uint32_t hostVersion);

// Called after Version. Makes the dialog select its seventh task at the next opening and sets
// bit 0 of the host's flag word (the other bits are kept). Answers 1.
NX_EXPORT std::int32_t WINAPI NotavoExtensionInit(std::int32_t unused, std::uint32_t* flags);

// Fills the host's record with the one menu entry when the index (its low 16 bits, signed) is
// below 1 and answers 1; answers 0 and writes nothing for any later index.
NX_EXPORT std::int32_t WINAPI NotavoExtensionEnumerate(std::int32_t unused, std::int32_t index,
                                                       NXMenuEntry8* entry);
NX_EXPORT std::int32_t WINAPI NotavoExtensionEnumerate_UTF16(std::int32_t unused,
                                                             std::int32_t index,
                                                             NXMenuEntry16* entry);

// The user chose the menu item: opens the modeless note spacing dialog, or shows and
// activates it when it is open already. The first call's context is kept for the module's
// life. Answers 0.
NX_EXPORT std::int32_t WINAPI NotavoExtensionInvoke(std::int32_t context, std::int32_t unused1,
                                                    std::int32_t unused2, std::int32_t unused3);

// The host is done with the extension: closes a visible dialog and deletes the window. The
// remembered task survives until the module is unloaded.
NX_EXPORT void WINAPI NotavoExtensionTerminate(std::int32_t unused);

// The menu entry is always available: answers 1.
NX_EXPORT std::int32_t WINAPI NotavoExtensionGetMenuStatus(std::int32_t unused);
}
