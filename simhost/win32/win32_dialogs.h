// The substitute host's windows and dialog services on the real USER32: the host's main frame
// window with a document view inside it, the NX_ dialog services on real dialogs, one of the
// host's own modal dialogs on demand, and the message pump. The Windows twin of the headless
// HeadlessDialogs; WithWin32Dialogs forwards a HostBackend's dialog half to it.
//
// The main window tells the pop-ups it owns when it is enabled or disabled (message 0x036D
// with 0x04 or 0x08), as the frame windows of class-library hosts do. Everything runs on the
// thread that made this object.
#pragma once

#include <cstdint>
#include <windows.h>

#include "host/services/nx_types.h"
#include "simhost/services/host_window_codes.h"

namespace simhost::win32 {

class Win32Dialogs {
public:
    Win32Dialogs();
    // Destroys whatever dialog is still open, then the main window.
    ~Win32Dialogs();
    Win32Dialogs(const Win32Dialogs&) = delete;
    Win32Dialogs& operator=(const Win32Dialogs&) = delete;

    // NX_Dialog: the modeless dialog `resourceId` of the module the procedure lives in, owned
    // by the main window, shown.
    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user);
    void EndDialog(HWND dialog);
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable);
    // Kind 1 is the check state, kind 3 the item's text as a signed number; others answer 0.
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind);
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value);
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity);
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer, std::int32_t capacity);
    void SetDlgString(HWND dialog, std::int32_t item, const char* text);
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text);
    HWND GetCurrentWindow() const { return documentView_; }

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindowEnabled(bool enabled);
    // One of the host's modal dialogs, run by DialogBoxIndirectParamW: it disables the main
    // window, comes up, ends itself from its own message loop and enables the main window again.
    void RunHostModal();
    // Delivers what is queued, as the host's message loop does between user actions.
    void PumpMessages();
    // The dialog NX_Dialog created last, while it exists; null otherwise.
    HWND OpenDialog() const;
    const char* LastError() const { return lastError_; }

private:
    HWND mainWindow_ = nullptr;
    HWND documentView_ = nullptr;
    HWND lastDialog_ = nullptr;
    const char* lastError_ = "";
};

}  // namespace simhost::win32
