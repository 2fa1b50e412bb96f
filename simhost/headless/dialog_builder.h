// Builds a dialog from its template the way the dialog manager does: dialog units become pixels
// through the base units of the dialog's font (MulDiv by 4 horizontally, by 8 vertically), the
// template's size is the client area and the frame goes around it, and the position is taken
// from the owner's client area and kept on the screen. The dialog procedure then hears, in
// order: WM_SETFONT (DS_SETFONT only; the controls are created after it), WM_INITDIALOG with
// the first tab stop and the creation parameter, and, when the template is WS_VISIBLE, what
// ShowWindow(SW_SHOWNORMAL) sends. Messages the frame receives while it is being created come
// before the procedure is installed and do not reach it.
#pragma once

#include <cstdint>
#include <optional>

#include "simhost/headless/desktop.h"
#include "simhost/headless/resource_script.h"

namespace simhost::headless {

struct BaseUnits {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Windows' MulDiv: a * b / c computed wide and rounded half away from zero; -1 when c is 0.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// The base units Windows reports for the dialog's font at 96 DPI: 6 x 13 for 8-point
// MS Sans Serif (and MS Shell Dlg, Tahoma), 7 x 15 for 9-point Segoe UI; the system font's
// 8 x 16 for a template without a font or with a font not listed here.
BaseUnits DialogBaseUnits(const DialogTemplate& dialog);

// The font handle WM_SETFONT carries.
constexpr WPARAM kDialogFontHandle = 0x0A0C0010;

struct DialogRequest {
    HWND owner = nullptr;
    NXDialogProc proc = nullptr;
    void* user = nullptr;
    LPARAM initParam = 0;
    // Replaces the font's base units, e.g. to match another machine's font rendering.
    std::optional<BaseUnits> baseUnits;
};

// Null when the dialog destroyed itself while it was being created.
HWND CreateDialogFromTemplate(Desktop& desktop, const DialogTemplate& dialog,
                              const DialogRequest& request);

}  // namespace simhost::headless
