#include "simhost/headless/dialog_builder.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "simhost/headless/desktop_internal.h"

namespace simhost::headless {

using namespace detail;

namespace {

struct FontUnits {
    std::u16string_view face;
    std::int32_t points;
    BaseUnits units;
};

constexpr std::array<FontUnits, 5> kFonts = {{
    {u"MS Sans Serif", 8, {6, 13}},
    {u"MS Shell Dlg", 8, {6, 13}},
    {u"MS Shell Dlg 2", 8, {6, 13}},
    {u"Tahoma", 8, {6, 13}},
    {u"Segoe UI", 9, {7, 15}},
}};

constexpr BaseUnits kSystemFontUnits{8, 16};

bool SameFace(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char16_t c) {
            return c < 0x80 ? static_cast<char16_t>(std::tolower(c)) : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

WindowKind KindOf(const std::string& className) {
    std::string upper;
    for (const char c : className) upper.push_back(static_cast<char>(std::toupper(c)));
    if (upper == "STATIC") return WindowKind::Static;
    if (upper == "BUTTON") return WindowKind::Button;
    if (upper == "LISTBOX") return WindowKind::ListBox;
    return WindowKind::Other;
}

RECT ToPixels(const BaseUnits& units, std::int32_t x, std::int32_t y, std::int32_t cx,
              std::int32_t cy) {
    const std::int32_t left = MulDiv(x, units.x, 4);
    const std::int32_t top = MulDiv(y, units.y, 8);
    return RECT{left, top, left + MulDiv(cx, units.x, 4), top + MulDiv(cy, units.y, 8)};
}

}  // namespace

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    product = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t quotient = (product + divisor / 2) / divisor;
    return static_cast<std::int32_t>(negative ? -quotient : quotient);
}

BaseUnits DialogBaseUnits(const DialogTemplate& dialog) {
    if (!dialog.hasFont) return kSystemFontUnits;
    for (const FontUnits& font : kFonts) {
        if (font.points == dialog.fontPoints && SameFace(font.face, dialog.fontFace)) {
            return font.units;
        }
    }
    return kSystemFontUnits;
}

HWND CreateDialogFromTemplate(Desktop& desktop, const DialogTemplate& dialog,
                              const DialogRequest& request) {
    const BaseUnits units = request.baseUnits.value_or(DialogBaseUnits(dialog));
    const DWORD style = dialog.style;
    const RECT client = ToPixels(units, dialog.x, dialog.y, dialog.cx, dialog.cy);
    const RECT insets = desktop.FrameInsets(style, dialog.exStyle);
    std::int32_t width = Width(client) + insets.left + insets.right;
    std::int32_t height = Height(client) + insets.top + insets.bottom;

    POINT position{client.left, client.top};
    const RECT work = desktop.WorkArea();
    const Window* owner = desktop.Find(request.owner);
    if (style & DS_CENTER) {
        position =
            POINT{work.left + (Width(work) - width) / 2, work.top + (Height(work) - height) / 2};
    } else if (!(style & (WS_CHILD | DS_ABSALIGN)) && owner != nullptr) {
        const POINT origin = desktop.ClientOrigin(*owner);
        position.x += origin.x;
        position.y += origin.y;
    }
    if (!(style & WS_CHILD)) {
        // A dialog is kept on the screen.
        position.x = std::max(std::min(position.x, desktop.Screen().width - width), 0);
        position.y = std::max(std::min(position.y, desktop.Screen().height - height), 0);
    }

    // The frame's own WM_GETMINMAXINFO at creation reaches no dialog procedure, so only the
    // default limits apply.
    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
        width = std::max(width, desktop.SystemMetric(SM_CXMINTRACK));
        height = std::max(height, desktop.SystemMetric(SM_CYMINTRACK));
    }

    WindowRequest shape;
    shape.kind = WindowKind::Dialog;
    shape.className = "#32770";
    shape.text = dialog.caption;
    shape.style = style & ~WS_VISIBLE;
    shape.exStyle = dialog.exStyle;
    shape.owner = request.owner;
    shape.parent = request.owner;
    shape.rect = RECT{position.x, position.y, position.x + width, position.y + height};
    const HWND handle = desktop.Create(shape);
    if (Window* window = desktop.Find(handle)) {
        window->proc = request.proc;
        window->user = request.user;
    }

    if (style & DS_SETFONT) desktop.Send(handle, WM_SETFONT, kDialogFontHandle, 0);
    if (desktop.Find(handle) == nullptr) return nullptr;

    for (const ControlTemplate& control : dialog.controls) {
        WindowRequest item;
        item.kind = KindOf(control.className);
        item.className = control.className;
        item.text = control.text;
        item.style = control.style;
        item.exStyle = control.exStyle;
        item.id = control.id;
        item.parent = handle;
        item.rect = ToPixels(units, control.x, control.y, control.cx, control.cy);
        desktop.Create(item);
    }

    HWND focus = nullptr;
    for (const HWND child : desktop.Find(handle)->children) {
        const Window* w = desktop.Find(child);
        if (w && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED)) {
            focus = child;
            break;
        }
    }
    const LRESULT wantsFocus =
        desktop.Send(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), request.initParam);
    if (desktop.Find(handle) == nullptr) return nullptr;
    // Answering TRUE asks the dialog manager to put the focus on the first tab stop.
    if (wantsFocus != 0 && focus != nullptr && desktop.Find(focus)) desktop.SetFocus(focus);

    const Window* window = desktop.Find(handle);
    if ((style & WS_VISIBLE) && window != nullptr && !(window->style & WS_VISIBLE)) {
        desktop.ShowWindow(handle, SW_SHOWNORMAL);
    }
    return desktop.Find(handle) ? handle : nullptr;
}

}  // namespace simhost::headless
