// The USER32 functions the extension imports, answered by the current Desktop. Without one
// every call fails as it does for a handle that is not a window.
#include "platform/win_api.h"
#include "simhost/headless/desktop.h"

using simhost::headless::Desktop;
using simhost::headless::Window;

namespace {

Window* Find(HWND handle) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->Find(handle) : nullptr;
}

LRESULT SendItem(HWND dialog, INT item, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    Desktop* desktop = Desktop::Current();
    if (desktop == nullptr) return 0;
    const HWND control = desktop->DialogItem(dialog, item);
    if (control == nullptr) return 0;
    return desktop->SendText(control, message, wParam, lParam, wide);
}

}  // namespace

extern "C" {

BOOL WINAPI ShowWindow(HWND window, INT command) {
    Desktop* desktop = Desktop::Current();
    return desktop && desktop->ShowWindow(window, command) ? TRUE : FALSE;
}

HWND WINAPI SetActiveWindow(HWND window) {
    Desktop* desktop = Desktop::Current();
    if (desktop == nullptr) return nullptr;
    const HWND previous = desktop->Active();
    const Window* target = desktop->Find(window);
    if (window != nullptr && target == nullptr) return nullptr;
    // Asked for a child window, Windows answers the active window and changes nothing.
    if (target != nullptr && (target->style & WS_CHILD)) return previous;
    desktop->Activate(window, WA_ACTIVE);
    return previous;
}

BOOL WINAPI IsWindowVisible(HWND window) {
    const Window* w = Find(window);
    return w && Desktop::Current()->IsVisible(*w) ? TRUE : FALSE;
}

BOOL WINAPI GetWindowRect(HWND window, RECT* rect) {
    const Window* w = Find(window);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = Desktop::Current()->ScreenRect(*w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND window, RECT* rect) {
    const Window* w = Find(window);
    if (w == nullptr || rect == nullptr) return FALSE;
    const RECT client = Desktop::Current()->ClientScreenRect(*w);
    *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND window, POINT* point) {
    const Window* w = Find(window);
    if (w == nullptr || point == nullptr) return FALSE;
    const POINT origin = Desktop::Current()->ClientOrigin(*w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, INT x, INT y, INT cx, INT cy, UINT flags) {
    Desktop* desktop = Desktop::Current();
    return desktop && desktop->SetWindowPos(window, insertAfter, x, y, cx, cy, flags) ? TRUE
                                                                                      : FALSE;
}

HDWP WINAPI BeginDeferWindowPos(INT count) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->BeginDefer(count) : nullptr;
}

HDWP WINAPI DeferWindowPos(HDWP batch, HWND window, HWND insertAfter, INT x, INT y, INT cx, INT cy,
                           UINT flags) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->Defer(batch, window, insertAfter, x, y, cx, cy, flags) : nullptr;
}

BOOL WINAPI EndDeferWindowPos(HDWP batch) {
    Desktop* desktop = Desktop::Current();
    return desktop && desktop->EndDefer(batch) ? TRUE : FALSE;
}

HWND WINAPI GetDlgItem(HWND dialog, INT item) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->DialogItem(dialog, item) : nullptr;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT* /*rect*/, BOOL /*erase*/) {
    Desktop* desktop = Desktop::Current();
    if (desktop == nullptr) return FALSE;
    // A null window stands for the whole screen.
    if (window == nullptr) {
        desktop->InvalidateScreen();
        return TRUE;
    }
    Window* w = desktop->Find(window);
    if (w == nullptr) return FALSE;
    ++w->invalidations;
    return TRUE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
    const Window* w = Find(window);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    Desktop* desktop = Desktop::Current();
    return desktop && desktop->Enable(window, enable != FALSE) ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND window) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->ParentOf(window) : nullptr;
}

LONG WINAPI GetWindowLongW(HWND window, INT index) {
    const Window* w = Find(window);
    if (w == nullptr) return 0;
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(w->exStyle);
        case GWL_ID:
            return w->id;
        default:
            return 0;
    }
}

INT WINAPI GetSystemMetrics(INT index) {
    Desktop* desktop = Desktop::Current();
    return desktop ? desktop->SystemMetric(index) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, INT item, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    return SendItem(dialog, item, message, wParam, lParam, false);
}

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, INT item, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    return SendItem(dialog, item, message, wParam, lParam, true);
}

BOOL WINAPI MessageBeep(UINT type) {
    Desktop* desktop = Desktop::Current();
    return desktop && desktop->Beep(type) ? TRUE : FALSE;
}
}
