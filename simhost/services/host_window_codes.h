// Codes the host's windows and dialog services share with whatever runs in them, the same for
// the headless host and the one on the real USER32.
#pragma once

#include <cstdint>

#include "host/services/nx_types.h"

namespace simhost {

// The message a frame window sends its owned pop-ups when its activation or enabled state
// changes (with FS_ENABLE or FS_DISABLE in wParam for the latter).
constexpr UINT kFloatStatusMessage = 0x036D;
constexpr WPARAM kFloatStatusEnable = 0x04;
constexpr WPARAM kFloatStatusDisable = 0x08;

// The kinds of value NX_GetDlgItemVal and NX_SetDlgItemVal carry: a check state, or the item's
// text as a signed number.
constexpr std::int32_t kItemValueCheckState = 1;
constexpr std::int32_t kItemValueNumber = 3;

}  // namespace simhost
