// The Desktop's placement rules: SetWindowPos and its messages, ShowWindow with the minimised,
// maximised and normal states, deferred batches and the sizing and moving loop.
#include <algorithm>

#include "simhost/headless/desktop.h"
#include "simhost/headless/desktop_internal.h"

namespace simhost::headless {

using namespace detail;

namespace {

RECT Sized(const RECT& rect, std::int32_t width, std::int32_t height) {
    return RECT{rect.left, rect.top, rect.left + width, rect.top + height};
}

}  // namespace

bool Desktop::SetWindowPos(HWND handle, HWND insertAfter, std::int32_t x, std::int32_t y,
                           std::int32_t cx, std::int32_t cy, UINT flags) {
    // The flags Windows reserves for itself are not taken from callers.
    flags &= ~(kNoClientSize | kNoClientMove | kStateChanged);
    return ApplyWindowPos(handle, WINDOWPOS{handle, insertAfter, x, y, cx, cy, flags});
}

bool Desktop::ApplyWindowPos(HWND handle, WINDOWPOS pos) {
    Window* window = Find(handle);
    if (window == nullptr) return false;
    const RECT oldRect = window->rect;
    if (pos.flags & SWP_NOMOVE) {
        pos.x = oldRect.left;
        pos.y = oldRect.top;
    }
    if (pos.flags & SWP_NOSIZE) {
        pos.cx = Width(oldRect);
        pos.cy = Height(oldRect);
    }
    pos.x = std::clamp(pos.x, -32768, 32767);
    pos.y = std::clamp(pos.y, -32768, 32767);
    pos.cx = std::clamp(pos.cx, 0, 32767);
    pos.cy = std::clamp(pos.cy, 0, 32767);

    if (!(pos.flags & SWP_NOSENDCHANGING)) {
        Send(handle, WM_WINDOWPOSCHANGING, 0, Pointer(&pos));
        window = Find(handle);
        if (window == nullptr) return false;
    }
    // Redundant requests are marked as such, as Windows does before it applies them.
    if (pos.cx == Width(oldRect) && pos.cy == Height(oldRect)) pos.flags |= SWP_NOSIZE;
    if (pos.x == oldRect.left && pos.y == oldRect.top) pos.flags |= SWP_NOMOVE;
    if (window->style & WS_VISIBLE) {
        pos.flags &= ~SWP_SHOWWINDOW;
    } else {
        pos.flags &= ~SWP_HIDEWINDOW;
    }

    const RECT oldClient = ClientScreenRect(*window);
    const POINT oldOrigin = ClientOrigin(*window);
    window->rect = Sized(RECT{pos.x, pos.y, 0, 0}, pos.cx, pos.cy);
    if (pos.flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) window->style &= ~WS_VISIBLE;
    const RECT newClient = ClientScreenRect(*window);
    const POINT newOrigin = ClientOrigin(*window);
    if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient)) {
        pos.flags |= kNoClientSize;
    }
    if (newOrigin.x == oldOrigin.x && newOrigin.y == oldOrigin.y) pos.flags |= kNoClientMove;

    // A top-level window that is shown or placed without SWP_NOACTIVATE becomes the active one,
    // before it hears of its new place.
    if (!(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && !(window->style & WS_CHILD) &&
        (window->style & WS_VISIBLE)) {
        Activate(handle, WA_ACTIVE);
        window = Find(handle);
        if (window == nullptr) return true;
    }

    constexpr UINT kNoChange = SWP_NOSIZE | SWP_NOMOVE | kNoClientSize | kNoClientMove;
    const bool changed = (pos.flags & kNoChange) != kNoChange ||
                         (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) ||
                         (pos.flags & kStateChanged);
    if (changed) Send(handle, WM_WINDOWPOSCHANGED, 0, Pointer(&pos));
    return true;
}

