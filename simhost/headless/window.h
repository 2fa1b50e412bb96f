// One window of the USER32 stand-in: a host window, a dialog or a dialog control. Plain data;
// the Desktop gives it its behaviour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/services/nx_types.h"

namespace simhost::headless {

enum class WindowKind { Host, Dialog, Static, Button, ListBox, Other };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Host;
    // Child windows have a parent; top-level windows may have an owner instead.
    HWND parent = nullptr;
    HWND owner = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::int32_t id = 0;
    std::string className;
    std::u16string text;
    // The window rectangle: in screen coordinates for a top-level window, in the parent's
    // client coordinates for a child.
    RECT rect{};
    // The rectangle the window comes back to when it is restored from the minimised state.
    RECT normalRect{};
    bool alive = true;
    // Children in creation order, which is also their tab order.
    std::vector<HWND> children;

    // A dialog: the host's five-argument procedure and the user pointer it hands back, and the
    // control the dialog manager gives the focus back to when the dialog is activated again.
    NXDialogProc proc = nullptr;
    void* user = nullptr;
    HWND savedFocus = nullptr;

    // A host frame window that tells its owned pop-ups when it is enabled or disabled.
    bool notifiesOwnedPopups = false;

    // Controls.
    std::vector<std::u16string> rows;
    std::int32_t selectedRow = -1;
    std::int32_t checkState = 0;
    std::int32_t invalidations = 0;
};

}  // namespace simhost::headless
