#include "simhost/services/dialog_backend.h"

namespace simhost {

void DialogBackend::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                           std::int32_t zero, void* user) {
    dialogs_.Dialog(resourceId, proc, context, zero, user);
}

void DialogBackend::EndDialog(HWND dialog) { dialogs_.EndDialog(dialog); }

void DialogBackend::EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    dialogs_.EnableDlgItem(dialog, item, enable);
}

std::int32_t DialogBackend::GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    return dialogs_.GetDlgItemVal(dialog, item, kind);
}

void DialogBackend::SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                  std::int32_t value) {
    dialogs_.SetDlgItemVal(dialog, item, kind, value);
}

void DialogBackend::GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                                 std::int32_t capacity) {
    dialogs_.GetDlgString(dialog, item, buffer, capacity);
}

void DialogBackend::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                      std::int32_t capacity) {
    dialogs_.GetDlgStringUtf16(dialog, item, buffer, capacity);
}

void DialogBackend::SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    dialogs_.SetDlgString(dialog, item, text);
}

void DialogBackend::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    dialogs_.SetDlgStringUtf16(dialog, item, text);
}

HWND DialogBackend::GetCurrentWindow() { return dialogs_.GetCurrentWindow(); }

}  // namespace simhost
