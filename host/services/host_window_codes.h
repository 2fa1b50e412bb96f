// Codes the host's windows and its dialog services share with the extension's dialogs.
#pragma once

#include <cstdint>

#include "host/services/nx_types.h"

// Frame windows of class-library hosts send this to their floating pop-ups when the frame's
// activation or enabled state changes (with FS_ENABLE or FS_DISABLE in wParam for the latter);
// the dialog then looks at the host window again.
constexpr UINT kFloatStatusMessage = 0x036D;
constexpr WPARAM kFloatStatusEnable = 0x04;
constexpr WPARAM kFloatStatusDisable = 0x08;

// The kinds of value NX_GetDlgItemVal and NX_SetDlgItemVal carry: a check state, or the item's
// text as a signed number.
constexpr std::int32_t kItemValueCheckState = 1;
constexpr std::int32_t kItemValueNumber = 3;
