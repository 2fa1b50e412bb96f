// The host scenarios run on under Windows (or Wine): a document with its services exported by
// NOTAVO.EXE, the host's windows and dialogs on the real USER32, and the extension module
// loaded with LoadLibraryW when the user first chooses its menu item. User actions are real
// messages to real windows, pumped through the host's message loop after each one.
#pragma once

#include <memory>
#include <string>

#include "simhost/scenario/scenario_host.h"
#include "simhost/services/document_backend.h"
#include "simhost/services/service_layer.h"
#include "simhost/win32/beep_recorder.h"
#include "simhost/win32/win32_dialog_backend.h"
#include "simhost/win32/win32_dialogs.h"
#include "simhost/win32/win32_module.h"

namespace simhost::win32 {

class Win32ScenarioHost : public scenario::ScenarioHost {
public:
    // The service layer is current while this host lives.
    explicit Win32ScenarioHost(std::wstring modulePath);
    // Terminates the extension before it is freed, as the host does when it quits.
    ~Win32ScenarioHost() override;

    DocumentBackend& Backend() override { return backend_; }
    void SetDocument(Document document) override;
    bool Invoke(std::uint32_t hostVersion) override;
    bool Terminate() override;
    std::string Error() const override { return error_; }

    bool ChooseRow(std::int32_t row) override;
    bool DoubleClickRow(std::int32_t row) override;
    bool ClearListSelection() override;
    bool Click(std::int32_t item) override;
    bool UseCloseBox() override;
    bool DragBottomTo(std::int32_t height) override;
    bool DragRightTo(std::int32_t width) override;
    bool MoveTo(std::int32_t left, std::int32_t top) override;
    bool Minimise() override;
    bool Restore() override;
    void SetMainWindowEnabled(bool enabled) override { dialogs_.SetMainWindowEnabled(enabled); }
    void RunHostModal() override { dialogs_.RunHostModal(); }

    bool DialogOpen() override { return dialogs_.OpenDialog() != nullptr; }
    bool DialogEnabled() override;
    std::vector<std::string> Rows() override;
    std::int32_t SelectedRow() override;
    std::string ItemText(std::int32_t item) override;
    std::int32_t CheckState(std::int32_t item) override;
    scenario::Rect WindowRect() override;
    scenario::Rect ItemRect(std::int32_t item) override;
    std::int32_t FullScreenHeight() override { return GetSystemMetrics(SM_CYFULLSCREEN); }
    std::vector<std::uint32_t> Beeps() override { return beeps_.Beeps(); }

    Win32Dialogs& Dialogs() { return dialogs_; }
    ServiceLayer& Services() { return services_; }

private:
    bool Load(std::uint32_t hostVersion);
    // The dialog is there, shown, enabled and not minimised; an inactive one is activated, as
    // the click that reaches it would.
    HWND Reachable();
    // As Reachable, and the control is there, shown and enabled.
    HWND ReachableControl(std::int32_t item);
    // Drags the window to `target` through the sizing loop's messages.
    bool Track(WPARAM edge, RECT target, bool sizing);
    // Drags the bottom (WMSZ_BOTTOM) or the right edge so that the window is `extent` high or
    // wide.
    bool DragEdge(WPARAM edge, std::int32_t extent);

    std::wstring modulePath_;
    Win32Dialogs dialogs_;
    WithWin32Dialogs<DocumentBackend> backend_{dialogs_};
    ServiceLayer services_{backend_};
    ServiceLayer* previousLayer_ = nullptr;
    BeepRecorder beeps_;
    std::unique_ptr<Win32Module> module_;
    std::string error_;
};

}  // namespace simhost::win32
