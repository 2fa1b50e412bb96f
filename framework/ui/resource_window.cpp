#include "framework/ui/resource_window.h"

#include <algorithm>
#include <vector>

#include "host/services/nx_services.h"

namespace {

constexpr UINT kKeepZOrder = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// Every window object alive; there are one or two, so a list does.
std::vector<const NCResourceWindow*>& LiveWindows() {
    static std::vector<const NCResourceWindow*> windows;
    return windows;
}

}  // namespace

NCResourceWindow::NCResourceWindow() { LiveWindows().push_back(this); }

NCResourceWindow::~NCResourceWindow() {
    // First, so that the messages of ending the dialog do not reach a window half taken down.
    std::erase(LiveWindows(), this);
    EndDialog();
    DeleteAll();
}

bool NCResourceWindow::IsLive(const void* user) {
    const auto& windows = LiveWindows();
    return user != nullptr && std::find(windows.begin(), windows.end(), user) != windows.end();
}

void NCResourceWindow::EndDialog() {
    if (dialogHandle_ == nullptr) return;
    if (IsWindowVisible(dialogHandle_)) NX_EndDialog(dialogHandle_);
    dialogProcedure_ = nullptr;
    dialogHandle_ = nullptr;
}

void NCResourceWindow::CloseWindow() {
    closed_ = true;
    EndDialog();
}

void NCResourceWindow::InitWindow() {
    closed_ = false;
    RECT window{};
    GetWindowRect(dialogHandle_, &window);
    maxTrackWidth_ = minTrackWidth_ = window.right - window.left;
    maxTrackHeight_ = minTrackHeight_ = window.bottom - window.top;
    RECT client{};
    GetClientRect(dialogHandle_, &client);
    lastClientWidth_ = client.right - client.left;
    lastClientHeight_ = client.bottom - client.top;
}

void NCResourceWindow::CancelPressed() {
    resultCode_ = kCancel;
    if (!closed_) CloseWindow();
}

void NCResourceWindow::OkPressed() {
    resultCode_ = kOk;
    if (!closed_) CloseWindow();
}

void NCResourceWindow::ThirdButtonPressed() { CancelPressed(); }

bool NCResourceWindow::HandleCommand(NCControl* /*control*/) { return false; }

void NCResourceWindow::HandleSpinStep(NCControl* /*control*/, std::int32_t /*step*/) {}

void NCResourceWindow::HandleTimer(std::uint32_t /*timerId*/) {}

void NCResourceWindow::HandleActivate(bool /*active*/) {}

void NCResourceWindow::HandleResize(std::int32_t /*newWidth*/, std::int32_t /*newHeight*/,
                                    std::int32_t /*oldWidth*/, std::int32_t /*oldHeight*/) {}

NCControl* NCResourceWindow::ControlAt(std::int32_t index) const {
    return dynamic_cast<NCControl*>(ItemAt(index));
}

NCControl* NCResourceWindow::FindControl(std::int32_t id) const {
    for (std::int32_t i = 0; i < Count(); ++i) {
        NCControl* control = ControlAt(i);
        if (control != nullptr && static_cast<std::int32_t>(control->Id()) == id) return control;
    }
    return nullptr;
}

void NCResourceWindow::FollowHostEnabled() {
    HWND top = NX_GetCurrentWindow();
    while (top != nullptr) {
        HWND parent = GetParent(top);
        if (parent == nullptr) break;
        top = parent;
    }
    // Without a current window there is no top window, which counts as disabled.
    const bool enabled = top != nullptr && IsWindowEnabled(top) != 0;
    EnableWindow(dialogHandle_, enabled ? TRUE : FALSE);
}

void NCResourceWindow::SaveGeometry() {
    RECT window{};
    GetWindowRect(dialogHandle_, &window);
    savedLeft_ = window.left;
    savedTop_ = window.top;
    savedWidth_ = window.right - window.left;
    savedHeight_ = window.bottom - window.top;
    geometrySaved_ = true;
    sizeSaved_ = true;
}

bool NCResourceWindow::RestoreGeometry() {
    if (!geometrySaved_) return false;
    UINT flags = kKeepZOrder;
    if (sizeSaved_) {
        savedWidth_ = std::max(savedWidth_, minTrackWidth_);
        savedHeight_ = std::max(savedHeight_, minTrackHeight_);
    } else {
        flags |= SWP_NOSIZE;
    }
    // The saved position is taken as it is, even if the screen has changed since.
    SetWindowPos(dialogHandle_, nullptr, savedLeft_, savedTop_, savedWidth_, savedHeight_, flags);
    geometryRestored_ = true;
    return true;
}

void NCResourceWindow::BeginDeferredLayout() {
    for (std::int32_t i = 0; i < Count(); ++i) {
        if (NCControl* control = ControlAt(i)) control->ClearPending();
    }
    deferringLayout_ = true;
}

bool NCResourceWindow::ApplyDeferredLayout() {
    if (!deferringLayout_ || dialogHandle_ == nullptr) return false;
    std::int32_t pending = 0;
    for (std::int32_t i = 0; i < Count(); ++i) {
        const NCControl* control = ControlAt(i);
        if (control != nullptr && (control->MovePending() || control->SizePending())) ++pending;
    }
    if (pending == 0) return false;
    HDWP batch = BeginDeferWindowPos(pending);
    if (batch == nullptr) return false;
    for (std::int32_t i = 0; i < Count(); ++i) {
        const NCControl* control = ControlAt(i);
        if (control == nullptr || !(control->MovePending() || control->SizePending())) continue;
        UINT flags = kKeepZOrder;
        if (!control->MovePending()) flags |= SWP_NOMOVE;
        if (!control->SizePending()) flags |= SWP_NOSIZE;
        // A failed batch is given up; the pending flags stay for the next resize to clear.
        batch = DeferWindowPos(batch, control->Item(), nullptr, control->PendingLeft(),
                               control->PendingTop(), control->PendingWidth(),
                               control->PendingHeight(), flags);
        if (batch == nullptr) return false;
    }
    EndDeferWindowPos(batch);
    for (std::int32_t i = 0; i < Count(); ++i) {
        if (NCControl* control = ControlAt(i)) control->ClearPending();
    }
    deferringLayout_ = false;
    return true;
}
