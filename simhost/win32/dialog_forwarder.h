// The dialog procedure NOTAVO.EXE gives CreateDialogParamW: it finds the extension's
// procedure and user pointer for the dialog and calls it with the user pointer as the fifth
// argument. Messages arrive before WM_INITDIALOG (WM_SETFONT among them) while the dialog has no
// entry yet; they go to the one being created.
#pragma once

#include <windows.h>

#include "host/services/nx_types.h"

namespace simhost::win32 {

class DialogForwarder {
public:
    // Creates the dialog `id` of `module`, owned by `owner`; null when the template is missing.
    static HWND Create(HMODULE module, WORD id, HWND owner, NXDialogProc proc, void* user);
    // Whether the window is a dialog made by Create that still exists.
    static bool Owns(HWND dialog);

private:
    static INT_PTR CALLBACK Forward(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace simhost::win32
