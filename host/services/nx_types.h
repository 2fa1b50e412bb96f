// The host's record and call formats, shared by the bindings and every caller of them. Field
// widths here are the host's: they must not change with the compiler or the platform.
#pragma once

#include <cstdint>

#include "platform/win_api.h"

// A record tag is four ASCII characters, the first in the most significant byte.
constexpr std::uint32_t MakeTag(const char (&chars)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(chars[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(chars[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(chars[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(chars[3]));
}

// The version this module speaks to the host with: the last argument of every service call
// that is not a record call.
constexpr std::uint32_t kInterfaceVersion = 0x12050000;
// The version Version() answers to the host.
constexpr std::uint32_t kExtensionVersion = 0x0F000000;
// From this host version on, text goes to the host through the _UTF16 services.
constexpr std::uint32_t kFirstUtf16HostVersion = 0x11000000;
// From this host version on, measure records use their 30-byte layout.
constexpr std::uint32_t kFirstLongMeasureHostVersion = 0x12000000;

// Identifies one record of a type. The host may read and rewrite it in place.
struct NXRecordKey {
    std::int16_t item;
    std::int16_t incidence;
    std::uint8_t reserved[4];
};
static_assert(sizeof(NXRecordKey) == 8);

#pragma pack(push, 1)
// The host's current selection, as NX_GetCurERegions fills it.
struct NXRegionRecord {
    std::uint16_t startSlotKey;
    std::uint16_t startSlot;
    std::int16_t startMeasure;
    std::uint32_t startPosition;
    std::uint16_t endSlotKey;
    std::uint16_t endSlot;
    std::int16_t endMeasure;
    std::uint32_t endPosition;
};
#pragma pack(pop)
static_assert(sizeof(NXRegionRecord) == 20);

// The dialog procedure the host calls for every message of a dialog opened with NX_Dialog; the
// fifth argument is the user pointer given to NX_Dialog.
using NXDialogProc = LRESULT(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                      void* user);

// Signatures of the host's NX_ services, as the host exports them by name. The trailing
// version argument is always last.
namespace nxsig {
using LoadEData = std::int16_t(WINAPI*)(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                        std::int32_t* size, std::uint32_t version);
using SaveEData = std::int16_t(WINAPI*)(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                        std::int32_t size, std::uint32_t version);
using CreateEData = SaveEData;
using DeleteEData = std::int16_t(WINAPI*)(std::uint32_t tag, NXRecordKey* key,
                                          std::uint32_t version);
using NextEData = std::int16_t(WINAPI*)(std::uint32_t tag, NXRecordKey* key, void* reserved1,
                                        void* reserved2, std::uint32_t version);
using Dialog = void(WINAPI*)(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                             std::int32_t zero, void* user, std::uint32_t version);
using EndDialog = void(WINAPI*)(HWND dialog, std::uint32_t version);
using EnableDlgItem = void(WINAPI*)(HWND dialog, std::int32_t item, std::int32_t enable,
                                    std::uint32_t version);
using GetDlgItemVal = std::int32_t(WINAPI*)(HWND dialog, std::int32_t item, std::int32_t kind,
                                            std::uint32_t version);
using SetDlgItemVal = void(WINAPI*)(HWND dialog, std::int32_t item, std::int32_t kind,
                                    std::int32_t value, std::uint32_t version);
using GetDlgItemUser = void(WINAPI*)(HWND dialog, std::int32_t item, std::int32_t zero,
                                     double* value, std::uint32_t version);
using SetDlgItemUser = void(WINAPI*)(HWND dialog, std::int32_t item, std::int32_t zero,
                                     double value, std::uint32_t version);
using GetDlgString = void(WINAPI*)(HWND dialog, std::int32_t item, char* buffer,
                                   std::int32_t capacity, std::uint32_t version);
using GetDlgStringUtf16 = void(WINAPI*)(HWND dialog, std::int32_t item, char16_t* buffer,
                                        std::int32_t capacity, std::uint32_t version);
using SetDlgString = void(WINAPI*)(HWND dialog, std::int32_t item, const char* text,
                                   std::uint32_t version);
using SetDlgStringUtf16 = void(WINAPI*)(HWND dialog, std::int32_t item, const char16_t* text,
                                        std::uint32_t version);
using SlotToInst = std::int16_t(WINAPI*)(std::int16_t slot, std::int16_t slotKey,
                                         std::uint32_t version);
using GetCurERegions = void(WINAPI*)(std::int32_t* scratch, NXRegionRecord* first,
                                     NXRegionRecord* second, std::uint32_t version);
using RedrawMusic = void(WINAPI*)(NXRegionRecord* region, std::uint32_t version);
using GetCurrentOstrinDocument = std::int16_t(WINAPI*)(std::uint32_t version);
using StartNotavoEdit = std::int32_t(WINAPI*)(const char* name, std::uint32_t version);
using StartNotavoEditUtf16 = std::int32_t(WINAPI*)(const char16_t* name, std::uint32_t version);
using EndNotavoEdit = std::int32_t(WINAPI*)(std::uint32_t version);
using CancelNotavoEdit = void(WINAPI*)(std::uint32_t version);
using ExecuteMenuItem = void(WINAPI*)(std::int32_t command, std::uint32_t version);
using GetCurrentWindow = HWND(WINAPI*)(std::uint32_t version);
}  // namespace nxsig
