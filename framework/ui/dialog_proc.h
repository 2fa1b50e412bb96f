// The dialog procedure the module hands to NX_Dialog. The host calls it for every message of
// the dialog, with the window object given to NX_Dialog as the fifth argument, on its UI
// thread. It turns each message into a virtual operation of the window (message numbers and
// word unpacking live here and nowhere else), answers 0 for a null window, for one that no longer
// exists and for every message it does not route, and lets no exception out.
#pragma once

#include "host/services/nx_types.h"

LRESULT WINAPI ResourceWindowDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                        void* user);
