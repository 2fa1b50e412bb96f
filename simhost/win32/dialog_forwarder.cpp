#include "simhost/win32/dialog_forwarder.h"

#include <map>

namespace simhost::win32 {

namespace {

struct Target {
    NXDialogProc proc = nullptr;
    void* user = nullptr;
};

// The host's UI thread is the only one that creates dialogs or dispatches their messages.
std::map<HWND, Target>& Dialogs() {
    static std::map<HWND, Target> dialogs;
    return dialogs;
}

// The dialog CreateDialogParamW is making right now, until its first message names its window.
Target& Pending() {
    static Target pending;
    return pending;
}

}  // namespace

HWND DialogForwarder::Create(HMODULE module, WORD id, HWND owner, NXDialogProc proc, void* user) {
    const Target previous = Pending();
    Pending() = Target{proc, user};
    const HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(id), owner, &Forward,
                                           reinterpret_cast<LPARAM>(user));
    // A dialog created from inside another's procedure leaves the outer one's pending entry.
    Pending() = previous;
    return dialog;
}

bool DialogForwarder::Owns(HWND dialog) {
    return dialog != nullptr && IsWindow(dialog) && Dialogs().count(dialog) != 0;
}

INT_PTR CALLBACK DialogForwarder::Forward(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Dialogs().find(dialog);
    if (found == Dialogs().end()) {
        if (Pending().proc == nullptr) return FALSE;
        found = Dialogs().emplace(dialog, Pending()).first;
        Pending() = Target{};
    }
    const Target target = found->second;
    if (message == WM_NCDESTROY) Dialogs().erase(found);
    return static_cast<INT_PTR>(target.proc(dialog, message, wParam, lParam, target.user));
}

}  // namespace simhost::win32
