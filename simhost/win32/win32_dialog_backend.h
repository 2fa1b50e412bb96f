// The dialog and window services of a Win32Dialogs on top of any HostBackend, the Windows twin
// of WithHeadlessDialogs.
#pragma once

#include "simhost/services/with_dialogs.h"
#include "simhost/win32/win32_dialogs.h"

namespace simhost::win32 {

template <typename Base>
using WithWin32Dialogs = WithDialogs<Win32Dialogs, Base>;

}  // namespace simhost::win32
