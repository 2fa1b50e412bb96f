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
// Only the notification records and codes of the common controls; nothing of theirs is called.
#include <commctrl.h>

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

// Common-control notifications a dialog may route (the codes are negative, as UINT).
constexpr UINT LVN_GETDISPINFOA = 0u - 150u;
constexpr UINT LVN_GETDISPINFOW = 0u - 177u;
constexpr UINT TVN_SELCHANGEDA = 0u - 402u;
constexpr UINT TVN_SELCHANGEDW = 0u - 451u;
constexpr UINT TCN_SELCHANGE = 0u - 551u;
constexpr UINT UDN_DELTAPOS = 0u - 722u;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};

// The leading members of the list-view item; the host's record may be longer.
struct LVITEMA {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    char* pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};

struct LVITEMW {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    WCHAR* pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};

struct NMLVDISPINFOA {
    NMHDR hdr;
    LVITEMA item;
};

struct NMLVDISPINFOW {
    NMHDR hdr;
    LVITEMW item;
};

// Below: names only the substitute host's USER32 stand-in and its tests use. The extension
// itself keeps to the subset above.

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>((static_cast<DWORD>(high) << 16) | low);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>((static_cast<DWORD>(high) << 16) | low);
}

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_QUERYOPEN = 0x0013;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr INT IDOK = 1;
constexpr INT IDCANCEL = 2;

// WM_ACTIVATE states.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands; a size command carries the edge in its low four bits.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM HTCAPTION = 2;

// WM_SIZING edges.
constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

constexpr INT SW_SHOWNOACTIVATE = 4;
constexpr INT SW_SHOWMINNOACTIVE = 7;
constexpr INT SW_SHOWNA = 8;

constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;

constexpr INT GWL_EXSTYLE = -20;
constexpr INT GWL_ID = -12;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;

constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_CENTER = 0x0800;

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_NOTIFY = 0x4000;

constexpr INT SM_CXVSCROLL = 2;
constexpr INT SM_CYHSCROLL = 3;
constexpr INT SM_CXBORDER = 5;
constexpr INT SM_CYBORDER = 6;
constexpr INT SM_CXDLGFRAME = 7;
constexpr INT SM_CYDLGFRAME = 8;
constexpr INT SM_CXMINTRACK = 34;
constexpr INT SM_CYMINTRACK = 35;
constexpr INT SM_CXEDGE = 45;
constexpr INT SM_CYEDGE = 46;
constexpr INT SM_CXMINIMIZED = 57;
constexpr INT SM_CYMINIMIZED = 58;
constexpr INT SM_CXMAXTRACK = 59;
constexpr INT SM_CYMAXTRACK = 60;
constexpr INT SM_CXMAXIMIZED = 61;
constexpr INT SM_CYMAXIMIZED = 62;

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
