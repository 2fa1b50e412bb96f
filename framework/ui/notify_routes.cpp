// NCResourceWindow::HandleNotify: the common-control notifications a window routes to its
// operations. No dialog of this module holds tab, tree, list-view or up-down controls, so the
// routes stay idle here; they serve windows that do.
#include <string>

#include "framework/core/nc_string.h"
#include "framework/ui/resource_window.h"

namespace {

// Answers to list-view text requests point into this one buffer, shared by all windows; it
// stays valid until the next request.
struct ListViewText {
    std::u16string wide;
    std::string narrow;
};

ListViewText& SharedText() {
    static ListViewText text;
    return text;
}

// The string at `index` of the collection a list-view item carries, or null.
NCString* ItemString(LPARAM itemData, int index) {
    // The item data carries a pointer.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    auto* strings = reinterpret_cast<__NCCollection*>(itemData);
    if (strings == nullptr) return nullptr;
    return dynamic_cast<NCString*>(strings->ItemAt(index));
}

// An up-down control's UDS_SETBUDDYINT style; without it the delta counts the other way.
constexpr LONG kUpDownStyleBit = 0x0002;

}  // namespace

bool NCResourceWindow::HandleNotify(std::uint32_t controlId, NMHDR* header) {
    if (header == nullptr) return false;
    NCControl* control = FindControl(static_cast<std::int32_t>(controlId & 0xFFFFu));
    if (control == nullptr) return false;
    NCResourceWindow* owner = control->Owner() != nullptr ? control->Owner() : this;
    switch (header->code) {
        case TCN_SELCHANGE:
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            owner->HandleCommand(control);
            break;
        case UDN_DELTAPOS: {
            const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
            std::int32_t step = change->iDelta;
            if (!(GetWindowLongW(header->hwndFrom, GWL_STYLE) & kUpDownStyleBit)) step = -step;
            owner->HandleSpinStep(control, step);
            break;
        }
        case LVN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
            const NCString* text = ItemString(info->item.lParam, info->item.iSubItem);
            std::u16string& buffer = SharedText().wide;
            buffer = text != nullptr && text->Units() != nullptr ? text->Units() : u"???";
            info->item.pszText = reinterpret_cast<decltype(info->item.pszText)>(buffer.data());
            break;
        }
        case LVN_GETDISPINFOA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            NCString* text = ItemString(info->item.lParam, info->item.iSubItem);
            std::string& buffer = SharedText().narrow;
            buffer = text != nullptr ? text->Text8() : "???";
            info->item.pszText = buffer.data();
            break;
        }
        default:
            break;
    }
    return false;
}
