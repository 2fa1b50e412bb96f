// The Desktop's activation, focus and enabled-state rules.
#include <algorithm>

#include "simhost/headless/desktop.h"
#include "simhost/headless/desktop_internal.h"

namespace simhost::headless {

using namespace detail;

namespace {

WPARAM ActivateParam(WORD state, bool minimized) {
    return MAKEWPARAM(state, static_cast<WORD>(minimized ? 1 : 0));
}

}  // namespace

// The window losing the activation hears of it first (WM_NCACTIVATE, WM_ACTIVATE with
// WA_INACTIVE), then the new one; the new one's default processing takes the focus.
void Desktop::Activate(HWND handle, WORD how) {
    if (const Window* window = Find(handle); window != nullptr && (window->style & WS_CHILD)) {
        return;  // child windows are not activated
    }
    if (handle != nullptr && Find(handle) == nullptr) return;
    if (handle == active_) return;
    const HWND previous = active_;
    active_ = handle;
    if (const Window* old = Find(previous)) {
        const bool minimized = IsMinimized(*old);
        Send(previous, WM_NCACTIVATE, FALSE, Pointer(handle));
        Send(previous, WM_ACTIVATE, ActivateParam(WA_INACTIVE, minimized), Pointer(handle));
    }
    if (const Window* now = Find(handle); now != nullptr && active_ == handle) {
        const bool minimized = IsMinimized(*now);
        Send(handle, WM_NCACTIVATE, TRUE, Pointer(previous));
        Send(handle, WM_ACTIVATE, ActivateParam(how, minimized), Pointer(previous));
    } else if (handle == nullptr) {
        SetFocus(nullptr);
    }
}

// Hands the activation on when the active window is hidden, minimised or destroyed: to its
// owner when that can take it, else to another visible, enabled top-level window.
void Desktop::ActivateOther(HWND leaving) {
    const auto eligible = [&](const Window* w) {
        return w != nullptr && w->handle != leaving && !(w->style & WS_CHILD) &&
               (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) && !IsMinimized(*w);
    };
    HWND next = nullptr;
    if (const Window* window = Find(leaving); window != nullptr && eligible(Find(window->owner))) {
        next = window->owner;
    } else {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (it->second->alive && eligible(it->second.get())) {
                next = it->second->handle;
                break;
            }
        }
    }
    Activate(next, WA_ACTIVE);
}

void Desktop::SetFocus(HWND handle) {
    if (handle != nullptr && Find(handle) == nullptr) return;
    if (handle == focus_) return;
    const HWND previous = focus_;
    focus_ = handle;
    if (Find(previous) != nullptr) NotifyFocus(previous, false);
    if (Find(handle) != nullptr && focus_ == handle) NotifyFocus(handle, true);
}

// List boxes with LBS_NOTIFY and buttons with BS_NOTIFY tell their dialog about the focus.
void Desktop::NotifyFocus(HWND control, bool gained) {
    const Window* window = Find(control);
    if (window == nullptr || !(window->style & WS_CHILD)) return;
    WORD code = 0;
    if (window->kind == WindowKind::ListBox && (window->style & LBS_NOTIFY)) {
        code = gained ? LBN_SETFOCUS : LBN_KILLFOCUS;
    } else if (window->kind == WindowKind::Button && (window->style & BS_NOTIFY)) {
        code = gained ? BN_SETFOCUS : BN_KILLFOCUS;
    } else {
        return;
    }
    Send(window->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(window->id), code),
         Pointer(control));
}

HWND Desktop::FirstTabStop(const Window& dialog) const {
    for (const HWND child : dialog.children) {
        const Window* control = Find(child);
        if (control != nullptr && (control->style & WS_TABSTOP) && (control->style & WS_VISIBLE) &&
            !(control->style & WS_DISABLED)) {
            return child;
        }
    }
    return nullptr;
}

// The dialog manager gives the focus back to the control that had it when the dialog was
// last deactivated, else to the first tab stop.
void Desktop::RestoreDialogFocus(Window& dialog) {
    HWND target = dialog.savedFocus;
    const Window* saved = Find(target);
    if (saved == nullptr || saved->parent != dialog.handle || !(saved->style & WS_VISIBLE) ||
        (saved->style & WS_DISABLED)) {
        target = FirstTabStop(dialog);
    }
    dialog.savedFocus = target;
    SetFocus(target != nullptr ? target : dialog.handle);
}

// WM_CANCELMODE and the disabled style come before WM_ENABLE(FALSE); a disabled window cannot
// keep the focus.
bool Desktop::Enable(HWND handle, bool enable) {
    Window* window = Find(handle);
    if (window == nullptr) return false;
    const bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        Send(handle, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Send(handle, WM_CANCELMODE, 0, 0);
        window = Find(handle);
        if (window == nullptr) return false;
        window->style |= WS_DISABLED;
        if (focus_ == handle) SetFocus(nullptr);
        Send(handle, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

}  // namespace simhost::headless
