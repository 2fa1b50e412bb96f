#include "simhost/win32/win32_scenario_host.h"

#include <algorithm>
#include <cstring>

#include "simhost/scenario/dialog_items.h"

namespace simhost::win32 {

using scenario::kTaskList;

namespace {

scenario::Rect ToRect(const RECT& rect) {
    return scenario::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t buffer[32] = {};
    GetClassNameW(window, buffer, 32);
    return _wcsicmp(buffer, name) == 0;
}

}  // namespace

Win32ScenarioHost::Win32ScenarioHost(std::wstring modulePath)
    : modulePath_(std::move(modulePath)), previousLayer_(ServiceLayer::Current()) {
    ServiceLayer::SetCurrent(&services_);
}

Win32ScenarioHost::~Win32ScenarioHost() {
    if (module_ && module_->Loaded()) module_->Entry().terminate(0);
    dialogs_.PumpMessages();
    module_.reset();
    if (ServiceLayer::Current() == &services_) ServiceLayer::SetCurrent(previousLayer_);
}

void Win32ScenarioHost::SetDocument(Document document) {
    backend_.ReplaceDocument(std::move(document));
}

bool Win32ScenarioHost::Load(std::uint32_t hostVersion) {
    module_ = std::make_unique<Win32Module>(modulePath_);
    if (!module_->Loaded()) {
        error_ = module_->Error();
        return false;
    }
    if (!beeps_.Attach(module_->Handle())) {
        error_ = "the module imports no USER32!MessageBeep to count";
        return false;
    }
    StartModule(module_->Entry(), hostVersion);
    return true;
}

bool Win32ScenarioHost::Invoke(std::uint32_t hostVersion) {
    if (!module_ && !Load(hostVersion)) return false;
    if (!module_->Loaded()) return false;
    module_->Entry().invoke(kInvokeContext, 0, 0, 0);
    dialogs_.PumpMessages();
    if (dialogs_.OpenDialog() == nullptr) {
        error_ = *dialogs_.LastError() ? dialogs_.LastError() : "the extension opened no dialog";
        return false;
    }
    return true;
}

bool Win32ScenarioHost::Terminate() {
    if (!module_ || !module_->Loaded()) {
        error_ = "the extension is not loaded";
        return false;
    }
    module_->Entry().terminate(0);
    dialogs_.PumpMessages();
    return true;
}

HWND Win32ScenarioHost::Reachable() {
    const HWND dialog = dialogs_.OpenDialog();
    // Windows gives no mouse input to a disabled window or its controls.
    if (dialog == nullptr || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) return nullptr;
    if (GetActiveWindow() != dialog) {
        SetActiveWindow(dialog);
        dialogs_.PumpMessages();
    }
    return dialogs_.OpenDialog();
}

HWND Win32ScenarioHost::ReachableControl(std::int32_t item) {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr || IsIconic(dialog)) return nullptr;
    const HWND control = GetDlgItem(dialog, item);
    if (control == nullptr || !IsWindowVisible(control) || !IsWindowEnabled(control)) {
        return nullptr;
    }
    if (Reachable() == nullptr) return nullptr;
    return GetDlgItem(dialogs_.OpenDialog(), item);
}

