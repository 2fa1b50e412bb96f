// The window manager behind the USER32 stand-in: every window of the substitute host, the
// screen they live on, and the Windows rules for placing, showing, activating, enabling and
// focusing them, with the messages Windows sends a dialog for each, in Windows' order.
//
// Geometry follows Windows' classic metrics at 96 DPI (a 19-pixel caption including its bottom
// line, 4-pixel sizing frames); both the screen and the metrics can be configured. Painting and
// non-client computation messages (WM_NCCALCSIZE, WM_NCPAINT, WM_ERASEBKGND, WM_GETTEXT from the
// frame) are not sent; z-order is not kept. A dialog procedure's answer of 0 leads to the
// default processing of the dialog manager and DefWindowProc, as on Windows.
//
// One desktop is current at a time; the USER32 functions act on it and fail without one.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/services/host_window_codes.h"
#include "simhost/headless/window.h"

namespace simhost::headless {

struct ScreenConfig {
    std::int32_t width = 1024;
    std::int32_t height = 768;
    // The taskbar sits along the bottom edge; the work area is the screen above it.
    std::int32_t taskbarHeight = 30;
};

struct FrameMetrics {
    std::int32_t caption = 19;  // SM_CYCAPTION: caption bar and the line below it
    std::int32_t frame = 4;     // SM_CXFRAME / SM_CYFRAME: the sizing border
    std::int32_t dialogFrame = 3;
    std::int32_t border = 1;
    std::int32_t edge = 2;
    std::int32_t scrollBar = 16;
    std::int32_t minTrackWidth = 112;
    std::int32_t minTrackHeight = 27;
    std::int32_t minimizedWidth = 160;
    std::int32_t minimizedHeight = 24;
};

// A message as it reached a dialog procedure.
struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a window is made with; no message is sent for it.
struct WindowRequest {
    WindowKind kind = WindowKind::Host;
    std::string className;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::int32_t id = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    RECT rect{};
};

class Desktop {
public:
    Desktop(ScreenConfig screen, FrameMetrics metrics);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    static Desktop* Current();
    static void SetCurrent(Desktop* desktop);

    // Windows.
    HWND Create(const WindowRequest& shape);
    // Null for a handle that never was a window or whose window is destroyed.
    Window* Find(HWND handle) const;
    // DestroyWindow: hides a visible window (handing the activation on), then WM_DESTROY and
    // WM_NCDESTROY, children and owned windows first.
    bool Destroy(HWND handle);
    HWND DialogItem(HWND dialog, std::int32_t id) const;
    // GetParent: the parent of a child, the owner of a pop-up, else null.
    HWND ParentOf(HWND handle) const;
    std::vector<HWND> OwnedWindows(HWND owner) const;

    // Geometry.
    const ScreenConfig& Screen() const { return screen_; }
    const FrameMetrics& Metrics() const { return metrics_; }
    RECT WorkArea() const;
    std::int32_t SystemMetric(INT index) const;
    // The rectangle AdjustWindowRectEx adds around a client area of a window of that style.
    RECT FrameInsets(DWORD style, DWORD exStyle) const;
    RECT ScreenRect(const Window& window) const;
    // The client area in screen coordinates; empty for a minimised window.
    RECT ClientScreenRect(const Window& window) const;
    POINT ClientOrigin(const Window& window) const;
    bool IsVisible(const Window& window) const;
    bool IsMinimized(const Window& window) const { return (window.style & WS_MINIMIZE) != 0; }

    // Messages. Send delivers to a dialog procedure (logged) and then, when the procedure
    // answers 0, to the default processing; controls and host windows answer for themselves.
    LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    // Text messages of controls come in both character forms.
    LRESULT SendText(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool wide);
    void Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    // Delivers what was posted, in order, including what those messages post.
    void PumpPosted();
    const std::vector<LoggedMessage>& MessageLog() const { return log_; }
    void ClearMessageLog() { log_.clear(); }
    // Drops what is kept only for looking back: destroyed windows, the message log and the
    // finished deferred-position batches, which otherwise grow with every dialog a long
    // session opens. Only between user actions, when no message is being delivered.
    void ForgetHistory();
    MINMAXINFO MinMaxInfo(HWND handle);

    // Placement.
    bool SetWindowPos(HWND handle, HWND insertAfter, std::int32_t x, std::int32_t y,
                      std::int32_t cx, std::int32_t cy, UINT flags);
    bool ShowWindow(HWND handle, INT command);
    HDWP BeginDefer(INT count);
    HDWP Defer(HDWP batch, HWND handle, HWND insertAfter, std::int32_t x, std::int32_t y,
               std::int32_t cx, std::int32_t cy, UINT flags);
    bool EndDefer(HDWP batch);
    // Every batch EndDeferWindowPos applied, with its entries as they were merged.
    const std::vector<std::vector<WINDOWPOS>>& AppliedBatches() const { return batches_; }
    // The user drags a border (SC_SIZE with the edge in the low bits; `target` is the window
    // size asked for) or the caption (SC_MOVE; `target` is the new top-left corner). Sends
    // WM_SYSCOMMAND; unless the dialog handles that itself, Windows' sizing and moving loop
    // runs with the limits of WM_GETMINMAXINFO.
    void Drag(HWND handle, WPARAM command, POINT target);

    // Activation, focus and the enabled state.
    HWND Active() const { return active_; }
    HWND Focus() const { return focus_; }
    // Makes a top-level window the active one; `how` is WA_ACTIVE or WA_CLICKACTIVE.
    void Activate(HWND handle, WORD how);
    void SetFocus(HWND handle);
    // Answers whether the window was disabled before.
    bool Enable(HWND handle, bool enable);

    // MessageBeep, in call order. A type listed in failingBeeps answers FALSE.
    bool Beep(UINT type);
    const std::vector<UINT>& Beeps() const { return beeps_; }
    std::vector<UINT> failingBeeps;

    std::int32_t ScreenInvalidations() const { return screenInvalidations_; }
    void InvalidateScreen() { ++screenInvalidations_; }

private:
    struct Batch {
        std::vector<WINDOWPOS> entries;
    };

    LRESULT DefaultDialogProcessing(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HostWindowProcessing(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    void HandleWindowPosChanging(Window& window, WINDOWPOS& pos);
    void HandleWindowPosChanged(Window& window, const WINDOWPOS& pos);
    bool ApplyWindowPos(HWND handle, WINDOWPOS pos);
    void ActivateOther(HWND leaving);
    void RestoreDialogFocus(Window& dialog);
    void NotifyFocus(HWND control, bool gained);
    HWND FirstTabStop(const Window& dialog) const;
    void Bury(HWND handle);
    void SizeMoveLoop(HWND handle, WPARAM command);
    void ChangeState(HWND handle, DWORD state, bool activate);

    ScreenConfig screen_;
    FrameMetrics metrics_;
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    std::uintptr_t nextHandle_ = 0x00010000;
    std::map<std::uintptr_t, Batch> openBatches_;
    std::uintptr_t nextBatch_ = 0x7D000000;
    std::vector<std::vector<WINDOWPOS>> batches_;
    std::vector<LoggedMessage> log_;
    std::vector<LoggedMessage> posted_;
    std::vector<UINT> beeps_;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;
    std::int32_t screenInvalidations_ = 0;
    std::optional<POINT> dragTarget_;
};

}  // namespace simhost::headless
