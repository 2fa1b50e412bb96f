#include "simhost/headless/desktop.h"

#include <algorithm>

#include "simhost/headless/control_messages.h"
#include "simhost/headless/desktop_internal.h"

namespace simhost::headless {

using namespace detail;

namespace {

Desktop*& CurrentDesktop() {
    static Desktop* desktop = nullptr;
    return desktop;
}

}  // namespace

Desktop::Desktop(ScreenConfig screen, FrameMetrics metrics) : screen_(screen), metrics_(metrics) {}

// Windows that outlive their desktop are simply dropped: the module that owned them may be
// gone already, so no message is sent.
Desktop::~Desktop() {
    if (CurrentDesktop() == this) CurrentDesktop() = nullptr;
}

Desktop* Desktop::Current() { return CurrentDesktop(); }

void Desktop::SetCurrent(Desktop* desktop) { CurrentDesktop() = desktop; }

HWND Desktop::Create(const WindowRequest& shape) {
    auto window = std::make_unique<Window>();
    nextHandle_ += 4;
    window->handle = Handle(nextHandle_);
    window->kind = shape.kind;
    window->className = shape.className;
    window->text = shape.text;
    window->style = shape.style;
    window->exStyle = shape.exStyle;
    window->id = shape.id;
    window->rect = shape.rect;
    window->normalRect = shape.rect;
    if (shape.style & WS_CHILD) {
        window->parent = shape.parent;
    } else {
        window->owner = shape.owner;
    }
    const HWND handle = window->handle;
    if (Window* parent = Find(window->parent)) parent->children.push_back(handle);
    windows_.emplace(nextHandle_, std::move(window));
    return handle;
}

Window* Desktop::Find(HWND handle) const {
    if (handle == nullptr) return nullptr;
    const auto it = windows_.find(Key(handle));
    if (it == windows_.end() || !it->second->alive) return nullptr;
    return it->second.get();
}

void Desktop::Bury(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) return;
    for (const HWND child : std::vector<HWND>(window->children)) Bury(child);
    // The object stays, so that a reference held across a message never dangles.
    window->alive = false;
    if (focus_ == handle) focus_ = nullptr;
    if (active_ == handle) active_ = nullptr;
    if (Window* parent = Find(window->parent)) std::erase(parent->children, handle);
}

void Desktop::ForgetHistory() {
    std::erase_if(windows_, [](const auto& entry) { return !entry.second->alive; });
    log_.clear();
    batches_.clear();
}

bool Desktop::Destroy(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) return false;
    if (window->style & WS_VISIBLE) {
        // Only child windows are sent WM_SHOWWINDOW when they are destroyed.
        if (window->style & WS_CHILD) {
            ShowWindow(handle, SW_HIDE);
        } else {
            SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        }
    }
    if (Find(handle) == nullptr) return true;
    for (const HWND owned : OwnedWindows(handle)) Destroy(owned);
    if (active_ == handle) ActivateOther(handle);
    window = Find(handle);
    if (window == nullptr) return true;
    // The focus leaves quietly: the window and its children are going.
    for (HWND f = focus_; f != nullptr; f = ParentOf(f)) {
        if (f == handle) {
            focus_ = nullptr;
            break;
        }
        const Window* w = Find(f);
        if (w == nullptr || !(w->style & WS_CHILD)) break;
    }
    Send(handle, WM_DESTROY, 0, 0);
    if (Window* still = Find(handle)) {
        for (const HWND child : std::vector<HWND>(still->children)) Send(child, WM_DESTROY, 0, 0);
    }
    Send(handle, WM_NCDESTROY, 0, 0);
    Bury(handle);
    return true;
}

HWND Desktop::DialogItem(HWND dialog, std::int32_t id) const {
    const Window* window = Find(dialog);
    if (window == nullptr) return nullptr;
    for (const HWND child : window->children) {
        const Window* control = Find(child);
        if (control != nullptr && control->id == id) return child;
    }
    return nullptr;
}

