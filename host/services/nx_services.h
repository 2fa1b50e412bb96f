// Bindings of the host's NX_ services. Each service is looked up by name on its first use and
// the outcome kept: a service the host lacks is never looked up again, and its binding answers
// 0 and does nothing. Every call appends the interface version, except the record calls, whose
// caller passes the record's data version. All of them run on the host's UI thread.
#pragma once

#include <cstdint>

#include "host/services/nx_types.h"

namespace nx {

enum class Service : int {
    LoadEData,
    SaveEData,
    CreateEData,
    DeleteEData,
    NextEData,
    Dialog,
    EndDialog,
    EnableDlgItem,
    GetDlgItemVal,
    SetDlgItemVal,
    GetDlgItemUser,
    SetDlgItemUser,
    GetDlgString,
    GetDlgStringUtf16,
    SetDlgString,
    SetDlgStringUtf16,
    SlotToInst,
    GetCurERegions,
    RedrawMusic,
    GetCurrentOstrinDocument,
    StartNotavoEdit,
    StartNotavoEditUtf16,
    EndNotavoEdit,
    CancelNotavoEdit,
    ExecuteMenuItem,
    GetCurrentWindow,
    Count
};

// The exported name of a service, for example "NX_LoadEData".
const char* ServiceName(Service service);

// The bound address of a service, or null when the host lacks it. The host module is found
// once (NOTAVO.EXE, else NTVDEMO.EXE; else the main program, through a null module) and each
// name is looked up at most once.
void* BoundAddress(Service service);

// Forgets every binding, the host module and the edit depth, as after a fresh load of the
// module. Only a test host that swaps its services between cases needs this.
void ResetBindings();

// Number of host edits opened through the start bindings and not yet ended or cancelled.
std::int32_t EditDepth();

}  // namespace nx

// Record services. The version argument is the record's data version. The raw forms reach the
// host unchanged; NX_LoadEData and NX_SaveEData (declared with the record layer) add the
// translation of preference tags on top of them.
std::int16_t NX_LoadEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                             std::uint32_t version);
std::int16_t NX_SaveEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                             std::uint32_t version);
std::int16_t NX_CreateEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                            std::uint32_t version);
std::int16_t NX_DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version);
std::int16_t NX_NextEData(std::uint32_t tag, NXRecordKey* key, void* reserved1, void* reserved2,
                          std::uint32_t version);

// Dialog and dialog-item services.
void NX_Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
               void* user);
void NX_EndDialog(HWND dialog);
void NX_EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable);
std::int32_t NX_GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind);
void NX_SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value);
// Leaves *value untouched when the host lacks the service.
void NX_GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double* value);
void NX_SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double value);
// Both pass the capacity 5000 (bytes or UTF-16 units).
void NX_GetDlgString(HWND dialog, std::int32_t item, char* buffer);
void NX_GetDlgString_UTF16(HWND dialog, std::int32_t item, char16_t* buffer);
void NX_SetDlgString(HWND dialog, std::int32_t item, const char* text);
void NX_SetDlgString_UTF16(HWND dialog, std::int32_t item, const char16_t* text);

constexpr std::int32_t kDialogStringCapacity = 5000;

// Selection and document.
std::int16_t NX_SlotToInst(std::int16_t slot, std::int16_t slotKey);
void NX_GetCurERegions(std::int32_t* scratch, NXRegionRecord* first, NXRegionRecord* second);
void NX_RedrawMusic(NXRegionRecord* region);
std::int16_t NX_GetCurrentOstrinDocument();

// Undoable edits. The start bindings raise the edit depth before anything else, even when the
// host lacks the service. End answers 1 without calling the host at depth 0 or less; cancel
// then does nothing.
std::int32_t NX_StartNotavoEdit(const char* name);
std::int32_t NX_StartNotavoEdit_UTF16(const char16_t* name);
std::int32_t NX_EndNotavoEdit();
void NX_CancelNotavoEdit();

// Commands and windows.
void NX_ExecuteMenuItem(std::int32_t command);
HWND NX_GetCurrentWindow();
