// The dialog and window services of a host's dialogs (the headless ones, or those on the real
// USER32) on top of any HostBackend: over HostBackend itself for tests of windows alone, over
// DocumentBackend for the whole host. The record, document and edit services stay those of the
// base.
#pragma once

#include <utility>

#include "simhost/services/host_backend.h"

namespace simhost {

template <typename Dialogs, typename Base>
class WithDialogs : public Base {
public:
    template <typename... BaseArgs>
    explicit WithDialogs(Dialogs& dialogs, BaseArgs&&... args)
        : Base(std::forward<BaseArgs>(args)...), dialogs_(dialogs) {}

    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user) override {
        dialogs_.Dialog(resourceId, proc, context, zero, user);
    }
    void EndDialog(HWND dialog) override { dialogs_.EndDialog(dialog); }
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) override {
        dialogs_.EnableDlgItem(dialog, item, enable);
    }
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) override {
        return dialogs_.GetDlgItemVal(dialog, item, kind);
    }
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                       std::int32_t value) override {
        dialogs_.SetDlgItemVal(dialog, item, kind, value);
    }
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                      std::int32_t capacity) override {
        dialogs_.GetDlgString(dialog, item, buffer, capacity);
    }
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                           std::int32_t capacity) override {
        dialogs_.GetDlgStringUtf16(dialog, item, buffer, capacity);
    }
    void SetDlgString(HWND dialog, std::int32_t item, const char* text) override {
        dialogs_.SetDlgString(dialog, item, text);
    }
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) override {
        dialogs_.SetDlgStringUtf16(dialog, item, text);
    }
    HWND GetCurrentWindow() override { return dialogs_.GetCurrentWindow(); }

private:
    Dialogs& dialogs_;
};

}  // namespace simhost