HWND Desktop::ParentOf(HWND handle) const {
    const Window* window = Find(handle);
    if (window == nullptr) return nullptr;
    if (window->style & WS_CHILD) return Find(window->parent) ? window->parent : nullptr;
    if (window->style & WS_POPUP) return Find(window->owner) ? window->owner : nullptr;
    return nullptr;
}

std::vector<HWND> Desktop::OwnedWindows(HWND owner) const {
    std::vector<HWND> owned;
    for (const auto& [key, window] : windows_) {
        if (window->alive && window->owner == owner && !(window->style & WS_CHILD)) {
            owned.push_back(window->handle);
        }
    }
    return owned;
}

RECT Desktop::WorkArea() const {
    return RECT{0, 0, screen_.width, screen_.height - screen_.taskbarHeight};
}

std::int32_t Desktop::SystemMetric(INT index) const {
    const RECT work = WorkArea();
    switch (index) {
        case SM_CXSCREEN:
            return screen_.width;
        case SM_CYSCREEN:
            return screen_.height;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
            return metrics_.scrollBar;
        case SM_CYCAPTION:
            return metrics_.caption;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return metrics_.border;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return metrics_.dialogFrame;
        // The client area of a maximised window with a caption: the work area less the caption.
        case SM_CXFULLSCREEN:
            return Width(work);
        case SM_CYFULLSCREEN:
            return Height(work) - metrics_.caption;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return metrics_.frame;
        case SM_CXMINTRACK:
            return metrics_.minTrackWidth;
        case SM_CYMINTRACK:
            return metrics_.minTrackHeight;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return metrics_.edge;
        case SM_CXMINIMIZED:
            return metrics_.minimizedWidth;
        case SM_CYMINIMIZED:
            return metrics_.minimizedHeight;
        case SM_CXMAXTRACK:
            return screen_.width + 4 + 2 * metrics_.frame;
        case SM_CYMAXTRACK:
            return screen_.height + 4 + 2 * metrics_.frame;
        case SM_CXMAXIMIZED:
            return Width(work) + 2 * metrics_.frame;
        case SM_CYMAXIMIZED:
            return Height(work) + 2 * metrics_.frame;
        default:
            return 0;
    }
}

// As AdjustWindowRectEx: the outer edge, the sizing border, the thin border, then the caption.
RECT Desktop::FrameInsets(DWORD style, DWORD exStyle) const {
    std::int32_t inset = 0;
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE) {
        inset = metrics_.border;
    } else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME))) {
        inset = metrics_.edge;
    }
    if (style & WS_THICKFRAME) inset += metrics_.frame - metrics_.dialogFrame;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) {
        inset += metrics_.border;
    }
    RECT insets{inset, inset, inset, inset};
    if ((style & WS_CAPTION) == WS_CAPTION) insets.top += metrics_.caption;
    if (exStyle & WS_EX_CLIENTEDGE) {
        insets.left += metrics_.edge;
        insets.top += metrics_.edge;
        insets.right += metrics_.edge;
        insets.bottom += metrics_.edge;
    }
    return insets;
}

RECT Desktop::ScreenRect(const Window& window) const {
    RECT rect = window.rect;
    if (window.style & WS_CHILD) {
        if (const Window* parent = Find(window.parent)) {
            const POINT origin = ClientOrigin(*parent);
            rect.left += origin.x;
            rect.right += origin.x;
            rect.top += origin.y;
            rect.bottom += origin.y;
        }
    }
    return rect;
}

POINT Desktop::ClientOrigin(const Window& window) const {
    const RECT rect = ScreenRect(window);
    if (IsMinimized(window)) return POINT{rect.left, rect.top};
    const RECT insets = FrameInsets(window.style, window.exStyle);
    return POINT{rect.left + insets.left, rect.top + insets.top};
}

