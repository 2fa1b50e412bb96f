// A HostBackend whose dialog and window services are those of a HeadlessDialogs; the record,
// document and edit services keep HostBackend's empty answers. The document host combines
// both sides by deriving from its own backend and forwarding these same methods.
#pragma once

#include "simhost/headless/headless_dialogs.h"
#include "simhost/services/host_backend.h"

namespace simhost {

class DialogBackend : public HostBackend {
public:
    explicit DialogBackend(headless::HeadlessDialogs& dialogs) : dialogs_(dialogs) {}

    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user) override;
    void EndDialog(HWND dialog) override;
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) override;
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) override;
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                       std::int32_t value) override;
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) override;
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                           std::int32_t capacity) override;
    void SetDlgString(HWND dialog, std::int32_t item, const char* text) override;
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) override;
    HWND GetCurrentWindow() override;

    headless::HeadlessDialogs& Dialogs() { return dialogs_; }

private:
    headless::HeadlessDialogs& dialogs_;
};

}  // namespace simhost
