// Windows over the host's dialogs. A resource window stands for one dialog of the module's
// resources: the host creates the dialog (NX_Dialog) and calls ResourceWindowDialogProc for
// every message, passing the window object back, and the procedure turns the messages into the
// virtual operations below. The window owns its control objects as the items of its
// collection; it keeps the dialog's tracking limits, remembers and restores its position and
// size, batches control moves during a resize, and keeps the modeless dialog disabled while
// the host's top-level window is. Everything runs on the host's UI thread.
#pragma once

#include <cstdint>

#include "framework/core/nc_collection.h"
#include "framework/ui/control.h"
#include "host/services/nx_types.h"

// The common root of the window classes; every window of this module is a resource window.
class NCUserWindow : public __NCCollection {
protected:
    NCUserWindow() = default;
};

class NCResourceWindow : public NCUserWindow {
public:
    // What closed the dialog last.
    enum ResultCode : std::int16_t { kNoResult = 0, kOk = 1, kCancel = 2 };

    NCResourceWindow();
    // Ends a dialog that is still visible, then deletes the controls.
    ~NCResourceWindow() override;

    // Whether `user` is a window object that exists now. A dialog the host could not end (no
    // NX_EndDialog) outlives its window, and the host keeps handing the procedure the pointer
    // it was given; such messages must be dropped, not sent to freed memory.
    static bool IsLive(const void* user);

    // Sets closed; ends the dialog through the host when it is visible; forgets the dialog
    // handle and the procedure.
    virtual void CloseWindow();
    // On WM_INITDIALOG, after the handle is stored: clears closed, pins the tracking limits to
    // the window's current size and records the client size.
    virtual void InitWindow();
    // Result code 2, then CloseWindow unless the window is closed already.
    virtual void CancelPressed();
    // Result code 1, then CloseWindow unless the window is closed already.
    virtual void OkPressed();
    // As CancelPressed.
    virtual void ThirdButtonPressed();
    // A command from a control of command kind 0, or from an item without a control object
    // (null). Answers whether it was handled.
    virtual bool HandleCommand(NCControl* control);
    virtual void HandleSpinStep(NCControl* control, std::int32_t step);
    virtual void HandleTimer(std::uint32_t timerId);
    virtual void HandleActivate(bool active);
    // The client area changed size while the dialog is in its restored state.
    virtual void HandleResize(std::int32_t newWidth, std::int32_t newHeight, std::int32_t oldWidth,
                              std::int32_t oldHeight);
    // Routes the common-control notifications of this window's controls; always false.
    virtual bool HandleNotify(std::uint32_t controlId, NMHDR* header);

    // The first control with that id (sign-extended), or null.
    NCControl* FindControl(std::int32_t id) const;
    // Enables the dialog exactly when the host's top-level window is enabled: the host's
    // current window, climbed by GetParent to the top. No current window disables it.
    void FollowHostEnabled();
    // Remembers the window rectangle's position and size.
    void SaveGeometry();
    // Puts the dialog back where it was saved, no smaller than the minimum tracking size.
    // False when nothing was saved.
    bool RestoreGeometry();
    // Applies every recorded control move and resize in one deferred batch. False (and
    // nothing cleared) when not deferring, without a dialog, with nothing recorded or when the
    // batch fails.
    bool ApplyDeferredLayout();
    // Clears every control's recorded layout and starts deferring, as a HandleResize does
    // before it moves the controls.
    void BeginDeferredLayout();

    std::int16_t ResultCodeValue() const { return resultCode_; }
    HWND DialogHandle() const { return dialogHandle_; }
    std::int32_t MaxTrackWidth() const { return maxTrackWidth_; }
    std::int32_t MinTrackWidth() const { return minTrackWidth_; }
    std::int32_t MaxTrackHeight() const { return maxTrackHeight_; }
    std::int32_t MinTrackHeight() const { return minTrackHeight_; }
    void SetMaxTrackWidth(std::int32_t value) { maxTrackWidth_ = value; }
    void SetMinTrackWidth(std::int32_t value) { minTrackWidth_ = value; }
    void SetMaxTrackHeight(std::int32_t value) { maxTrackHeight_ = value; }
    void SetMinTrackHeight(std::int32_t value) { minTrackHeight_ = value; }
    std::int32_t LastClientWidth() const { return lastClientWidth_; }
    std::int32_t LastClientHeight() const { return lastClientHeight_; }
    bool GeometrySaved() const { return geometrySaved_; }
    bool SizeSaved() const { return sizeSaved_; }
    std::int32_t SavedLeft() const { return savedLeft_; }
    std::int32_t SavedTop() const { return savedTop_; }
    std::int32_t SavedWidth() const { return savedWidth_; }
    std::int32_t SavedHeight() const { return savedHeight_; }
    bool DeferringLayout() const { return deferringLayout_; }
    void SetDeferringLayout(bool deferring) { deferringLayout_ = deferring; }
    bool Initialising() const { return initialising_; }
    bool GeometryRestored() const { return geometryRestored_; }
    bool Closed() const { return closed_; }
    // A command's work is running inside one of the window's handlers.
    bool Busy() const { return busy_; }
    std::int32_t DialogResourceId() const { return dialogResourceId_; }
    // The host gets the id as 16 bits; a subclass constructor sets it.
    void SetDialogResourceId(std::int32_t id) { dialogResourceId_ = id; }
    NXDialogProc DialogProcedure() const { return dialogProcedure_; }
    // The invoke path stores the procedure it hands to NX_Dialog.
    void SetDialogProcedure(NXDialogProc proc) { dialogProcedure_ = proc; }

protected:
    // Marks the window busy while it lives: the dialog procedure then drops the commands that
    // would close the dialog or start more work.
    class BusyScope {
    public:
        explicit BusyScope(NCResourceWindow& window) : window_(window) { window_.busy_ = true; }
        ~BusyScope() { window_.busy_ = false; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        NCResourceWindow& window_;
    };

    void SetResultCode(std::int16_t code) { resultCode_ = code; }
    void SetClosed(bool closed) { closed_ = closed; }
    // When there is a dialog: ends it through the host if it is visible, then forgets the
    // handle and the procedure. A subclass's CloseWindow finishes with it as this one does.
    void EndDialog();

private:
    NCControl* ControlAt(std::int32_t index) const;

    std::int16_t resultCode_ = kNoResult;
    HWND dialogHandle_ = nullptr;
    std::int32_t maxTrackWidth_ = 0;
    std::int32_t minTrackWidth_ = 0;
    std::int32_t maxTrackHeight_ = 0;
    std::int32_t minTrackHeight_ = 0;
    std::int32_t lastClientWidth_ = 0;
    std::int32_t lastClientHeight_ = 0;
    bool geometrySaved_ = false;
    std::int32_t savedLeft_ = 0;
    std::int32_t savedTop_ = 0;
    bool sizeSaved_ = false;
    std::int32_t savedWidth_ = 0;
    std::int32_t savedHeight_ = 0;
    bool deferringLayout_ = false;
    bool initialising_ = false;
    bool geometryRestored_ = false;
    bool closed_ = false;
    bool busy_ = false;
    std::int32_t dialogResourceId_ = 0;
    NXDialogProc dialogProcedure_ = nullptr;

    // The one place messages become operations; it stores the handle and the sizes it reads
    // off the messages.
    friend LRESULT WINAPI ResourceWindowDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                   LPARAM lParam, void* user);
};