RECT Desktop::ClientScreenRect(const Window& window) const {
    const POINT origin = ClientOrigin(window);
    if (IsMinimized(window)) return RECT{origin.x, origin.y, origin.x, origin.y};
    const RECT rect = ScreenRect(window);
    const RECT insets = FrameInsets(window.style, window.exStyle);
    const std::int32_t width = std::max(0, Width(rect) - insets.left - insets.right);
    const std::int32_t height = std::max(0, Height(rect) - insets.top - insets.bottom);
    return RECT{origin.x, origin.y, origin.x + width, origin.y + height};
}

bool Desktop::IsVisible(const Window& window) const {
    const Window* w = &window;
    while (w != nullptr) {
        if (!(w->style & WS_VISIBLE)) return false;
        if (!(w->style & WS_CHILD)) return true;
        w = Find(w->parent);
    }
    return false;
}

LRESULT Desktop::Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendText(handle, message, wParam, lParam, true);
}

LRESULT Desktop::SendText(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    Window* window = Find(handle);
    if (window == nullptr) return 0;
    switch (window->kind) {
        case WindowKind::Dialog: {
            LRESULT result = 0;
            if (window->proc != nullptr) {
                log_.push_back(LoggedMessage{handle, message, wParam, lParam});
                result = window->proc(handle, message, wParam, lParam, window->user);
            }
            window = Find(handle);
            if (result == 0 && window != nullptr) {
                result = DefaultDialogProcessing(*window, message, wParam, lParam);
            }
            return result;
        }
        case WindowKind::Host:
            return HostWindowProcessing(*window, message, wParam, lParam);
        default:
            return ControlMessage(*window, message, wParam, lParam, wide);
    }
}

void Desktop::Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    posted_.push_back(LoggedMessage{handle, message, wParam, lParam});
}

void Desktop::PumpPosted() {
    while (!posted_.empty()) {
        const LoggedMessage next = posted_.front();
        posted_.erase(posted_.begin());
        Send(next.window, next.message, next.wParam, next.lParam);
    }
}

MINMAXINFO Desktop::MinMaxInfo(HWND handle) {
    MINMAXINFO info{};
    const Window* window = Find(handle);
    if (window == nullptr) return info;
    const RECT work = WorkArea();
    // A maximised window hangs its sizing border over the edges of the work area.
    const RECT insets = FrameInsets(window->style, window->exStyle);
    const std::int32_t xinc = insets.left;
    const std::int32_t yinc = insets.bottom;
    info.ptMaxSize = POINT{Width(work) + 2 * xinc, Height(work) + 2 * yinc};
    info.ptMaxPosition = POINT{work.left - xinc, work.top - yinc};
    info.ptMinTrackSize = POINT{SystemMetric(SM_CXMINTRACK), SystemMetric(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{SystemMetric(SM_CXMAXTRACK), SystemMetric(SM_CYMAXTRACK)};
    Send(handle, WM_GETMINMAXINFO, 0, Pointer(&info));
    // A maximum below the minimum gives way to the minimum.
    info.ptMaxTrackSize.x = std::max(info.ptMaxTrackSize.x, info.ptMinTrackSize.x);
    info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, info.ptMinTrackSize.y);
    return info;
}

// The dialog manager's part of DefDlgProc; everything else is DefWindowProc's.
LRESULT Desktop::DefaultDialogProcessing(Window& window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    const HWND handle = window.handle;
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                if (!IsMinimized(window)) RestoreDialogFocus(window);
            } else {
                for (HWND f = focus_; f != nullptr;) {
                    const Window* w = Find(f);
                    if (w == nullptr || !(w->style & WS_CHILD)) break;
                    if (w->parent == handle) {
                        window.savedFocus = f;
                        break;
                    }
                    f = w->parent;
                }
            }
            return 0;
        case WM_CLOSE:
            // A dialog closes as if its Cancel button had been pressed.
            Post(handle, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), BN_CLICKED),
                 Pointer(DialogItem(handle, IDCANCEL)));
            return 0;
        default:
            return HostWindowProcessing(window, message, wParam, lParam);
    }
}

