#include "simhost/headless/control_messages.h"

#include <algorithm>
#include <cstring>

#include "simhost/headless/ansi_code_page.h"

namespace simhost::headless {
namespace {

// The text a message carries at lParam, in the sender's character form.
std::u16string TextArgument(LPARAM lParam, bool wide) {
    if (lParam == 0) return {};
    if (wide) return std::u16string(reinterpret_cast<const char16_t*>(lParam));
    return AnsiToWide(reinterpret_cast<const char*>(lParam));
}

// Copies text into the sender's buffer with its terminator; answers the characters copied.
LRESULT CopyOut(const std::u16string& text, LPARAM lParam, bool wide) {
    if (lParam == 0) return LB_ERR;
    if (wide) {
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::memcpy(out, text.c_str(), (text.size() + 1) * sizeof(char16_t));
        return static_cast<LRESULT>(text.size());
    }
    const std::string narrow = WideToAnsi(text);
    std::memcpy(reinterpret_cast<char*>(lParam), narrow.c_str(), narrow.size() + 1);
    return static_cast<LRESULT>(narrow.size());
}

// WM_GETTEXT: at most capacity - 1 characters and the terminator.
LRESULT GetText(const std::u16string& text, WPARAM capacity, LPARAM lParam, bool wide) {
    if (capacity == 0 || lParam == 0) return 0;
    if (wide) {
        const std::size_t n = std::min<std::size_t>(text.size(), capacity - 1);
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::memcpy(out, text.data(), n * sizeof(char16_t));
        out[n] = 0;
        return static_cast<LRESULT>(n);
    }
    const std::string narrow = WideToAnsi(text);
    const std::size_t n = std::min<std::size_t>(narrow.size(), capacity - 1);
    auto* out = reinterpret_cast<char*>(lParam);
    std::memcpy(out, narrow.data(), n);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

bool IsRow(const Window& list, WPARAM index) { return index < list.rows.size(); }

LRESULT ListBoxMessage(Window& list, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    switch (message) {
        case LB_ADDSTRING:
            // The list is not sorted: the row goes last and the selection stays.
            list.rows.push_back(TextArgument(lParam, wide));
            return static_cast<LRESULT>(list.rows.size() - 1);
        case LB_RESETCONTENT:
            list.rows.clear();
            list.selectedRow = -1;
            return TRUE;
        case LB_SETCURSEL: {
            // -1 clears the selection and, as documented, still answers LB_ERR; an index past
            // the rows is refused and leaves the selection as it was.
            const auto index = static_cast<std::int32_t>(wParam);
            if (index == -1) {
                list.selectedRow = -1;
                return LB_ERR;
            }
            if (index < -1 || !IsRow(list, static_cast<WPARAM>(index))) return LB_ERR;
            list.selectedRow = index;
            return index;
        }
        case LB_GETCURSEL:
            return list.selectedRow < 0 ? LB_ERR : list.selectedRow;
        case LB_GETCOUNT:
            return static_cast<LRESULT>(list.rows.size());
        case LB_GETTEXT:
            if (!IsRow(list, wParam)) return LB_ERR;
            return CopyOut(list.rows[wParam], lParam, wide);
        case LB_GETTEXTLEN:
            if (!IsRow(list, wParam)) return LB_ERR;
            return static_cast<LRESULT>(wide ? list.rows[wParam].size()
                                             : WideToAnsi(list.rows[wParam]).size());
        default:
            return 0;
    }
}

bool HasCheckState(const Window& button) {
    const DWORD type = button.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE || type == 4 /* BS_RADIOBUTTON */ ||
           type == 9 /* BS_AUTORADIOBUTTON */;
}

LRESULT ButtonMessage(Window& button, UINT message, WPARAM wParam) {
    switch (message) {
        case BM_GETCHECK:
            return HasCheckState(button) ? button.checkState : 0;
        case BM_SETCHECK: {
            if (!HasCheckState(button)) return 0;
            // A two-state box takes anything above checked as checked.
            const DWORD type = button.style & BS_TYPEMASK;
            const WPARAM highest = (type == BS_3STATE || type == BS_AUTO3STATE) ? 2 : 1;
            button.checkState = static_cast<std::int32_t>(wParam > highest ? highest : wParam);
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace

LRESULT ControlMessage(Window& control, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
    switch (message) {
        case WM_SETTEXT:
            control.text = TextArgument(lParam, wide);
            return TRUE;
        case WM_GETTEXT:
            return GetText(control.text, wParam, lParam, wide);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(wide ? control.text.size()
                                             : WideToAnsi(control.text).size());
        default:
            break;
    }
    switch (control.kind) {
        case WindowKind::ListBox:
            return ListBoxMessage(control, message, wParam, lParam, wide);
        case WindowKind::Button:
            return ButtonMessage(control, message, wParam);
        default:
            return 0;
    }
}

}  // namespace simhost::headless
