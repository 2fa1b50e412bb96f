#include "simhost/headless/dialog_user.h"

#include "simhost/headless/desktop_internal.h"

namespace simhost::headless {

using namespace detail;

const Window* DialogUser::DialogWindow() const { return Screen().Find(Dialog()); }

const Window* DialogUser::Control(std::int32_t item) const {
    return Screen().Find(Screen().DialogItem(Dialog(), item));
}

bool DialogUser::Reachable() {
    const Window* dialog = DialogWindow();
    // Windows gives no mouse input to a disabled window or its controls.
    if (dialog == nullptr || !Screen().IsVisible(*dialog) || (dialog->style & WS_DISABLED)) {
        return false;
    }
    if (Screen().Active() != dialog->handle) Screen().Activate(dialog->handle, WA_CLICKACTIVE);
    return DialogWindow() != nullptr;
}

bool DialogUser::ClickableControl(std::int32_t item) {
    const Window* control = Control(item);
    if (control == nullptr || !Screen().IsVisible(*control) || (control->style & WS_DISABLED)) {
        return false;
    }
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || Screen().IsMinimized(*dialog)) return false;
    return Reachable() && Control(item) != nullptr;
}

bool DialogUser::SelectRow(std::int32_t item, std::int32_t row) {
    const Window* list = Control(item);
    if (list == nullptr || list->kind != WindowKind::ListBox || row < 0 ||
        row >= static_cast<std::int32_t>(list->rows.size()) || !ClickableControl(item)) {
        return false;
    }
    const HWND handle = list->handle;
    Screen().SetFocus(handle);
    Window* now = Screen().Find(handle);
    if (now == nullptr) return true;
    if (now->selectedRow != row) {
        now->selectedRow = row;
        if (now->style & LBS_NOTIFY) {
            Screen().Send(now->parent, WM_COMMAND,
                          MAKEWPARAM(static_cast<WORD>(now->id), LBN_SELCHANGE), Pointer(handle));
        }
    }
    Screen().PumpPosted();
    return true;
}

bool DialogUser::DoubleClickRow(std::int32_t item, std::int32_t row) {
    if (!SelectRow(item, row)) return false;
    const Window* list = Control(item);
    if (list != nullptr && (list->style & LBS_NOTIFY)) {
        Screen().Send(list->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(list->id), LBN_DBLCLK),
                      Pointer(list->handle));
    }
    Screen().PumpPosted();
    return true;
}

bool DialogUser::Click(std::int32_t item) {
    if (!ClickableControl(item)) return false;
    const Window* control = Control(item);
    if (control->kind != WindowKind::Button) {
        Screen().PumpPosted();
        return true;
    }
    const HWND handle = control->handle;
    Screen().SetFocus(handle);
    Window* button = Screen().Find(handle);
    if (button == nullptr) return true;
    const DWORD type = button->style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        Screen().Send(handle, BM_SETCHECK, button->checkState == 0 ? BST_CHECKED : BST_UNCHECKED,
                      0);
    } else if (type == BS_AUTO3STATE) {
        Screen().Send(handle, BM_SETCHECK, static_cast<WPARAM>((button->checkState + 1) % 3), 0);
    }
    button = Screen().Find(handle);
    if (button != nullptr && type != 7 /* BS_GROUPBOX */) {
        Screen().Send(button->parent, WM_COMMAND,
                      MAKEWPARAM(static_cast<WORD>(button->id), BN_CLICKED), Pointer(handle));
    }
    Screen().PumpPosted();
    return true;
}

bool DialogUser::UseCloseBox() {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || (dialog->style & WS_CAPTION) != WS_CAPTION ||
        !(dialog->style & WS_SYSMENU) || !Reachable()) {
        return false;
    }
    Screen().Send(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Screen().PumpPosted();
    return true;
}

bool DialogUser::DragBorder(WPARAM edge, std::int32_t width, std::int32_t height) {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || !(dialog->style & WS_THICKFRAME) || Screen().IsMinimized(*dialog) ||
        edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT || !Reachable()) {
        return false;
    }
    Screen().Drag(Dialog(), SC_SIZE | edge, POINT{width, height});
    Screen().PumpPosted();
    return true;
}

bool DialogUser::MoveTo(std::int32_t x, std::int32_t y) {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || (dialog->style & WS_CAPTION) != WS_CAPTION ||
        Screen().IsMinimized(*dialog) || !Reachable()) {
        return false;
    }
    Screen().Drag(Dialog(), SC_MOVE | HTCAPTION, POINT{x, y});
    Screen().PumpPosted();
    return true;
}

bool DialogUser::Minimise() {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || !Screen().IsVisible(*dialog) || (dialog->style & WS_DISABLED) ||
        Screen().IsMinimized(*dialog)) {
        return false;
    }
    Screen().Send(Dialog(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Screen().PumpPosted();
    return true;
}

bool DialogUser::Restore() {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr || (dialog->style & WS_DISABLED) || !Screen().IsMinimized(*dialog)) {
        return false;
    }
    Screen().Send(Dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Screen().PumpPosted();
    return true;
}

bool DialogUser::Activate() {
    if (!Reachable()) return false;
    Screen().PumpPosted();
    return true;
}

std::vector<std::u16string> DialogUser::Rows(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->rows : std::vector<std::u16string>{};
}

std::int32_t DialogUser::SelectedRow(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->selectedRow : -1;
}

std::u16string DialogUser::Text(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->text : std::u16string{};
}

std::int32_t DialogUser::CheckState(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->checkState : 0;
}

bool DialogUser::IsEnabled(std::int32_t item) const {
    const Window* control = Control(item);
    return control != nullptr && !(control->style & WS_DISABLED);
}

bool DialogUser::IsVisible(std::int32_t item) const {
    const Window* control = Control(item);
    return control != nullptr && Screen().IsVisible(*control);
}

RECT DialogUser::ControlRect(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->rect : RECT{};
}

RECT DialogUser::WindowRect() const {
    const Window* dialog = DialogWindow();
    return dialog ? Screen().ScreenRect(*dialog) : RECT{};
}

RECT DialogUser::ClientRect() const {
    const Window* dialog = DialogWindow();
    if (dialog == nullptr) return RECT{};
    const RECT client = Screen().ClientScreenRect(*dialog);
    return RECT{0, 0, Width(client), Height(client)};
}

bool DialogUser::DialogEnabled() const {
    const Window* dialog = DialogWindow();
    return dialog != nullptr && !(dialog->style & WS_DISABLED);
}

bool DialogUser::DialogVisible() const {
    const Window* dialog = DialogWindow();
    return dialog != nullptr && Screen().IsVisible(*dialog);
}

bool DialogUser::DialogActive() const {
    return Dialog() != nullptr && Screen().Active() == Dialog();
}

bool DialogUser::DialogMinimised() const {
    const Window* dialog = DialogWindow();
    return dialog != nullptr && Screen().IsMinimized(*dialog);
}

std::int32_t DialogUser::Invalidations(std::int32_t item) const {
    const Window* control = Control(item);
    return control ? control->invalidations : 0;
}

}  // namespace simhost::headless