LRESULT Desktop::HostWindowProcessing(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND handle = window.handle;
    switch (message) {
        case WM_WINDOWPOSCHANGING:
            if (lParam != 0) HandleWindowPosChanging(window, *reinterpret_cast<WINDOWPOS*>(lParam));
            return 0;
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                HandleWindowPosChanged(window, *reinterpret_cast<const WINDOWPOS*>(lParam));
            }
            return 0;
        case WM_QUERYOPEN:
        case WM_NCACTIVATE:
            return TRUE;
        case WM_ACTIVATE:
            if (window.kind == WindowKind::Host && LOWORD(wParam) != WA_INACTIVE &&
                !IsMinimized(window)) {
                SetFocus(handle);
            }
            return 0;
        case WM_CLOSE:
            Destroy(handle);
            return 0;
        case WM_ENABLE:
            if (window.notifiesOwnedPopups) {
                for (const HWND owned : OwnedWindows(handle)) {
                    Send(owned, kFloatStatusMessage,
                         wParam ? kFloatStatusEnable : kFloatStatusDisable, 0);
                }
            }
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    ShowWindow(handle, SW_MINIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(handle, SW_RESTORE);
                    break;
                case SC_CLOSE:
                    Send(handle, WM_CLOSE, 0, 0);
                    break;
                case SC_SIZE:
                case SC_MOVE:
                    SizeMoveLoop(handle, wParam);
                    break;
                default:
                    break;
            }
            return 0;
        default:
            return 0;
    }
}

// DefWindowProc keeps a window with a sizing border (or an overlapped one) inside the tracking
// limits its WM_GETMINMAXINFO answers; a minimised window only below the maximum.
void Desktop::HandleWindowPosChanging(Window& window, WINDOWPOS& pos) {
    if (pos.flags & SWP_NOSIZE) return;
    if (!(window.style & WS_THICKFRAME) && (window.style & (WS_POPUP | WS_CHILD))) return;
    const bool minimized = IsMinimized(window);
    const MINMAXINFO info = MinMaxInfo(window.handle);
    pos.cx = std::min(pos.cx, info.ptMaxTrackSize.x);
    pos.cy = std::min(pos.cy, info.ptMaxTrackSize.y);
    if (!minimized) {
        pos.cx = std::max(pos.cx, info.ptMinTrackSize.x);
        pos.cy = std::max(pos.cy, info.ptMinTrackSize.y);
    }
}

void Desktop::HandleWindowPosChanged(Window& window, const WINDOWPOS& pos) {
    const HWND handle = window.handle;
    if (!(pos.flags & kNoClientMove)) {
        POINT origin = ClientOrigin(window);
        if (window.style & WS_CHILD) {
            if (const Window* parent = Find(window.parent)) {
                const POINT parentOrigin = ClientOrigin(*parent);
                origin.x -= parentOrigin.x;
                origin.y -= parentOrigin.y;
            }
        }
        Send(handle, WM_MOVE, 0, PackPoint(origin.x, origin.y));
    }
    const Window* still = Find(handle);
    if (still == nullptr) return;
    if (!(pos.flags & kNoClientSize) || (pos.flags & kStateChanged)) {
        WPARAM kind = SIZE_RESTORED;
        if (still->style & WS_MINIMIZE) kind = SIZE_MINIMIZED;
        if (still->style & WS_MAXIMIZE) kind = SIZE_MAXIMIZED;
        const RECT client = ClientScreenRect(*still);
        Send(handle, WM_SIZE, kind, PackPoint(Width(client), Height(client)));
    }
}

bool Desktop::Beep(UINT type) {
    beeps_.push_back(type);
    return std::find(failingBeeps.begin(), failingBeeps.end(), type) == failingBeeps.end();
}

}  // namespace simhost::headless
