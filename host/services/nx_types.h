// The host's record and call formats, shared by the bindings and every caller of them. Field
// widths here are the host's: they must not change with the compiler or the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/win_api.h"

// A record tag is four ASCII characters, the first in the most significant byte. The
// characters may come at run time (a document file names tags by them); there must be four.
constexpr std::uint32_t PackTag(std::string_view chars) {
    std::uint32_t tag = 0;
    for (std::size_t i = 0; i < 4; ++i) tag = (tag << 8) | static_cast<unsigned char>(chars[i]);
    return tag;
}

// A tag written in the code, checked to be four characters: MakeTag("otDA").
constexpr std::uint32_t MakeTag(const char (&chars)[5]) { return PackTag({chars, 4}); }

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