bool Desktop::ShowWindow(HWND handle, INT command) {
    Window* window = Find(handle);
    if (window == nullptr) return false;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;

    if (window->style & WS_CHILD) {
        if (command == SW_HIDE) {
            if (!wasVisible) return false;
            Send(handle, WM_SHOWWINDOW, FALSE, 0);
            ApplyWindowPos(handle, WINDOWPOS{handle, nullptr, 0, 0, 0, 0,
                                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                                 SWP_NOACTIVATE | SWP_HIDEWINDOW});
            // A hidden control cannot keep the focus; it goes back to its parent.
            if (focus_ == handle) SetFocus(ParentOf(handle));
        } else if (!wasVisible) {
            Send(handle, WM_SHOWWINDOW, TRUE, 0);
            ApplyWindowPos(handle, WINDOWPOS{handle, nullptr, 0, 0, 0, 0,
                                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                                 SWP_NOACTIVATE | SWP_SHOWWINDOW});
        }
        return wasVisible;
    }

    switch (command) {
        case SW_HIDE:
            if (!wasVisible) return false;
            Send(handle, WM_SHOWWINDOW, FALSE, 0);
            ApplyWindowPos(handle, WINDOWPOS{handle, nullptr, 0, 0, 0, 0,
                                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                                 SWP_NOACTIVATE | SWP_HIDEWINDOW});
            if (active_ == handle) ActivateOther(handle);
            return true;
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
        case SW_SHOWMINIMIZED:
            if (!wasVisible) Send(handle, WM_SHOWWINDOW, TRUE, 0);
            ChangeState(handle, WS_MINIMIZE, command == SW_SHOWMINIMIZED);
            if (command != SW_SHOWMINIMIZED && active_ == handle) ActivateOther(handle);
            return wasVisible;
        case SW_SHOWMAXIMIZED:
            if (!wasVisible) Send(handle, WM_SHOWWINDOW, TRUE, 0);
            ChangeState(handle, WS_MAXIMIZE, true);
            return wasVisible;
        default:
            break;
    }

    const bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE;
    const bool restores = command == SW_SHOWNORMAL || command == SW_RESTORE ||
                          command == SW_SHOWNOACTIVATE || command == 10 /* SW_SHOWDEFAULT */;
    if (restores && (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        if (!wasVisible) Send(handle, WM_SHOWWINDOW, TRUE, 0);
        ChangeState(handle, 0, activate);
        return wasVisible;
    }
    if (!wasVisible) Send(handle, WM_SHOWWINDOW, TRUE, 0);
    if (Find(handle) == nullptr) return wasVisible;
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | (wasVisible ? 0u : SWP_SHOWWINDOW);
    if (!activate) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    ApplyWindowPos(handle, WINDOWPOS{handle, nullptr, 0, 0, 0, 0, flags});
    return wasVisible;
}

// Between the normal, minimised (WS_MINIMIZE) and maximised (WS_MAXIMIZE) states. Restoring a
// minimised window first asks it with WM_QUERYOPEN; every change asks WM_GETMINMAXINFO.
void Desktop::ChangeState(HWND handle, DWORD state, bool activate) {
    Window* window = Find(handle);
    if (window == nullptr) return;
    const DWORD current = window->style & (WS_MINIMIZE | WS_MAXIMIZE);
    if (current == state) return;
    if ((current & WS_MINIMIZE) && Send(handle, WM_QUERYOPEN, 0, 0) == 0) return;
    const MINMAXINFO info = MinMaxInfo(handle);
    window = Find(handle);
    if (window == nullptr) return;
    if (current == 0) window->normalRect = window->rect;

    RECT target = window->normalRect;
    if (state == WS_MINIMIZE) {
        // Owned windows without a taskbar button are laid down at the bottom left of the work
        // area as a small caption bar.
        const RECT work = WorkArea();
        target = RECT{work.left, work.bottom - metrics_.minimizedHeight,
                      work.left + metrics_.minimizedWidth, work.bottom};
    } else if (state == WS_MAXIMIZE) {
        target = Sized(RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, 0, 0},
                       std::min(info.ptMaxSize.x, info.ptMaxTrackSize.x),
                       std::min(info.ptMaxSize.y, info.ptMaxTrackSize.y));
    }
    window->style = (window->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
    UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED | kStateChanged;
    if (!(window->style & WS_VISIBLE)) flags |= SWP_SHOWWINDOW;
    if (!activate) flags |= SWP_NOACTIVATE;
    ApplyWindowPos(handle, WINDOWPOS{handle, nullptr, target.left, target.top, Width(target),
                                     Height(target), flags});
}

HDWP Desktop::BeginDefer(INT count) {
    if (count < 0) return nullptr;
    nextBatch_ += 4;
    openBatches_[nextBatch_] = Batch{};
    return reinterpret_cast<HDWP>(nextBatch_);
}

HDWP Desktop::Defer(HDWP batch, HWND handle, HWND insertAfter, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, UINT flags) {
    const auto it = openBatches_.find(reinterpret_cast<std::uintptr_t>(batch));
    if (it == openBatches_.end()) return nullptr;
    std::vector<WINDOWPOS>& entries = it->second.entries;
    const Window* window = Find(handle);
    // A failed call gives the batch up: all its windows must exist and share one parent.
    if (window == nullptr ||
        (!entries.empty() && ParentOf(entries.front().hwnd) != ParentOf(handle))) {
        openBatches_.erase(it);
        return nullptr;
    }
    for (WINDOWPOS& entry : entries) {
        if (entry.hwnd != handle) continue;
        // A window named twice keeps one entry with the union of both requests.
        if (!(flags & SWP_NOZORDER)) {
            entry.hwndInsertAfter = insertAfter;
            entry.flags &= ~SWP_NOZORDER;
        }
        if (!(flags & SWP_NOMOVE)) {
            entry.x = x;
            entry.y = y;
            entry.flags &= ~SWP_NOMOVE;
        }
        if (!(flags & SWP_NOSIZE)) {
            entry.cx = cx;
            entry.cy = cy;
            entry.flags &= ~SWP_NOSIZE;
        }
        entry.flags |= flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
        return batch;
    }
    entries.push_back(WINDOWPOS{handle, insertAfter, x, y, cx, cy,
                                flags & ~(kNoClientSize | kNoClientMove | kStateChanged)});
    return batch;
}

bool Desktop::EndDefer(HDWP batch) {
    const auto it = openBatches_.find(reinterpret_cast<std::uintptr_t>(batch));
    if (it == openBatches_.end()) return false;
    const std::vector<WINDOWPOS> entries = std::move(it->second.entries);
    openBatches_.erase(it);
    for (const WINDOWPOS& entry : entries) ApplyWindowPos(entry.hwnd, entry);
    batches_.push_back(entries);
    return true;
}

void Desktop::Drag(HWND handle, WPARAM command, POINT target) {
    dragTarget_ = target;
    const Window* window = Find(handle);
    LPARAM where = 0;
    if (window != nullptr) {
        const RECT rect = ScreenRect(*window);
        where = PackPoint(rect.right - 1, rect.bottom - 1);
    }
    Send(handle, WM_SYSCOMMAND, command, where);
    dragTarget_.reset();
}

// The modal loop DefWindowProc runs for SC_SIZE and SC_MOVE, here with the pointer going
// straight to its target: the tracking rectangle is kept within the limits the window answered
// when the loop started, offered with WM_SIZING or WM_MOVING, and applied with full-window drag.
void Desktop::SizeMoveLoop(HWND handle, WPARAM command) {
    if (!dragTarget_) return;
    const POINT target = *dragTarget_;
    dragTarget_.reset();
    const Window* window = Find(handle);
    if (window == nullptr || (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
    const bool sizing = (command & 0xFFF0) == SC_SIZE;
    const WPARAM edge = command & 0x000F;
    const MINMAXINFO info = MinMaxInfo(handle);
    Send(handle, WM_ENTERSIZEMOVE, 0, 0);
    window = Find(handle);
    if (window == nullptr) return;
    RECT rect = window->rect;
    UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
    if (sizing) {
        const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
        const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
        const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
        const bool bottom =
            edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
        const std::int32_t width =
            std::clamp(target.x, info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
        const std::int32_t height =
            std::clamp(target.y, info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
        if (left) rect.left = rect.right - width;
        if (right) rect.right = rect.left + width;
        if (top) rect.top = rect.bottom - height;
        if (bottom) rect.bottom = rect.top + height;
        Send(handle, WM_SIZING, edge, Pointer(&rect));
    } else {
        rect = Sized(RECT{target.x, target.y, 0, 0}, Width(rect), Height(rect));
        Send(handle, WM_MOVING, 0, Pointer(&rect));
        flags |= SWP_NOSIZE;
    }
    if (Find(handle) == nullptr) return;
    ApplyWindowPos(
        handle, WINDOWPOS{handle, nullptr, rect.left, rect.top, Width(rect), Height(rect), flags});
    Send(handle, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace simhost::headless
