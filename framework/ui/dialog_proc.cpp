#include "framework/ui/dialog_proc.h"

#include <type_traits>

#include "framework/ui/reentry_guard.h"
#include "framework/ui/resource_window.h"
#include "host/services/host_window_codes.h"

static_assert(std::is_same_v<decltype(&ResourceWindowDialogProc), NXDialogProc>);

namespace {

// A command from a button that closes the dialog or runs its work (any nonzero command kind).
bool StartsOrEndsWork(const NCResourceWindow& window, WPARAM wParam) {
    const NCControl* control = window.FindControl(LOWORD(wParam));
    return control != nullptr && control->CommandKind() != NCControl::kOrdinary;
}

}  // namespace

LRESULT WINAPI ResourceWindowDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                        void* user) {
    // A null window, or one that no longer exists, hears nothing.
    if (!NCResourceWindow::IsLive(user)) return 0;
    auto* window = static_cast<NCResourceWindow*>(user);
    // A message acts only on the window whose dialog sent it: a dialog the host could not end
    // outlives its window, whose address a new window may be given. A window holds one dialog,
    // so WM_INITDIALOG binds only a window that holds none.
    if (message == WM_INITDIALOG ? window->dialogHandle_ != nullptr
                                 : window->dialogHandle_ != dialog) {
        return 0;
    }
    // While a command's work runs, the commands that would close the dialog or start more work
    // are answered as handled and dropped: runs never nest.
    if (window->Busy() &&
        (message == WM_CLOSE || (message == WM_COMMAND && StartsOrEndsWork(*window, wParam)))) {
        return 1;
    }
    // Anything the host calls back into meanwhile must not free this window under us.
    const ReentryGuard guard;
    try {
        switch (message) {
            case WM_INITDIALOG:
                window->dialogHandle_ = dialog;
                window->initialising_ = true;
                window->InitWindow();
                return 0;
            case WM_SIZE: {
                // Only the restored size counts: a minimised or maximised dialog keeps the
                // layout of its normal size.
                if (wParam != SIZE_RESTORED) return 0;
                const std::int32_t width = LOWORD(static_cast<UINT_PTR>(lParam));
                const std::int32_t height = HIWORD(static_cast<UINT_PTR>(lParam));
                if (window->lastClientWidth_ != 0) {
                    window->HandleResize(width, height, window->lastClientWidth_,
                                         window->lastClientHeight_);
                }
                window->lastClientWidth_ = width;
                window->lastClientHeight_ = height;
                return 0;
            }
            case WM_GETMINMAXINFO:
                // lParam carries a pointer, as Win32 defines it.
                // NOLINTNEXTLINE(performance-no-int-to-ptr)
                if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam)) {
                    info->ptMinTrackSize.x = window->minTrackWidth_;
                    info->ptMinTrackSize.y = window->minTrackHeight_;
                    info->ptMaxTrackSize.x = window->maxTrackWidth_;
                    info->ptMaxTrackSize.y = window->maxTrackHeight_;
                }
                return 0;
            case WM_SHOWWINDOW:
                // The host may have placed the dialog again after it was created; a restore
                // made during initialisation is applied once more at the first show.
                if (window->initialising_ && window->geometryRestored_) window->RestoreGeometry();
                window->initialising_ = false;
                window->geometryRestored_ = false;
                return 0;
            case WM_COMMAND: {
                // Matched by item id alone: the notification code is not looked at.
                NCControl* control = window->FindControl(LOWORD(wParam));
                if (control != nullptr && control->CommandKind() != NCControl::kOrdinary) {
                    switch (control->CommandKind()) {
                        case NCControl::kOkButton:
                            window->OkPressed();
                            break;
                        case NCControl::kCancelButton:
                            window->CancelPressed();
                            break;
                        case NCControl::kThirdButton:
                            window->ThirdButtonPressed();
                            break;
                        default:
                            break;
                    }
                    return 1;
                }
                return window->HandleCommand(control) ? 1 : 0;
            }
            case WM_CLOSE:
                window->CancelPressed();
                return 0;
            case WM_ACTIVATE:
                window->HandleActivate(LOWORD(wParam) != 0);
                window->FollowHostEnabled();
                return 0;
            case WM_WINDOWPOSCHANGING:
            case kFloatStatusMessage:
                window->FollowHostEnabled();
                return 0;
            case WM_NOTIFY: {
                // lParam carries a pointer, as Win32 defines it.
                // NOLINTNEXTLINE(performance-no-int-to-ptr)
                auto* header = reinterpret_cast<NMHDR*>(lParam);
                return window->HandleNotify(static_cast<std::uint32_t>(wParam), header) ? 1 : 0;
            }
            case WM_TIMER:
                window->HandleTimer(static_cast<std::uint32_t>(wParam));
                return 0;
            default:
                return 0;
        }
    } catch (...) {
        return 0;
    }
}
