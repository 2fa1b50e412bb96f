// The user at the screen of the substitute host, facing the dialog NX_Dialog opened last: what
// they can do to it, each sent as Windows sends it, and everything they can read off it.
//
// An action answers false, and sends nothing, when Windows would not let the user do it: no
// dialog, a disabled or hidden dialog or control, a row that does not exist. Clicking into an
// inactive dialog activates it first (WA_CLICKACTIVE). Messages posted along the way are
// delivered before an action returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/headless/headless_dialogs.h"

namespace simhost::headless {

class DialogUser {
public:
    explicit DialogUser(HeadlessDialogs& dialogs) : dialogs_(dialogs) {}

    // A click on a list row: the list takes the focus (LBN_SETFOCUS), the row is selected and,
    // when that changed the selection, LBN_SELCHANGE follows.
    bool SelectRow(std::int32_t item, std::int32_t row);
    // As SelectRow, then LBN_DBLCLK.
    bool DoubleClickRow(std::int32_t item, std::int32_t row);
    // A click on a control. A button takes the focus; an automatic check box toggles itself
    // before BN_CLICKED; push buttons and check boxes send WM_COMMAND(MAKEWPARAM(id,
    // BN_CLICKED), button). Statics and the rest ignore the click.
    bool Click(std::int32_t item);
    // The title bar's close box: WM_SYSCOMMAND(SC_CLOSE), then WM_CLOSE.
    bool UseCloseBox();
    // Drags a border until the window is `width` x `height` (the edge's other dimension stays),
    // through WM_SYSCOMMAND(SC_SIZE) and Windows' sizing loop with its limits.
    bool DragBorder(WPARAM edge, std::int32_t width, std::int32_t height);
    // Drags the caption until the window's top-left corner is at (x, y) on the screen.
    bool MoveTo(std::int32_t x, std::int32_t y);
    // WM_SYSCOMMAND(SC_MINIMIZE) and WM_SYSCOMMAND(SC_RESTORE), as the window menu or the host
    // send them (the note spacing dialog has no minimise box of its own).
    bool Minimise();
    bool Restore();
    // A click on the dialog's caption.
    bool Activate();

    // What the dialog shows.
    HWND Dialog() const { return dialogs_.OpenDialog(); }
    std::vector<std::u16string> Rows(std::int32_t item) const;
    std::int32_t SelectedRow(std::int32_t item) const;
    std::u16string Text(std::int32_t item) const;
    std::int32_t CheckState(std::int32_t item) const;
    bool IsEnabled(std::int32_t item) const;
    bool IsVisible(std::int32_t item) const;
    // In the dialog's client coordinates.
    RECT ControlRect(std::int32_t item) const;
    RECT WindowRect() const;
    // In client coordinates: (0, 0, width, height).
    RECT ClientRect() const;
    bool DialogEnabled() const;
    bool DialogVisible() const;
    bool DialogActive() const;
    bool DialogMinimised() const;
    std::int32_t Invalidations(std::int32_t item) const;

private:
    Desktop& Screen() const { return dialogs_.Screen(); }
    const Window* DialogWindow() const;
    const Window* Control(std::int32_t item) const;
    // The dialog is there, shown and enabled; an inactive one is activated by the click.
    bool Reachable();
    bool ClickableControl(std::int32_t item);

    HeadlessDialogs& dialogs_;
};

}  // namespace simhost::headless
