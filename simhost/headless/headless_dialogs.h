// The substitute host's windows and dialog services on Linux: a screen (the current Desktop,
// for as long as this object lives), the host's main window with a document view inside it,
// the NX_ dialog services answered through the USER32 stand-in, and a way to put up one of the
// host's own modal dialogs. Independent of any HostBackend: DialogBackend forwards to it.
//
// The host's main window is a frame window that tells the pop-ups it owns when it is enabled
// or disabled (message 0x036D with FS_ENABLE or FS_DISABLE), as frame windows of class-library
// hosts do; a Win32 host that stands in for this one must do the same.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "simhost/headless/desktop.h"
#include "simhost/headless/dialog_builder.h"
#include "simhost/headless/resource_script.h"

namespace simhost::headless {

struct HeadlessConfig {
    ScreenConfig screen;
    FrameMetrics metrics;
    // The host's main window, an overlapped window with caption and sizing border.
    RECT mainWindow{0, 0, 800, 600};
    bool mainWindowNotifiesPopups = true;
    // The extension module's resource script; by default the note spacing dialog's.
    std::string resourceScript = DefaultResourceScript();
    // Overrides the base units of the template's font.
    std::optional<BaseUnits> baseUnits;

    static std::string DefaultResourceScript();
};

class HeadlessDialogs {
public:
    explicit HeadlessDialogs(HeadlessConfig config = {});
    ~HeadlessDialogs();
    HeadlessDialogs(const HeadlessDialogs&) = delete;
    HeadlessDialogs& operator=(const HeadlessDialogs&) = delete;

    // NX_Dialog: creates the modeless dialog `resourceId` of the resource script, owned by the
    // main window, and forwards every message to proc with `user` as the fifth argument (the
    // user pointer is also WM_INITDIALOG's lParam). An unknown id or an unreadable script
    // creates nothing and leaves the reason in LastError().
    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user);
    // NX_EndDialog: destroys the modeless dialog.
    void EndDialog(HWND dialog);
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable);
    // Kind 1 is the check state, kind 3 the item's text as a signed number; others answer 0.
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind);
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value);
    // At most capacity - 1 characters and a terminator; an unknown item gives "".
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity);
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer, std::int32_t capacity);
    void SetDlgString(HWND dialog, std::int32_t item, const char* text);
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text);
    // NX_GetCurrentWindow: the document view, unless a test chose another window (or none).
    HWND GetCurrentWindow() const { return currentWindow_; }

    // The host's side.
    Desktop& Screen() { return desktop_; }
    HWND MainWindow() const { return mainWindow_; }
    HWND DocumentView() const { return documentView_; }
    void SetCurrentWindow(HWND window) { currentWindow_ = window; }
    // The host disables or enables its main window, as it does around its own modal work.
    void SetMainWindowEnabled(bool enabled);
    // One of the host's modal dialogs, as DialogBox runs it: the main window is disabled, the
    // modal dialog shown and activated; `whileOpen` runs while it is up; then the main window
    // is enabled again, the modal dialog hidden (the activation goes back to the main window)
    // and destroyed.
    void RunHostModal(const std::function<void()>& whileOpen);
    // The user clicks into the main window.
    void ActivateMainWindow();
    // Delivers posted messages, as the host's message loop does between user actions.
    void PumpMessages() { desktop_.PumpPosted(); }

    // The dialog NX_Dialog created last, while it exists; null otherwise.
    HWND OpenDialog() const;
    const std::string& LastError() const { return lastError_; }
    const std::vector<LoggedMessage>& MessageLog() const { return desktop_.MessageLog(); }
    const std::vector<UINT>& Beeps() const { return desktop_.Beeps(); }

private:
    const ResourceScript* Script();

    HeadlessConfig config_;
    Desktop desktop_;
    Desktop* previous_ = nullptr;
    HWND mainWindow_ = nullptr;
    HWND documentView_ = nullptr;
    HWND currentWindow_ = nullptr;
    HWND lastDialog_ = nullptr;
    std::optional<ResourceScript> script_;
    std::string lastError_;
};

}  // namespace simhost::headless
