#include "simhost/win32/win32_dialogs.h"

#include <array>
#include <cstring>
#include <vector>

#include "simhost/win32/dialog_forwarder.h"

namespace simhost::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"NotavoFrame";
constexpr wchar_t kViewClass[] = L"NotavoDocumentView";
constexpr UINT kEndHostModal = WM_APP + 1;
// The pump stops after this many messages, so that a window that keeps posting cannot hang it.
constexpr int kMaxPumpedMessages = 10000;

BOOL CALLBACK NotifyOwned(HWND window, LPARAM lParam) {
    const auto* notice = reinterpret_cast<const std::pair<HWND, WPARAM>*>(lParam);
    if (GetWindow(window, GW_OWNER) == notice->first) {
        SendMessageW(window, kFloatStatusMessage, notice->second, 0);
    }
    return TRUE;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENABLE) {
        const std::pair<HWND, WPARAM> notice{window,
                                             wParam ? kFloatStatusEnable : kFloatStatusDisable};
        EnumThreadWindows(GetCurrentThreadId(), &NotifyOwned, reinterpret_cast<LPARAM>(&notice));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    static const bool registered = [] {
        WNDCLASSW frame{};
        frame.lpfnWndProc = &FrameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        frame.lpszClassName = kFrameClass;
        RegisterClassW(&frame);
        WNDCLASSW view = frame;
        view.lpfnWndProc = &DefWindowProcW;
        view.lpszClassName = kViewClass;
        RegisterClassW(&view);
        return true;
    }();
    (void)registered;
}

INT_PTR CALLBACK HostModalProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PostMessageW(dialog, kEndHostModal, 0, 0);
        return TRUE;
    }
    if (message == kEndHostModal) {
        ::EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// An empty captioned dialog in memory: DLGTEMPLATE, then no menu, the default class and the
// title, each a WORD-aligned UTF-16 field.
std::vector<WORD> HostModalTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    header.x = 100;
    header.y = 80;
    header.cx = 150;
    header.cy = 80;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);
    words.push_back(0);
    for (const wchar_t* title = L"Notavo"; *title != 0; ++title) {
        words.push_back(static_cast<WORD>(*title));
    }
    words.push_back(0);
    return words;
}

}  // namespace

Win32Dialogs::Win32Dialogs() {
    RegisterClasses();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    mainWindow_ = CreateWindowExW(0, kFrameClass, L"Notavo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  800, 600, nullptr, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(mainWindow_, &client);
    documentView_ = CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                    client.bottom, mainWindow_, nullptr, instance, nullptr);
    // The host is running: its main window is the active one and its view has the focus.
    SetActiveWindow(mainWindow_);
    SetFocus(documentView_);
    PumpMessages();
}

Win32Dialogs::~Win32Dialogs() {
    if (const HWND dialog = OpenDialog()) DestroyWindow(dialog);
    if (mainWindow_ != nullptr) DestroyWindow(mainWindow_);
    PumpMessages();
}

void Win32Dialogs::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t /*context*/,
                          std::int32_t /*zero*/, void* user) {
    HMODULE module = nullptr;
    // The template comes from the module whose procedure will answer the dialog.
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(proc)), &module)) {
        lastError_ = "the dialog procedure is in no loaded module";
        return;
    }
    const HWND dialog =
        DialogForwarder::Create(module, static_cast<WORD>(resourceId), mainWindow_, proc, user);
    if (dialog == nullptr) {
        lastError_ = "CreateDialogParamW made no dialog";
        return;
    }
    lastDialog_ = dialog;
}

void Win32Dialogs::EndDialog(HWND dialog) {
    if (DialogForwarder::Owns(dialog)) DestroyWindow(dialog);
}

void Win32Dialogs::EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    if (const HWND control = GetDlgItem(dialog, item)) EnableWindow(control, enable != 0);
}

std::int32_t Win32Dialogs::GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    if (GetDlgItem(dialog, item) == nullptr) return 0;
    if (kind == kItemValueCheckState)
        return static_cast<std::int32_t>(IsDlgButtonChecked(dialog, item));
    if (kind == kItemValueNumber) {
        BOOL read = FALSE;
        const UINT value = GetDlgItemInt(dialog, item, &read, TRUE);
        return read ? static_cast<std::int32_t>(value) : 0;
    }
    return 0;
}

void Win32Dialogs::SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                 std::int32_t value) {
    if (GetDlgItem(dialog, item) == nullptr) return;
    if (kind == kItemValueCheckState) {
        CheckDlgButton(dialog, item, static_cast<UINT>(value));
    } else if (kind == kItemValueNumber) {
        SetDlgItemInt(dialog, item, static_cast<UINT>(value), TRUE);
    }
}

void Win32Dialogs::GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                                std::int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    buffer[0] = 0;
    if (GetDlgItem(dialog, item) != nullptr) GetDlgItemTextA(dialog, item, buffer, capacity);
}

void Win32Dialogs::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                     std::int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    buffer[0] = 0;
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    if (GetDlgItem(dialog, item) != nullptr) {
        GetDlgItemTextW(dialog, item, reinterpret_cast<wchar_t*>(buffer), capacity);
    }
}

void Win32Dialogs::SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    if (GetDlgItem(dialog, item) != nullptr) SetDlgItemTextA(dialog, item, text ? text : "");
}

void Win32Dialogs::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    if (GetDlgItem(dialog, item) != nullptr) {
        SetDlgItemTextW(dialog, item, text ? reinterpret_cast<const wchar_t*>(text) : L"");
    }
}

void Win32Dialogs::SetMainWindowEnabled(bool enabled) {
    EnableWindow(mainWindow_, enabled ? TRUE : FALSE);
    PumpMessages();
}

void Win32Dialogs::RunHostModal() {
    const std::vector<WORD> shape = HostModalTemplate();
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(shape.data()), mainWindow_,
                            &HostModalProc, 0);
    PumpMessages();
}

void Win32Dialogs::PumpMessages() {
    MSG message{};
    for (int count = 0;
         count < kMaxPumpedMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++count) {
        const HWND dialog = OpenDialog();
        if (dialog != nullptr && IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND Win32Dialogs::OpenDialog() const {
    return DialogForwarder::Owns(lastDialog_) ? lastDialog_ : nullptr;
}

}  // namespace simhost::win32
