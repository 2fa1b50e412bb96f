// Helpers shared by the parts of the Desktop.
#pragma once

#include <cstdint>

#include "platform/win_api.h"

namespace simhost::headless::detail {

// Flags Windows adds to a WINDOWPOS on its way from WM_WINDOWPOSCHANGING to
// WM_WINDOWPOSCHANGED: the client area did not move or resize, or the window changed between
// minimised, maximised and normal.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;
constexpr UINT kStateChanged = 0x8000;

inline std::uintptr_t Key(HWND handle) { return reinterpret_cast<std::uintptr_t>(handle); }
inline HWND Handle(std::uintptr_t key) { return reinterpret_cast<HWND>(key); }
inline LPARAM Pointer(const void* p) { return reinterpret_cast<LPARAM>(p); }
inline std::int32_t Width(const RECT& r) { return r.right - r.left; }
inline std::int32_t Height(const RECT& r) { return r.bottom - r.top; }
// The coordinates WM_MOVE and WM_SIZE pack into lParam, each as 16 bits.
inline LPARAM PackPoint(std::int32_t x, std::int32_t y) {
    return MAKELPARAM(static_cast<WORD>(x & 0xFFFF), static_cast<WORD>(y & 0xFFFF));
}

}  // namespace simhost::headless::detail
