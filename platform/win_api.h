// The one Windows seam of the extension. On Windows it is the real <windows.h>. Elsewhere it
// declares just the subset of KERNEL32 and USER32 that the extension calls, with Win32 widths;
// those functions stay undefined in the module and are resolved from the process that loads
// it, just as Windows' system libraries provide them to a DLL.
#pragma once

#include <cstdint>

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#define NX_EXPORT

#else  // !_WIN32

#define WINAPI
#define CALLBACK
#define NX_EXPORT __attribute__((visibility("default")))

using BOOL = std::int32_t;
using LONG = std::int32_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using WCHAR = char16_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using HANDLE = void*;
using HDWP = HANDLE;
struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using FARPROC = INT_PTR(WINAPI*)();
using LPCSTR = const char*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

constexpr WORD LOWORD(UINT_PTR value) { return static_cast<WORD>(value & 0xFFFFu); }
constexpr WORD HIWORD(UINT_PTR value) { return static_cast<WORD>((value >> 16) & 0xFFFFu); }

// Window messages.
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// List box messages and answers.
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr LRESULT LB_ERR = -1;

// ShowWindow commands.
constexpr INT SW_HIDE = 0;
constexpr INT SW_SHOWNORMAL = 1;
constexpr INT SW_SHOWMINIMIZED = 2;
constexpr INT SW_SHOWMAXIMIZED = 3;
constexpr INT SW_SHOW = 5;
constexpr INT SW_MINIMIZE = 6;
constexpr INT SW_RESTORE = 9;

// SetWindowPos and DeferWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;

constexpr INT SM_CXSCREEN = 0;
constexpr INT SM_CYSCREEN = 1;
constexpr INT SM_CYCAPTION = 4;
constexpr INT SM_CXFRAME = 32;
constexpr INT SM_CYFRAME = 33;
constexpr INT SM_CXFULLSCREEN = 16;
constexpr INT SM_CYFULLSCREEN = 17;

constexpr INT GWL_STYLE = -16;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;

extern "C" {
// KERNEL32
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);

// USER32
BOOL WINAPI ShowWindow(HWND window, INT command);
HWND WINAPI SetActiveWindow(HWND window);
BOOL WINAPI IsWindowVisible(HWND window);
BOOL WINAPI GetWindowRect(HWND window, RECT* rect);
BOOL WINAPI GetClientRect(HWND window, RECT* rect);
BOOL WINAPI ScreenToClient(HWND window, POINT* point);
BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, INT x, INT y, INT cx, INT cy, UINT flags);
HDWP WINAPI BeginDeferWindowPos(INT count);
HDWP WINAPI DeferWindowPos(HDWP batch, HWND window, HWND insertAfter, INT x, INT y, INT cx, INT cy,
                           UINT flags);
BOOL WINAPI EndDeferWindowPos(HDWP batch);
HWND WINAPI GetDlgItem(HWND dialog, INT item);
BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL WINAPI IsWindowEnabled(HWND window);
BOOL WINAPI EnableWindow(HWND window, BOOL enable);
HWND WINAPI GetParent(HWND window);
LONG WINAPI GetWindowLongW(HWND window, INT index);
INT WINAPI GetSystemMetrics(INT index);
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, INT item, UINT message, WPARAM wParam,
                                   LPARAM lParam);
LRESULT WINAPI SendDlgItemMessageW(HWND dialog, INT item, UINT message, WPARAM wParam,
                                   LPARAM lParam);
BOOL WINAPI MessageBeep(UINT type);
}

#endif  // _WIN32
