#include "framework/ui/control.h"

#include <memory>

#include "framework/ui/resource_window.h"
#include "host/services/host_version.h"
#include "host/services/nx_services.h"

namespace {

constexpr std::int32_t kCheckStateValue = 1;
constexpr UINT kNoZOrderChange = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

}  // namespace

const char* NCControl::TypeName() const { return "NCControl"; }

std::int32_t NCControl::ControlKind() const { return 0; }

HWND NCControl::OwnerHandle() const { return owner_ ? owner_->DialogHandle() : nullptr; }

HWND NCControl::Item() const { return GetDlgItem(OwnerHandle(), id_); }

bool NCControl::OwnerDefers() const { return owner_ != nullptr && owner_->DeferringLayout(); }

BOOL NCControl::Redraw() { return InvalidateRect(Item(), nullptr, FALSE); }

void NCControl::Enable(bool enable) { NX_EnableDlgItem(OwnerHandle(), id_, enable ? 1 : 0); }

bool NCControl::IsEnabled() { return IsWindowEnabled(Item()) != 0; }

void NCControl::Show(bool show) { ShowWindow(Item(), show ? SW_SHOW : SW_HIDE); }

void NCControl::SetText(const NCString* text) {
    if (HostTakesUtf16()) {
        const char16_t* units = text ? text->Units() : nullptr;
        NX_SetDlgString_UTF16(OwnerHandle(), id_, units ? units : u"");
        return;
    }
    if (text == nullptr) {
        NX_SetDlgString(OwnerHandle(), id_, "");
        return;
    }
    NCString copy;
    copy.AssignString(*text);
    NX_SetDlgString(OwnerHandle(), id_, copy.Text8());
}

void NCControl::GetText(NCString* out) {
    if (out == nullptr) return;
    // The host is told the capacity; one unit more keeps a terminator even when it fills the
    // whole buffer without one.
    if (HostTakesUtf16()) {
        auto buffer = std::make_unique<char16_t[]>(kDialogStringCapacity + 1);
        buffer[0] = 0;
        NX_GetDlgString_UTF16(OwnerHandle(), id_, buffer.get());
        std::int32_t length = 0;
        while (length < kDialogStringCapacity && buffer[length] != 0) ++length;
        buffer[length] = 0;
        out->AssignUnits(buffer.get());
        return;
    }
    auto buffer = std::make_unique<char[]>(kDialogStringCapacity + 1);
    buffer[0] = 0;
    NX_GetDlgString(OwnerHandle(), id_, buffer.get());
    buffer[kDialogStringCapacity] = 0;
    out->AssignText8(buffer.get());
}

void NCControl::MoveBy(std::int32_t dx, std::int32_t dy) {
    RECT rect{};
    GetWindowRect(Item(), &rect);
    POINT corner{rect.left, rect.top};
    ScreenToClient(OwnerHandle(), &corner);
    if (OwnerDefers()) {
        pendingLeft_ = corner.x + dx;
        pendingTop_ = corner.y + dy;
        movePending_ = true;
        return;
    }
    SetWindowPos(Item(), nullptr, corner.x + dx, corner.y + dy, 0, 0, SWP_NOSIZE | kNoZOrderChange);
}

void NCControl::ResizeBy(std::int32_t dx, std::int32_t dy) {
    RECT rect{};
    GetWindowRect(Item(), &rect);
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    if (OwnerDefers()) {
        pendingWidth_ = width + dx;
        pendingHeight_ = height + dy;
        sizePending_ = true;
        return;
    }
    SetWindowPos(Item(), nullptr, 0, 0, width + dx, height + dy, SWP_NOMOVE | kNoZOrderChange);
}

const char* NCCtrlStatic::TypeName() const { return "NCCtrlStatic"; }

const char* NCCtrlListBox::TypeName() const { return "NCCtrlListBox"; }

void NCCtrlCheckbox::SetCheck(std::int16_t value) {
    NX_SetDlgItemVal(OwnerHandle(), Id(), kCheckStateValue, value);
}

std::int32_t NCCtrlCheckbox::GetCheck() {
    return NX_GetDlgItemVal(OwnerHandle(), Id(), kCheckStateValue);
}
