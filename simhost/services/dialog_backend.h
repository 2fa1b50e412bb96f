// The dialog and window services of a HeadlessDialogs on top of any HostBackend.
#pragma once

#include "simhost/headless/headless_dialogs.h"
#include "simhost/services/with_dialogs.h"

namespace simhost {

template <typename Base>
using WithHeadlessDialogs = WithDialogs<headless::HeadlessDialogs, Base>;

using DialogBackend = WithHeadlessDialogs<HostBackend>;

}  // namespace simhost
