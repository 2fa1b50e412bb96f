// What answers the NX_ services of the substitute host. The defaults are those of a host that
// offers the service but has nothing to give: results of 0 and no writes. The document host
// overrides them with real records, edits and dialogs; tests override single answers.
#pragma once

#include <cstdint>

#include "host/services/nx_service_list.h"
#include "host/services/nx_types.h"

// The record services of a backend that answers them, declared in its class.
#define SIMHOST_RECORD_OVERRIDES                                                                   \
    std::int16_t LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,  \
                           std::uint32_t version) override;                                        \
    std::int16_t SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,                \
                           std::int32_t size, std::uint32_t version) override;                     \
    std::int16_t CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,              \
                             std::int32_t size, std::uint32_t version) override;                   \
    std::int16_t DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override; \
    std::int16_t NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;

namespace simhost {

class HostBackend {
public:
    virtual ~HostBackend() = default;

    // Records.
    virtual std::int16_t LoadEData(std::uint32_t, NXRecordKey*, void*, std::int32_t*,
                                   std::uint32_t) {
        return 0;
    }
    virtual std::int16_t SaveEData(std::uint32_t, NXRecordKey*, const void*, std::int32_t,
                                   std::uint32_t) {
        return 0;
    }
    virtual std::int16_t CreateEData(std::uint32_t, NXRecordKey*, const void*, std::int32_t,
                                     std::uint32_t) {
        return 0;
    }
    virtual std::int16_t DeleteEData(std::uint32_t, NXRecordKey*, std::uint32_t) { return 0; }
    virtual std::int16_t NextEData(std::uint32_t, NXRecordKey*, std::uint32_t) { return 0; }

    // Dialogs and their items.
    virtual void Dialog(std::int16_t, NXDialogProc, std::int32_t, std::int32_t, void*) {}
    virtual void EndDialog(HWND) {}
    virtual void EnableDlgItem(HWND, std::int32_t, std::int32_t) {}
    virtual std::int32_t GetDlgItemVal(HWND, std::int32_t, std::int32_t) { return 0; }
    virtual void SetDlgItemVal(HWND, std::int32_t, std::int32_t, std::int32_t) {}
    virtual void GetDlgItemUser(HWND, std::int32_t, std::int32_t, double*) {}
    virtual void SetDlgItemUser(HWND, std::int32_t, std::int32_t, double) {}
    virtual void GetDlgString(HWND, std::int32_t, char*, std::int32_t) {}
    virtual void GetDlgStringUtf16(HWND, std::int32_t, char16_t*, std::int32_t) {}
    virtual void SetDlgString(HWND, std::int32_t, const char*) {}
    virtual void SetDlgStringUtf16(HWND, std::int32_t, const char16_t*) {}

    // Selection and document.
    virtual std::int16_t SlotToInst(std::int16_t, std::int16_t) { return 0; }
    virtual void GetCurERegions(std::int32_t*, NXRegionRecord*, NXRegionRecord*) {}
    virtual void RedrawMusic(NXRegionRecord*) {}
    virtual std::int16_t GetCurrentOstrinDocument() { return 0; }

    // Edits, commands and windows.
    virtual std::int32_t StartEdit(const char16_t*) { return 0; }
    virtual std::int32_t EndEdit() { return 0; }
    virtual void CancelEdit() {}
    virtual void ExecuteMenuItem(std::int32_t) {}
    virtual HWND GetCurrentWindow() { return nullptr; }

    // Not services: what the substitute host tells its service layer and its tests. Whether the
    // host lacks a service (its lookup by name then fails), and whether an edit is open.
    virtual bool Lacks(nx::Service) const { return false; }
    virtual bool EditOpen() const { return false; }
};

}  // namespace simhost