bool Win32ScenarioHost::ChooseRow(std::int32_t row) {
    const HWND list = ReachableControl(kTaskList);
    if (list == nullptr || !HasClass(list, L"ListBox") || row < 0 ||
        row >= static_cast<std::int32_t>(SendMessageW(list, LB_GETCOUNT, 0, 0))) {
        return false;
    }
    SetFocus(list);
    if (IsWindow(list) && SendMessageW(list, LB_GETCURSEL, 0, 0) != row) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        // LB_SETCURSEL itself tells nobody; a click would have.
        if (GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY) {
            SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(kTaskList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        }
    }
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::DoubleClickRow(std::int32_t row) {
    if (!ChooseRow(row)) return false;
    const HWND dialog = dialogs_.OpenDialog();
    const HWND list = dialog ? GetDlgItem(dialog, kTaskList) : nullptr;
    if (list != nullptr && (GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY)) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kTaskList, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
    }
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::ClearListSelection() {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr) return false;
    SendDlgItemMessageW(dialog, kTaskList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    dialogs_.PumpMessages();
    return SelectedRow() == -1;
}

bool Win32ScenarioHost::Click(std::int32_t item) {
    const HWND control = ReachableControl(item);
    if (control == nullptr) return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    // A click on a static or a group box does nothing; BM_CLICK is the button's own click,
    // with its focus, its check toggle and its BN_CLICKED.
    if (HasClass(control, L"Button") && type != BS_GROUPBOX) {
        SendMessageW(control, BM_CLICK, 0, 0);
    }
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::UseCloseBox() {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr) return false;
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || !(style & WS_SYSMENU) || Reachable() == nullptr) {
        return false;
    }
    // What the close box sends; DefWindowProc turns it into WM_CLOSE.
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::Track(WPARAM edge, RECT target, bool sizing) {
    const HWND dialog = dialogs_.OpenDialog();
    SendMessageW(dialog, WM_ENTERSIZEMOVE, 0, 0);
    if (!DialogOpen()) return true;
    if (sizing) {
        // The sizing loop keeps the tracking rectangle within the window's limits before it
        // offers it; SetWindowPos clamps again through WM_WINDOWPOSCHANGING.
        MINMAXINFO info{};
        info.ptMinTrackSize =
            POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        info.ptMaxTrackSize =
            POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
        SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        RECT now{};
        GetWindowRect(dialog, &now);
        const LONG width =
            std::clamp(target.right - target.left, info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
        const LONG height =
            std::clamp(target.bottom - target.top, info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
        target = RECT{now.left, now.top, now.left + width, now.top + height};
        SendMessageW(dialog, WM_SIZING, edge, reinterpret_cast<LPARAM>(&target));
    } else {
        SendMessageW(dialog, WM_MOVING, 0, reinterpret_cast<LPARAM>(&target));
    }
    if (!DialogOpen()) return true;
    SetWindowPos(dialog, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top,
                 SWP_NOACTIVATE | SWP_NOZORDER | (sizing ? 0u : static_cast<UINT>(SWP_NOSIZE)));
    if (DialogOpen()) SendMessageW(dialog, WM_EXITSIZEMOVE, 0, 0);
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::DragEdge(WPARAM edge, std::int32_t extent) {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr || !(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) ||
        IsIconic(dialog) || Reachable() == nullptr) {
        return false;
    }
    RECT window{};
    GetWindowRect(dialog, &window);
    if (edge == WMSZ_BOTTOM) {
        window.bottom = window.top + extent;
    } else {
        window.right = window.left + extent;
    }
    return Track(edge, window, true);
}

bool Win32ScenarioHost::DragBottomTo(std::int32_t height) { return DragEdge(WMSZ_BOTTOM, height); }

bool Win32ScenarioHost::DragRightTo(std::int32_t width) { return DragEdge(WMSZ_RIGHT, width); }

bool Win32ScenarioHost::MoveTo(std::int32_t left, std::int32_t top) {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr ||
        (GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) != static_cast<LONG>(WS_CAPTION) ||
        IsIconic(dialog) || Reachable() == nullptr) {
        return false;
    }
    RECT window{};
    GetWindowRect(dialog, &window);
    return Track(
        0, RECT{left, top, left + window.right - window.left, top + window.bottom - window.top},
        false);
}

bool Win32ScenarioHost::Minimise() {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog) ||
        IsIconic(dialog)) {
        return false;
    }
    // The window menu's Minimize (the dialog has no minimise box); DefWindowProc shows it
    // minimised.
    SendMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::Restore() {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr || !IsWindowEnabled(dialog) || !IsIconic(dialog)) return false;
    SendMessageW(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    dialogs_.PumpMessages();
    return true;
}

bool Win32ScenarioHost::DialogEnabled() {
    const HWND dialog = dialogs_.OpenDialog();
    return dialog != nullptr && IsWindowEnabled(dialog);
}

std::vector<std::string> Win32ScenarioHost::Rows() {
    std::vector<std::string> rows;
    const HWND dialog = dialogs_.OpenDialog();
    const HWND list = dialog ? GetDlgItem(dialog, kTaskList) : nullptr;
    if (list == nullptr) return rows;
    const auto count = static_cast<std::int32_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (std::int32_t row = 0; row < count; ++row) {
        const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
        std::u16string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::char_traits<char16_t>::length(text.c_str()));
        rows.push_back(scenario::NarrowText(text));
    }
    return rows;
}

std::int32_t Win32ScenarioHost::SelectedRow() {
    const HWND dialog = dialogs_.OpenDialog();
    if (dialog == nullptr) return -1;
    return static_cast<std::int32_t>(SendDlgItemMessageW(dialog, kTaskList, LB_GETCURSEL, 0, 0));
}

std::string Win32ScenarioHost::ItemText(std::int32_t item) {
    const HWND dialog = dialogs_.OpenDialog();
    const HWND control = dialog ? GetDlgItem(dialog, item) : nullptr;
    if (control == nullptr) return {};
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return scenario::NarrowText(text);
}

std::int32_t Win32ScenarioHost::CheckState(std::int32_t item) {
    const HWND dialog = dialogs_.OpenDialog();
    return dialog ? static_cast<std::int32_t>(IsDlgButtonChecked(dialog, item)) : 0;
}

scenario::Rect Win32ScenarioHost::WindowRect() {
    RECT rect{};
    if (const HWND dialog = dialogs_.OpenDialog()) GetWindowRect(dialog, &rect);
    return ToRect(rect);
}

scenario::Rect Win32ScenarioHost::ItemRect(std::int32_t item) {
    const HWND dialog = dialogs_.OpenDialog();
    const HWND control = dialog ? GetDlgItem(dialog, item) : nullptr;
    if (control == nullptr) return {};
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return ToRect(rect);
}

}  // namespace simhost::win32
